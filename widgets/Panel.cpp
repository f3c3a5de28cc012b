#include "widgets/Panel.h"

#include "widgets/WindowLook.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

Panel::Panel(QWidget* parent)
    : QFrame(parent)
{
    setFont(windowFont());
}

void Panel::setCaption(const QString& caption)
{
    if (caption != m_caption) {
        m_caption = caption;
        update();
    }
}

QColor Panel::captionColor() const
{
    return m_captionColor.isValid() ? m_captionColor : windowText();
}

void Panel::setCaptionColor(const QColor& color)
{
    m_captionColor = color;
    update();
}

QColor Panel::background() const
{
    return m_background.isValid() ? m_background : buttonFace();
}

void Panel::setBackground(const QColor& color)
{
    m_background = color;
    update();
}

void Panel::setCaptionAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void Panel::setBevels(Bevel outer, Bevel inner)
{
    m_outer = outer;
    m_inner = inner;
    update();
}

int Panel::bevelWidth() const
{
    return (m_outer != Bevel::None ? 1 : 0) + (m_inner != Bevel::None ? 1 : 0);
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());
    QRect inner = rect();
    for (const Bevel bevel : {m_outer, m_inner}) {
        if (bevel == Bevel::None) {
            continue;
        }
        qDrawShadePanel(&painter, inner, palette(), bevel == Bevel::Lowered, 1);
        inner.adjust(1, 1, -1, -1);
    }
    if (!m_caption.isEmpty()) {
        painter.setPen(captionColor());
        painter.setFont(font());
        painter.drawText(inner, int(m_alignment), m_caption);
    }
}

void Panel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Panel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        Q_EMIT clicked();
    }
}
