#pragma once

#include <QStyledItemDelegate>

class DataGrid;

// Draws a grid's data cells with the font and colours its cell-parameters handler chooses, instead of
// the style's selection colours.
class CellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CellDelegate(DataGrid& grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    DataGrid& m_grid;
};
