#include "widgets/CellDelegate.h"

#include "widgets/DataGrid.h"

#include <QPainter>

namespace
{
constexpr int kTextIndent = 2;
}

CellDelegate::CellDelegate(DataGrid& grid)
    : QStyledItemDelegate(&grid)
    , m_grid(grid)
{
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const CellParams params = m_grid.cellParams(index, m_grid.isHighlighted(index));
    painter->save();
    painter->fillRect(option.rect, params.background);
    painter->setFont(params.font);
    painter->setPen(params.text);
    const QRect textRect = option.rect.adjusted(kTextIndent, 0, -1, 0);
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    painter->drawText(textRect, int(alignment), index.data(Qt::DisplayRole).toString());
    painter->restore();
}
