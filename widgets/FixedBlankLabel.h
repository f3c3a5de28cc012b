#pragma once

#include <QLabel>

// A one-line label whose blanks have a fixed width in pixels, whatever the font's own blank is, so
// that controls placed in the gaps between its words stay clear of the words.
class FixedBlankLabel : public QLabel
{
    Q_OBJECT

public:
    FixedBlankLabel(const QString& text, qreal blankWidth, QWidget* parent = nullptr);

    // Controls of the same parent, by their geometry: a word that a wider font than the window was laid
    // out for would put under one of them starts after it instead.
    void keepClearOf(const QList<QRect>& controls);

    // where each word starts, from the label's left edge
    QList<qreal> wordStarts() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Word
    {
        QString text;
        qreal x = 0;
    };
    QList<Word> words() const;

    qreal m_blankWidth;
    QList<QRect> m_clearOf;
};
