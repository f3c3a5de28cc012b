#include "widgets/LeftAlignedLayout.h"

#include <QWidget>

LeftAlignedLayout::LeftAlignedLayout(QWidget* parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

LeftAlignedLayout::~LeftAlignedLayout()
{
    qDeleteAll(m_items);
}

void LeftAlignedLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

QLayoutItem* LeftAlignedLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem* LeftAlignedLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int LeftAlignedLayout::count() const
{
    return int(m_items.size());
}

bool LeftAlignedLayout::hasFixedWidth(const QLayoutItem* item)
{
    const QWidget* widget = item->widget();
    return widget && widget->minimumWidth() == widget->maximumWidth();
}

QSize LeftAlignedLayout::sizeHint() const
{
    QSize hint;
    for (const QLayoutItem* item : m_items) {
        const QSize size = item->sizeHint();
        hint.rwidth() += size.width();
        hint.setHeight(std::max(hint.height(), size.height()));
    }
    const QMargins margins = contentsMargins();
    return hint + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize LeftAlignedLayout::minimumSize() const
{
    return {0, 0};
}

void LeftAlignedLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = contentsRect();
    int fixed = 0;
    int sharing = 0;
    for (const QLayoutItem* item : m_items) {
        if (hasFixedWidth(item)) {
            fixed += item->widget()->maximumWidth();
        } else {
            ++sharing;
        }
    }
    const int share = sharing > 0 ? std::max(0, area.width() - fixed) / sharing : 0;
    int x = area.left();
    for (QLayoutItem* item : m_items) {
        const int width = hasFixedWidth(item) ? item->widget()->maximumWidth() : share;
        // set on the widget itself: the item would hold the widget at the minimum size it hints
        if (QWidget* widget = item->widget()) {
            widget->setGeometry(x, area.top(), width, area.height());
        } else {
            item->setGeometry(QRect(x, area.top(), width, area.height()));
        }
        x += width;
    }
}
