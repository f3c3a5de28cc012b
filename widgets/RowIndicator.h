#pragma once

#include <QHeaderView>

// The narrow column left of a grid's rows that marks the current row with a small arrow. It draws
// the mark itself instead of asking the model, so a moving cursor costs one repaint, not a header
// update of the whole column.
class RowIndicator : public QHeaderView
{
    Q_OBJECT

public:
    explicit RowIndicator(QWidget* parent = nullptr);

    int markedRow() const { return m_row; }
    void setMarkedRow(int row);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int m_row = -1;
};
