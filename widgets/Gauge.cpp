#include "widgets/Gauge.h"

#include "widgets/WindowLook.h"

#include <QPainter>

#include <algorithm>

namespace
{
const QColor kFill = QColor(0x00, 0x00, 0x80);
const QColor kEmpty = Qt::white;
} // namespace

Gauge::Gauge(QWidget* parent)
    : QWidget(parent)
{
    // without antialiasing every pixel of the text is the exact inverse of the pixel beneath it
    QFont font = gaugeFont();
    font.setStyleStrategy(QFont::NoAntialias);
    setFont(font);
}

void Gauge::setMinValue(int value)
{
    m_min = value;
    m_max = std::max(m_max, m_min);
    clampProgress();
}

void Gauge::setMaxValue(int value)
{
    m_max = std::max(value, m_min);
    clampProgress();
}

void Gauge::setProgress(int value)
{
    m_progress = value;
    clampProgress();
}

void Gauge::clampProgress()
{
    m_progress = std::clamp(m_progress, m_min, m_max);
    update();
}

int Gauge::percentDone() const
{
    if (m_max == m_min) {
        return 0;
    }
    return int(qint64(m_progress - m_min) * 100 / (qint64(m_max) - m_min));
}

QString Gauge::percentText() const
{
    return QString::number(percentDone()) + u'%';
}

QSize Gauge::sizeHint() const
{
    return {100, 18};
}

void Gauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(inner, kEmpty);
    const int span = m_max - m_min;
    if (span > 0) {
        const int filled = int(qint64(inner.width()) * (m_progress - m_min) / span);
        painter.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()), kFill);
    }
    // white under Difference inverts whatever lies beneath each glyph
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(inner, Qt::AlignCenter, percentText());
}
