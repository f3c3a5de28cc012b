#include "widgets/TableViewModel.h"

#include "store/TableView.h"
#include "widgets/WindowLook.h"

#include <QDate>
#include <QTime>

namespace
{
bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}
} // namespace

TableViewModel::TableViewModel(TableView& view, QList<GridColumn> columns, ErrorHandler errorHandler, QObject* parent)
    : QAbstractTableModel(parent)
    , m_view(view)
    , m_columns(std::move(columns))
    , m_errorHandler(std::move(errorHandler))
{
    for (const GridColumn& column : m_columns) {
        m_fieldIndexes.append(m_view.fieldIndex(column.field));
    }
    connectView();
}

void TableViewModel::connectView()
{
    connect(&m_view, &TableView::aboutToReset, this, [this] { beginResetModel(); });
    connect(&m_view, &TableView::resetDone, this, [this] { endResetModel(); });
    connect(&m_view, &TableView::aboutToInsertRow, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(&m_view, &TableView::rowInserted, this, [this] { endInsertRows(); });
    connect(&m_view, &TableView::aboutToRemoveRow, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(&m_view, &TableView::rowRemoved, this, [this] { endRemoveRows(); });
    connect(&m_view, &TableView::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && !m_columns.isEmpty()) {
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
    });
    connect(&m_view, &TableView::currentRowChanged, this, &TableViewModel::viewCurrentRowChanged);
}

QString TableViewModel::title(int column) const
{
    const int fieldIndex = m_fieldIndexes.at(column);
    return fieldIndex >= 0 ? m_view.declaredFields().at(fieldIndex).title() : m_columns.at(column).field;
}

void TableViewModel::storePendingEdit()
{
    if (m_editStore) {
        m_editStore();
    } else {
        m_view.checkBrowseMode();
    }
}

void TableViewModel::reportError() const
{
    m_errorHandler(std::current_exception());
}

QVariant TableViewModel::valueAt(const QModelIndex& index) const
{
    try {
        return m_view.valueAt(index.row(), m_fieldIndexes.at(index.column()));
    } catch (...) {
        reportReadErrorLater();
        return {};
    }
}

void TableViewModel::reportReadErrorLater() const
{
    // a grid reads while it paints, where no dialog may open: the error is shown once painting is over
    if (!m_readErrorPending) {
        m_readErrorPending = true;
        QMetaObject::invokeMethod(
            const_cast<TableViewModel*>(this),
            [this, error = std::current_exception()] {
                m_readErrorPending = false;
                m_errorHandler(error);
            },
            Qt::QueuedConnection);
    }
}

int TableViewModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_view.isOpen()) {
        return 0;
    }
    // the count may read the table (rows posted in a batch are placed when next asked for)
    try {
        return m_view.recordCount();
    } catch (...) {
        reportReadErrorLater();
        return 0;
    }
}

int TableViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString TableViewModel::displayText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(kShortDateFormat);
    case QMetaType::QTime:
        return value.toTime().toString(kLongTimeFormat);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QVariant TableViewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const QVariant value = valueAt(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        // the editor works on text, so that a mistyped value reaches the view and is refused there
        return displayText(value);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (isNumber(value) ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant TableViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size()) {
            return {};
        }
        if (role == Qt::DisplayRole) {
            return title(section);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(m_columns.at(section).titleAlignment | Qt::AlignVCenter);
        }
        return {};
    }
    return {};
}

Qt::ItemFlags TableViewModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && m_fieldIndexes.at(index.column()) >= 0
        && !m_view.declaredFields().at(m_fieldIndexes.at(index.column())).readOnly) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool TableViewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !m_editable || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    const QString text = value.toString();
    const QString& field = fieldAt(index.column());
    if (displayText(valueAt(index)) == text) {
        return true; // leaving a cell unchanged starts no edit
    }
    const bool wasEditing = m_view.isEditing();
    try {
        if (index.row() != m_view.currentRow()) {
            storePendingEdit();
            m_view.moveTo(index.row());
        }
        m_view.edit();
        m_view.setValue(field, text.trimmed().isEmpty() ? QVariant() : QVariant(text));
        return true;
    } catch (...) {
        if (!wasEditing && m_view.isEditing() && !m_view.isModified()) {
            m_view.cancel();
        }
        reportError();
        return false;
    }
}
