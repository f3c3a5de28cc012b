#pragma once

#include <QList>
#include <QStatusBar>

// A status bar split into text panels of fixed widths, each with its own alignment; a message shown with
// showMessage stands in the space after them.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    struct StatusPanel
    {
        int width = 0;
        Qt::Alignment alignment = Qt::AlignLeft;
        QString text;
    };

    explicit PanelStatusBar(QWidget* parent = nullptr);

    void setPanels(const QList<StatusPanel>& panels);
    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QRect panelRect(int index) const;

Q_SIGNALS:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<StatusPanel> m_panels;
};
