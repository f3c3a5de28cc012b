#include "widgets/DataGrid.h"

#include "store/TableView.h"
#include "widgets/CellDelegate.h"
#include "widgets/RowIndicator.h"
#include "widgets/TableViewModel.h"
#include "widgets/TypedSearch.h"
#include "widgets/WindowLook.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace
{
constexpr int kColumnPadding = 8;
constexpr int kMinimumColumnWidth = 4;
constexpr int kDetailsWidth = 480;
constexpr double kDetailsScale = 1.25;
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
    if (m_search && m_inPlaceEditing) {
        m_search->end();
    }
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
    m_leaveTried = true;
    {
        QScopedValueRollback guard(m_syncing, true);
        TableView& view = m_model->view();
        try {
            m_model->storePendingEdit();
            if (wanted.isValid()) {
                view.moveTo(wanted.row());
            }
        } catch (...) {
            m_model->reportError();
        }
    }
    syncCurrentFromView();
}

bool DataGrid::storePendingEdit()
{
    if (m_model && state() == QAbstractItemView::EditingState) {
        if (QWidget* editor = indexWidget(currentIndex())) {
            commitData(editor);
            QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    return postPendingEdit();
}

bool DataGrid::postPendingEdit()
{
    if (!m_model || !m_model->view().isOpen() || !m_model->view().isEditing()) {
        return true;
    }
    try {
        m_model->storePendingEdit();
        return true;
    } catch (...) {
        m_model->reportError();
        return false;
    }
}

namespace
{
// keys that leave the row: at the grid's edge they do not move, but the operator has left the change
bool leavesRow(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return (event.modifiers() & Qt::ControlModifier) != 0;
    default:
        return false;
    }
}
} // namespace

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    // Enter in a cell's editor reaches the grid too, once the editor has passed it on and its delegate has
    // queued the commit: it confirms the cell and nothing more. The change stays pending on its row.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() == QAbstractItemView::EditingState) {
        event->accept();
        return;
    }
    // Enter ends a typed search first: after a text that found nothing it acts on no row
    if (enter && m_search && !m_inPlaceEditing && m_search->takeKey(*event)) {
        event->accept();
        return;
    }
    Q_EMIT keyDown(event->key(), event->modifiers());
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        deleteCurrentRow();
        event->accept();
        return;
    }
    const bool pending = m_model && m_model->view().isOpen() && m_model->view().isEditing();
    if (pending && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_model->view().cancel();
        event->accept();
        return;
    }
    if (m_search && !m_inPlaceEditing && m_search->takeKey(*event)) {
        event->accept();
        return;
    }
    m_leaveTried = false;
    QTableView::keyPressEvent(event);
    if (pending && leavesRow(*event) && !m_leaveTried) {
        storePendingEdit();
    }
}

void DataGrid::setSearchField(const QString& field)
{
    m_searchField = field;
    if (!m_search) {
        m_search = new TypedSearch([this](const QString& typed) { return findTyped(typed); }, this);
    }
}

bool DataGrid::findTyped(const QString& typed)
{
    if (!m_model || !m_model->view().isOpen()) {
        return false;
    }
    try {
        return m_model->view().locateTyped(m_searchField, typed);
    } catch (...) {
        m_model->reportError();
        return false;
    }
}

void DataGrid::keyboardSearch(const QString&)
{
    // Qt's search jumps by a prefix of the current column, unseen; the typed search replaces it
}

void DataGrid::deleteCurrentRow()
{
    if (m_readOnly || !m_model || !m_model->view().isOpen() || m_model->view().currentRow() < 0) {
        return;
    }
    TableView& view = m_model->view();
    try {
        const qint64 id = view.currentId();
        const QString details = m_describeDeletion ? m_describeDeletion(id) : QString();
        const bool confirmed = m_confirmDelete ? m_confirmDelete(*this, details)
                                               : confirmDeleteWithDialog(*this, details);
        if (!confirmed) {
            return;
        }
        if (m_rowDeleter) {
            m_rowDeleter(id);
        } else if (view.currentId() == id) {
            view.remove();
        }
    } catch (...) {
        m_model->reportError();
    }
}

bool DataGrid::confirmDeleteWithDialog(DataGrid& grid, const QString& details)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                    QMessageBox::Yes | QMessageBox::No, &grid);
    box.setInformativeText(details);
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        // the details name the station the question is about: larger than the question, as in the entry prompt
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * kDetailsScale);
        font.setBold(true);
        label->setFont(font);
        // the box sizes itself to the short question: the details would wrap after every two words
        label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(details), kDetailsWidth));
    }
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
    if (m_search) {
        m_search->end();
    }
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
        // posted while the controls the operator leaves the grid for (the edit-mode box among them) are
        // still as they were when the change was made; an open editor has handed its text over as it lost
        // the focus
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
    } else if (m_focusLeftWindow && now && now->window() == window()) {
        // the operator works on elsewhere in the window: a prompt opened from now on is not about this row
        m_focusLeftWindow = false;
        viewport()->update();
    }
}

bool DataGrid::isHighlighted(const QModelIndex& index) const
{
    return selectionModel() && selectionModel()->isSelected(index) && (hasFocusWithin() || asksAboutItsRow());
}

bool DataGrid::asksAboutItsRow() const
{
    // a prompt or question opened from this grid is about its current row, which stays marked meanwhile
    const QWidget* modal = QApplication::activeModalWidget();
    return m_focusLeftWindow && modal && modal->parentWidget() && modal->parentWidget()->window() == window();
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
