#pragma once

#include <QColor>
#include <QFrame>

// A panel with up to two bevels, a caption and an integer mark; it reports clicks.
class Panel : public QFrame
{
    Q_OBJECT

public:
    enum class Bevel
    {
        None,
        Raised,
        Lowered,
    };

    explicit Panel(QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QColor captionColor() const;
    void setCaptionColor(const QColor& color);
    // an invalid colour means the button face
    QColor background() const;
    void setBackground(const QColor& color);
    void setCaptionAlignment(Qt::Alignment alignment);
    void setBevels(Bevel outer, Bevel inner = Bevel::None);
    // what aligned children keep free along each edge
    int bevelWidth() const;

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QColor m_captionColor;
    QColor m_background;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    Bevel m_outer = Bevel::None;
    Bevel m_inner = Bevel::None;
    int m_tag = 0;
    bool m_pressed = false;
};
