#pragma once

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>

class RowIndicator;
class TableViewModel;
class TypedSearch;

// What one data cell is drawn with; a cell-parameters handler may change any of it.
struct CellParams
{
    QFont font;
    QColor text;
    QColor background;
};

// A grid bound to a table view through a TableViewModel. The grid's current row and the view's current
// row are kept the same in both directions. Tab always leaves the grid; cells are edited in place only
// in editing mode, and a change is posted when the cursor leaves the row (a row key at the grid's edge
// counts too) or the focus leaves the grid for another control of the window; Esc undoes it.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    using CellParamsHandler =
        std::function<void(DataGrid& grid, const QString& field, int row, CellParams& params, bool highlight)>;
    // asks whether to delete the current row; details say what the deletion takes
    using Confirmer = std::function<bool(DataGrid& grid, const QString& details)>;
    // the row is fixed by its id when Ctrl+Delete is pressed, before the question
    using RowDeleter = std::function<void(qint64 id)>;
    using DeletionDescriber = std::function<QString(qint64 id)>;

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
    // Deletes the row Ctrl+Delete was pressed on once the operator confirms; without one the grid's view
    // deletes it alone, if it is still current. The describer says what goes, under the question.
    void setRowDeleter(RowDeleter deleter, DeletionDescriber describer = {})
    {
        m_rowDeleter = std::move(deleter);
        m_describeDeletion = std::move(describer);
    }
    // Stores the change typed on the current row, taking an open editor's text first. False, with the
    // reason reported, when it cannot be stored: it then stays pending, on screen, to be mended or undone.
    bool storePendingEdit();

    // Out of in-place editing, what the operator types moves the cursor to the row whose field begins with it
    // or holds it (TableView::locateTyped); Qt's own keyboard search is off in every grid.
    void setSearchField(const QString& field);
    // null until a search field is set
    TypedSearch* typedSearch() const { return m_search; }

    bool hasFocusWithin() const;
    // a cell is highlighted while it is selected and the grid has the focus
    bool asksAboutItsRow() const;
    bool isHighlighted(const QModelIndex& index) const;
    CellParams cellParams(const QModelIndex& index, bool highlight);

    static bool confirmDeleteWithDialog(DataGrid& grid, const QString& details);

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
    void keyboardSearch(const QString& search) override;

private:
    void applyOptions();
    void applyColumnWidths();
    void syncCurrentFromView();
    void moveViewTo(const QModelIndex& target);
    void deleteCurrentRow();
    bool findTyped(const QString& typed);
    // the view's pending change posted, as storePendingEdit() without the open editor
    bool postPendingEdit();
    void onFocusChanged(QWidget* old, QWidget* now);
    bool contains(const QWidget* widget) const;

    TableViewModel* m_model = nullptr;
    RowIndicator* m_indicator = nullptr;
    TypedSearch* m_search = nullptr;
    QString m_searchField;
    bool m_readOnly = true;
    bool m_inPlaceEditing = false;
    bool m_syncing = false;
    bool m_focusLeftWindow = false;
    QColor m_cellTextColor;
    CellParamsHandler m_cellParamsHandler;
    Confirmer m_confirmDelete;
    RowDeleter m_rowDeleter;
    DeletionDescriber m_describeDeletion;
    // whether the key being handled tried to move the view to another row
    bool m_leaveTried = false;
};
