#include "widgets/DataGrid.h"

#include "store/TableView.h"
#include "widgets/CellDelegate.h"
#include "widgets/RowIndicator.h"
#include "widgets/TableViewModel.h"
#include "widgets/WindowLook.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace
{
constexpr int kColumnPadding = 8;
constexpr int kMinimumColumnWidth = 4;
} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
{
    setFont(windowFont());
    setItemDelegate(new CellDelegate(*this));
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, toolTipBackground());
    setPalette(colours);

    m_indicator = new RowIndicator(this);
    setVerticalHeader(m_indicator);
    m_indicator->setSectionResizeMode(QHeaderView::Fixed);
    m_indicator->setDefaultSectionSize(kRowHeight);
    m_indicator->setMinimumSectionSize(kRowHeight);
    m_indicator->setFixedWidth(kIndicatorWidth);
    m_indicator->setSectionsClickable(false);
    horizontalHeader()->setFont(windowFont());
    // some design widths are narrower than the style's own minimum
    horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);

    connect(qApp, &QApplication::focusChanged, this, &DataGrid::onFocusChanged);
    applyOptions();
}

void DataGrid::setTableModel(TableViewModel* model)
{
    m_model = model;
    setModel(model);
    connect(model, &QAbstractItemModel::modelReset, this, &DataGrid::syncCurrentFromView);
    connect(model, &QAbstractItemModel::rowsInserted, this, &DataGrid::syncCurrentFromView);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &DataGrid::syncCurrentFromView);
    connect(model, &TableViewModel::viewCurrentRowChanged, this, &DataGrid::syncCurrentFromView);
    applyColumnWidths();
    applyOptions();
}

void DataGrid::applyColumnWidths()
{
    const QFontMetrics metrics(font());
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const GridColumn& design = m_model->columns().at(column);
        const int natural = std::max(metrics.horizontalAdvance(m_model->title(column)),
                                     metrics.horizontalAdvance(design.sample))
            + kColumnPadding;
        setColumnWidth(column, design.width > 0 ? design.width : natural);
    }
}

void DataGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    applyOptions();
}

void DataGrid::setInPlaceEditing(bool editing)
{
    m_inPlaceEditing = editing;
    applyOptions();
}

void DataGrid::applyOptions()
{
    const bool editable = !m_readOnly && m_inPlaceEditing;
    if (m_model) {
        m_model->setEditable(editable);
    }
    setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                            | QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(m_inPlaceEditing ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    if (selectionModel()) {
        QScopedValueRollback guard(m_syncing, true);
        selectionModel()->clearSelection();
    }
    syncCurrentFromView();
    viewport()->update();
}

void DataGrid::syncCurrentFromView()
{
    if (!m_model || m_syncing) {
        return;
    }
    QScopedValueRollback guard(m_syncing, true);
    const TableView& view = m_model->view();
    const int row = view.isOpen() ? view.currentRow() : -1;
    m_indicator->setMarkedRow(row);
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        return;
    }
    int column = currentIndex().isValid() ? currentIndex().column() : 0;
    while (column < m_model->columnCount() - 1 && isColumnHidden(column)) {
        ++column;
    }
    const QModelIndex target = m_model->index(row, column);
    const auto flags = QItemSelectionModel::ClearAndSelect
        | (m_inPlaceEditing ? QItemSelectionModel::NoUpdate : QItemSelectionModel::Rows);
    if (target != currentIndex() || !selectionModel()->isSelected(target)) {
        selectionModel()->setCurrentIndex(target, flags);
    }
    scrollTo(target);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_model || !current.isValid() || current.row() == m_model->view().currentRow()) {
        return;
    }
    moveViewTo(current);
}

void DataGrid::moveViewTo(const QModelIndex& target)
{
    // posting the row being left may move rows; the persistent index follows the one asked for
    const QPersistentModelIndex wanted(target);
    {
        QScopedValueRollback guard(m_syncing, true);
        TableView& view = m_model->view();
        try {
            view.checkBrowseMode();
            if (wanted.isValid()) {
                view.moveTo(wanted.row());
            }
        } catch (...) {
            m_model->reportError();
        }
    }
    syncCurrentFromView();
}

void DataGrid::postPendingEdit()
{
    // posted while the controls the operator leaves the grid for (the edit-mode box among them) are
    // still as they were when the change was made
    if (!m_model || !m_model->view().isEditing()) {
        return;
    }
    try {
        m_model->view().checkBrowseMode();
    } catch (...) {
        m_model->reportError();
    }
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        deleteCurrentRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::deleteCurrentRow()
{
    if (m_readOnly || !m_model || !m_model->view().isOpen() || m_model->view().currentRow() < 0) {
        return;
    }
    const bool confirmed = m_confirmDelete ? m_confirmDelete(*this) : confirmDeleteWithDialog(*this);
    if (!confirmed) {
        return;
    }
    try {
        if (m_rowDeleter) {
            m_rowDeleter();
        } else {
            m_model->view().remove();
        }
    } catch (...) {
        m_model->reportError();
    }
}

bool DataGrid::confirmDeleteWithDialog(DataGrid& grid)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                    QMessageBox::Yes | QMessageBox::No, &grid);
    return box.exec() == QMessageBox::Yes;
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab in the editor leaves the grid, as Tab on the grid itself does
    const bool leave = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, leave ? QAbstractItemDelegate::NoHint : hint);
    if (leave) {
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
    }
}

void DataGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void DataGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

bool DataGrid::contains(const QWidget* widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}

bool DataGrid::hasFocusWithin() const
{
    return contains(QApplication::focusWidget());
}

void DataGrid::onFocusChanged(QWidget* old, QWidget* now)
{
    const bool wasInside = contains(old);
    const bool isInside = contains(now);
    if (wasInside && !isInside) {
        m_focusLeftWindow = !now || now->window() != window();
        if (!m_focusLeftWindow) {
            postPendingEdit();
        }
        return;
    }
    if (!wasInside && isInside) {
        // coming back from another window (a message box, another program) is not an entry
        const bool returning = m_focusLeftWindow && (!old || old->window() != window());
        m_focusLeftWindow = false;
        if (!returning) {
            Q_EMIT entered();
        }
    }
}

bool DataGrid::isHighlighted(const QModelIndex& index) const
{
    return selectionModel() && selectionModel()->isSelected(index) && hasFocusWithin();
}

CellParams DataGrid::cellParams(const QModelIndex& index, bool highlight)
{
    CellParams params;
    params.font = font();
    if (highlight) {
        params.text = palette().color(QPalette::HighlightedText);
        params.background = palette().color(QPalette::Highlight);
    } else {
        params.text = m_cellTextColor.isValid() ? m_cellTextColor : windowText();
        params.background = palette().color(QPalette::Base);
    }
    if (m_cellParamsHandler && m_model) {
        m_cellParamsHandler(*this, m_model->fieldAt(index.column()), index.row(), params, highlight);
    }
    return params;
}
