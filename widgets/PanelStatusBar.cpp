#include "widgets/PanelStatusBar.h"

#include "widgets/WindowLook.h"

#include <QPainter>
#include <qdrawutil.h>

namespace
{
constexpr int kPanelGap = 2;
constexpr int kTextMargin = 2;
} // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setFont(windowFont());
}

void PanelStatusBar::setPanels(const QList<StatusPanel>& panels)
{
    m_panels = panels;
    update();
}

QString PanelStatusBar::panelText(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels.at(index).text : QString();
}

void PanelStatusBar::setPanelText(int index, const QString& text)
{
    if (index < 0 || index >= m_panels.size() || m_panels.at(index).text == text) {
        return;
    }
    m_panels[index].text = text;
    update(panelRect(index));
}

QRect PanelStatusBar::panelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i) {
        left += m_panels.at(i).width + kPanelGap;
    }
    return {left, kPanelGap, m_panels.at(index).width, height() - kPanelGap};
}

void PanelStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), buttonFace());
    painter.setFont(font());
    painter.setPen(windowText());
    for (int i = 0; i < m_panels.size(); ++i) {
        const QRect box = panelRect(i);
        qDrawShadePanel(&painter, box, palette(), true, 1);
        const QRect textBox = box.adjusted(kTextMargin, 1, -kTextMargin, -1);
        painter.drawText(textBox, int(m_panels.at(i).alignment | Qt::AlignVCenter), m_panels.at(i).text);
    }
    // a passing notice (showMessage) takes the free space after the panels, where the gauge stands
    const QString notice = currentMessage();
    if (!notice.isEmpty()) {
        const int left = m_panels.isEmpty() ? 0 : panelRect(int(m_panels.size()) - 1).right() + kPanelGap + kTextMargin;
        painter.drawText(QRect(left, kPanelGap, width() - left - kTextMargin, height() - kPanelGap),
                         int(Qt::AlignLeft | Qt::AlignVCenter), notice);
    }
}

void PanelStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    Q_EMIT resized();
}
