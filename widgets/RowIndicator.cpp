#include "widgets/RowIndicator.h"

#include <QPainter>
#include <QPolygon>

namespace
{
constexpr int kArrowHalfHeight = 4;
constexpr int kArrowWidth = 4;
} // namespace

RowIndicator::RowIndicator(QWidget* parent)
    : QHeaderView(Qt::Vertical, parent)
{
}

void RowIndicator::setMarkedRow(int row)
{
    if (row == m_row) {
        return;
    }
    const int previous = m_row;
    m_row = row;
    for (const int changed : {previous, row}) {
        if (changed >= 0 && changed < count()) {
            viewport()->update(0, sectionViewportPosition(changed), viewport()->width(), sectionSize(changed));
        }
    }
}

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // the style may leave a clip of its own behind
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != m_row) {
        return;
    }
    const QPoint centre = rect.center();
    const QPolygon arrow({QPoint(centre.x() - kArrowWidth / 2, centre.y() - kArrowHalfHeight),
                          QPoint(centre.x() + kArrowWidth / 2, centre.y()),
                          QPoint(centre.x() - kArrowWidth / 2, centre.y() + kArrowHalfHeight)});
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::WindowText));
    painter->drawPolygon(arrow);
    painter->restore();
}
