#include "widgets/FixedBlankLabel.h"

#include <QPainter>

#include <cmath>

FixedBlankLabel::FixedBlankLabel(const QString& text, qreal blankWidth, QWidget* parent)
    : QLabel(text, parent)
    , m_blankWidth(blankWidth)
{
}

QList<FixedBlankLabel::Word> FixedBlankLabel::words() const
{
    const QFontMetricsF metrics(font());
    QList<Word> result;
    qreal x = 0;
    const QString content = text();
    qsizetype i = 0;
    while (i < content.size()) {
        if (content.at(i) == u' ') {
            x += m_blankWidth;
            ++i;
            continue;
        }
        const qsizetype end = content.indexOf(u' ', i);
        const QString word = content.mid(i, end < 0 ? -1 : end - i);
        const qreal width = metrics.horizontalAdvance(word);
        for (const QRect& control : m_clearOf) {
            const qreal left = control.left() - pos().x();
            const qreal right = control.right() + 1 - pos().x();
            if (x < right && x + width > left) {
                x = right + m_blankWidth;
            }
        }
        result.append({word, x});
        x += width;
        i += word.size();
    }
    return result;
}

void FixedBlankLabel::keepClearOf(const QList<QRect>& controls)
{
    m_clearOf = controls;
    adjustSize();
    update();
}

QList<qreal> FixedBlankLabel::wordStarts() const
{
    QList<qreal> starts;
    for (const Word& word : words()) {
        starts.append(word.x);
    }
    return starts;
}

QSize FixedBlankLabel::sizeHint() const
{
    const QList<Word> all = words();
    const qreal width = all.isEmpty() ? 0 : all.last().x + QFontMetricsF(font()).horizontalAdvance(all.last().text);
    return {int(std::ceil(width)), fontMetrics().height()};
}

void FixedBlankLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const qreal baseline = fontMetrics().ascent();
    for (const Word& word : words()) {
        painter.drawText(QPointF(word.x, baseline), word.text);
    }
}
