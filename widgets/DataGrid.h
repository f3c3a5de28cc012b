#pragma once

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>

class RowIndicator;
class TableViewModel;

// What one data cell is drawn with; a cell-parameters handler may change any of it.
struct CellParams
{
    QFont font;
    QColor text;
    QColor background;
};

// A grid bound to a table view through a TableViewModel. The grid's current row and the view's current
// row are kept the same in both directions. Tab always leaves the grid; cells are edited in place only
// in editing mode, and a change is posted when the cursor leaves the row or the focus leaves the grid
// for another control of the window.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    using CellParamsHandler =
        std::function<void(DataGrid& grid, const QString& field, int row, CellParams& params, bool highlight)>;
    using Confirmer = std::function<bool(DataGrid& grid)>;

    static constexpr int kRowHeight = 17;
    static constexpr int kIndicatorWidth = 11;

    explicit DataGrid(QWidget* parent = nullptr);

    void setTableModel(TableViewModel* model);
    TableViewModel* tableModel() const { return m_model; }

    // read-only: nothing can be changed through the grid, rows are not deleted
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // in-place editing: single-cell cursor, the editor opens when the operator starts typing
    void setInPlaceEditing(bool editing);
    bool isInPlaceEditing() const { return m_inPlaceEditing; }

    void setCellTextColor(const QColor& color) { m_cellTextColor = color; }
    void setCellParamsHandler(CellParamsHandler handler) { m_cellParamsHandler = std::move(handler); }
    void setDeleteConfirmer(Confirmer confirmer) { m_confirmDelete = std::move(confirmer); }
    // deletes the current row once Ctrl+Delete is confirmed; without one the grid's view deletes it alone
    void setRowDeleter(std::function<void()> deleter) { m_rowDeleter = std::move(deleter); }

    bool hasFocusWithin() const;
    // a cell is highlighted while it is selected and the grid has the focus
    bool isHighlighted(const QModelIndex& index) const;
    CellParams cellParams(const QModelIndex& index, bool highlight);

    static bool confirmDeleteWithDialog(DataGrid& grid);

Q_SIGNALS:
    // the focus came into the grid from another control or at the window's first activation
    void entered();
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyOptions();
    void applyColumnWidths();
    void syncCurrentFromView();
    void moveViewTo(const QModelIndex& target);
    void deleteCurrentRow();
    void postPendingEdit();
    void onFocusChanged(QWidget* old, QWidget* now);
    bool contains(const QWidget* widget) const;

    TableViewModel* m_model = nullptr;
    RowIndicator* m_indicator = nullptr;
    bool m_readOnly = true;
    bool m_inPlaceEditing = false;
    bool m_syncing = false;
    bool m_focusLeftWindow = false;
    QColor m_cellTextColor;
    CellParamsHandler m_cellParamsHandler;
    Confirmer m_confirmDelete;
    std::function<void()> m_rowDeleter;
};
