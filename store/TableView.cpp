#include "store/TableView.h"

#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

#include <QFileInfo>

#include <algorithm>

namespace
{
constexpr int kCacheLimit = 4096;
} // namespace

TableView::TableView(Database& db, ViewDefinition definition, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_def(std::move(definition))
    , m_tableKey(m_def.table.toLower())
{
    connect(&m_db, &Database::tableReset, this, &TableView::onTableReset);
    connect(&m_db, &Database::rowChanged, this, &TableView::onRowChanged);
}

TableView::~TableView() = default;

TableView::BatchUpdate::BatchUpdate(TableView& view)
    : m_view(view)
{
    m_view.beginBatch();
}

TableView::BatchUpdate::~BatchUpdate()
{
    m_view.endBatch();
}

void TableView::beginBatch()
{
    if (m_batchDepth++ == 0) {
        Q_EMIT aboutToReset();
        blockSignals(true);
    }
}

void TableView::endBatch()
{
    if (--m_batchDepth == 0) {
        blockSignals(false);
        Q_EMIT resetDone();
        Q_EMIT currentRowChanged(m_current);
        Q_EMIT stateChanged();
    }
}

int TableView::fieldIndex(const QString& field) const
{
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (m_def.fields.at(i).name.compare(field, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

const FieldDef& TableView::fieldDef(int index) const
{
    return m_fieldDefs.at(index);
}

int TableView::requireField(const QString& field) const
{
    const int index = fieldIndex(field);
    if (index < 0) {
        throw StoreError(QStringLiteral("%1: Field '%2' not found").arg(name(), field));
    }
    return index;
}

void TableView::requireOpen(const char* operation) const
{
    if (!isOpen()) {
        throw StoreError(QStringLiteral("%1: Cannot %2 a closed view").arg(name(), QString::fromLatin1(operation)));
    }
}

void TableView::open()
{
    if (isOpen()) {
        return;
    }
    m_db.attachExisting(m_def.table);
    readFieldDefs();
    m_state = State::Browse;
    try {
        reload();
    } catch (...) {
        m_state = State::Inactive;
        throw;
    }
    resetPosition(0);
    Q_EMIT stateChanged();
}

void TableView::readFieldDefs()
{
    const QString fileName = QFileInfo(m_db.tableFilePath(m_def.table)).fileName();
    if (!m_db.isAttached(m_def.table)) {
        throw StoreError(QStringLiteral("Table %1 does not exist: %2 is missing").arg(m_def.table, fileName));
    }
    Statement info = m_db.prepareOn(m_def.table,
                                    QStringLiteral("PRAGMA %1.table_info(%1)").arg(quoteIdentifier(m_def.table)));
    QList<FieldDef> tableFields;
    while (info.step()) {
        tableFields.append(
            fieldDefFromDeclaration(info.column(1).toString(), info.column(2).toString(), info.column(5).toInt() > 0));
    }
    if (tableFields.isEmpty()) {
        throw StoreError(QStringLiteral("Table %1 not found in %2").arg(m_def.table, fileName));
    }
    QList<FieldDef> defs;
    for (const DeclaredField& declared : m_def.fields) {
        const auto it = std::find_if(tableFields.cbegin(), tableFields.cend(), [&](const FieldDef& def) {
            return def.name.compare(declared.name, Qt::CaseInsensitive) == 0;
        });
        if (it == tableFields.cend()) {
            throw StoreError(QStringLiteral("%1: Field '%2' not found in table %3 (%4)")
                                 .arg(name(), declared.name, m_def.table, fileName));
        }
        defs.append(*it);
    }
    m_fieldDefs = defs;
    m_orderFieldIndexes.clear();
    for (const QString& field : m_def.orderBy) {
        m_orderFieldIndexes.append(fieldIndex(field));
    }
}

QString TableView::whereClause() const
{
    if (m_filtered && !m_filter.trimmed().isEmpty()) {
        return QStringLiteral(" WHERE (") + m_filter + u')';
    }
    return {};
}

QString TableView::orderClause(bool descending) const
{
    QStringList columns;
    for (const QString& field : m_def.orderBy) {
        columns.append(quoteIdentifier(field));
    }
    columns.append(kFieldId);
    if (descending) {
        for (QString& column : columns) {
            column += QStringLiteral(" DESC");
        }
    }
    return QStringLiteral(" ORDER BY ") + columns.join(QStringLiteral(", "));
}

void TableView::reload()
{
    QStringList keyColumns = {kFieldId};
    for (const QString& field : m_def.orderBy) {
        keyColumns.append(quoteIdentifier(field));
    }
    Statement query = m_db.prepareOn(
        m_def.table,
        QStringLiteral("SELECT %1 FROM %2.%2%3%4")
            .arg(keyColumns.join(QStringLiteral(", ")), quoteIdentifier(m_def.table), whereClause(), orderClause()));
    std::vector<RowOrder::Entry> entries;
    const int keyCount = int(m_def.orderBy.size());
    while (query.step()) {
        RowOrder::Entry entry;
        entry.id = query.column(0).toLongLong();
        for (int i = 0; i < keyCount; ++i) {
            entry.key.append(query.column(i + 1));
        }
        entries.push_back(std::move(entry));
    }
    Q_EMIT aboutToReset();
    m_order.assign(std::move(entries));
    m_cache.clear();
    Q_EMIT resetDone();
}

void TableView::resetPosition(int row)
{
    m_current = m_order.isEmpty() ? -1 : std::clamp(row, 0, int(m_order.size()) - 1);
    m_bof = true;
    m_eof = m_order.isEmpty();
    Q_EMIT currentRowChanged(m_current);
}

void TableView::close()
{
    if (!isOpen()) {
        return;
    }
    // closing discards a change that was not posted
    m_buffer.clear();
    m_modified = false;
    Q_EMIT aboutToReset();
    m_state = State::Inactive;
    m_order.clear();
    m_cache.clear();
    m_pageStatement.reset();
    m_insertStatement.reset();
    m_refreshStatement.reset();
    m_current = -1;
    m_eof = m_bof = true;
    Q_EMIT resetDone();
    Q_EMIT stateChanged();
}

int TableView::recordCount() const
{
    requireOpen("count the rows of");
    return int(m_order.size());
}

qint64 TableView::currentId() const
{
    if (m_current < 0 || m_current >= m_order.size()) {
        return -1;
    }
    return m_order.at(m_current).id;
}

qint64 TableView::idAt(int row) const
{
    if (row < 0 || row >= m_order.size()) {
        return -1;
    }
    return m_order.at(row).id;
}

void TableView::setCurrent(int row)
{
    if (row != m_current) {
        m_current = row;
        Q_EMIT currentRowChanged(row);
    }
}

void TableView::setState(State state)
{
    if (state != m_state) {
        m_state = state;
        Q_EMIT stateChanged();
    }
}

void TableView::first()
{
    requireOpen("move in");
    checkBrowseMode();
    setCurrent(m_order.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_order.isEmpty();
}

void TableView::next()
{
    requireOpen("move in");
    checkBrowseMode();
    if (m_current + 1 < m_order.size()) {
        setCurrent(m_current + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = false;
}

void TableView::prior()
{
    requireOpen("move in");
    checkBrowseMode();
    if (m_current > 0) {
        setCurrent(m_current - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = false;
}

void TableView::last()
{
    requireOpen("move in");
    checkBrowseMode();
    setCurrent(int(m_order.size()) - 1);
    m_eof = true;
    m_bof = m_order.isEmpty();
}

void TableView::moveTo(int row)
{
    requireOpen("move in");
    if (row < 0 || row >= m_order.size()) {
        return;
    }
    checkBrowseMode();
    setCurrent(row);
    m_eof = m_bof = false;
}

void TableView::append()
{
    requireOpen("append to");
    checkBrowseMode();
    m_buffer = QVariantList(m_def.fields.size());
    m_rowBeforeEdit = m_buffer;
    m_changed = QList<bool>(m_def.fields.size(), false);
    m_modified = false;
    setState(State::Insert);
}

void TableView::edit()
{
    requireOpen("edit");
    if (isEditing()) {
        return;
    }
    if (m_current < 0) {
        throw StoreError(QStringLiteral("%1: Cannot edit an empty view").arg(name()));
    }
    m_buffer = rowValues(m_current);
    m_rowBeforeEdit = m_buffer;
    m_changed = QList<bool>(m_def.fields.size(), false);
    m_modified = false;
    setState(State::Edit);
}

void TableView::cancel()
{
    if (!isEditing()) {
        return;
    }
    const bool wasEdit = m_state == State::Edit;
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    if (wasEdit && m_current >= 0) {
        Q_EMIT rowChanged(m_current);
    }
}

void TableView::checkBrowseMode()
{
    if (!isEditing()) {
        return;
    }
    if (m_modified) {
        post();
    } else {
        cancel();
    }
}

void TableView::flush()
{
    if (isEditing()) {
        post();
    }
}

qint64 TableView::insertRow()
{
    // an import appends tens of thousands of rows through one view: the statement is prepared once
    if (!m_insertStatement) {
        QStringList columns;
        QStringList marks;
        for (int i = 0; i < m_def.fields.size(); ++i) {
            if (!m_def.fields.at(i).readOnly) {
                columns.append(quoteIdentifier(m_fieldDefs.at(i).name));
                marks.append(QStringLiteral("?"));
            }
        }
        m_insertStatement = std::make_unique<Statement>(
            m_db.prepareOn(m_def.table,
                           QStringLiteral("INSERT INTO %1.%1 (%2) VALUES (%3)")
                               .arg(quoteIdentifier(m_def.table), columns.join(QStringLiteral(", ")),
                                    marks.join(QStringLiteral(", ")))));
    }
    QVariantList values;
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (!m_def.fields.at(i).readOnly) {
            values.append(toStoredValue(m_fieldDefs.at(i), m_buffer.at(i)));
        }
    }
    m_insertStatement->bindAll(values);
    m_insertStatement->run();
    m_insertStatement->reset();
    return m_db.lastInsertId();
}

void TableView::updateRow(qint64 id)
{
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (m_changed.at(i)) {
            assignments.append(quoteIdentifier(m_fieldDefs.at(i).name) + QStringLiteral("=?"));
            values.append(toStoredValue(m_fieldDefs.at(i), m_buffer.at(i)));
        }
    }
    if (assignments.isEmpty()) {
        return;
    }
    values.append(id);
    Statement update = m_db.prepareOn(
        m_def.table,
        QStringLiteral("UPDATE %1.%1 SET %2 WHERE %3=?")
            .arg(quoteIdentifier(m_def.table), assignments.join(QStringLiteral(", ")), kFieldId));
    update.bindAll(values);
    update.run();
}

void TableView::post()
{
    requireOpen("post to");
    if (!isEditing()) {
        return;
    }
    // the row and what the post hook writes for it (a correction's journal row) land together or not at all
    std::optional<Transaction> together;
    if (m_afterPost && !m_db.inTransaction()) {
        together.emplace(m_db);
    }
    qint64 id = 0;
    int position = -1;
    m_lastPostInserted = m_state == State::Insert;
    if (m_state == State::Insert) {
        id = insertRow();
        setState(State::Browse);
        position = placeInsertedRow(id);
    } else {
        id = currentId();
        updateRow(id);
        setState(State::Browse);
        position = refreshRow(id, m_current);
    }
    m_buffer.clear();
    m_modified = false;
    if (position >= 0) {
        setCurrent(position);
    } else {
        setCurrent(m_order.isEmpty() ? -1 : std::min(std::max(m_current, 0), int(m_order.size()) - 1));
    }
    m_eof = m_bof = m_order.isEmpty();
    m_db.notifyRowChanged(m_def.table, id, this);
    if (m_afterPost) {
        m_afterPost(*this);
    }
    if (together) {
        together->commit();
    }
}

int TableView::placeInsertedRow(qint64 id)
{
    // Without a filter every new row belongs to the view, and its sort key is what was just written: an
    // import of tens of thousands of rows need not read each one back.
    const bool keyKnown = !(m_filtered && !m_filter.trimmed().isEmpty())
        && std::all_of(m_orderFieldIndexes.cbegin(), m_orderFieldIndexes.cend(),
                       [this](int index) { return index >= 0 && m_fieldDefs.at(index).kind != FieldKind::Other; });
    if (!keyKnown) {
        return refreshRow(id, -1);
    }
    RowOrder::Entry entry;
    entry.id = id;
    for (int index : std::as_const(m_orderFieldIndexes)) {
        entry.key.append(toStoredValue(m_fieldDefs.at(index), m_buffer.at(index)));
    }
    m_cache.remove(id);
    return insertEntry(std::move(entry));
}

int TableView::insertEntry(RowOrder::Entry entry)
{
    const int newPosition = int(m_order.insertionPoint(entry));
    Q_EMIT aboutToInsertRow(newPosition);
    m_order.insert(std::move(entry));
    if (m_current >= newPosition) {
        ++m_current;
    } else if (m_current < 0) {
        m_current = newPosition;
    }
    Q_EMIT rowInserted(newPosition);
    return newPosition;
}

int TableView::refreshRow(qint64 id, int knownPosition)
{
    // prepared once per filter: every post reads its row's place back through it
    if (!m_refreshStatement) {
        QStringList keyColumns = {kFieldId};
        for (const QString& field : m_def.orderBy) {
            keyColumns.append(quoteIdentifier(field));
        }
        const QString where = whereClause();
        m_refreshStatement = std::make_unique<Statement>(
            m_db.prepareOn(m_def.table,
                           QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3=?%4")
                               .arg(keyColumns.join(QStringLiteral(", ")), quoteIdentifier(m_def.table), kFieldId,
                                    where.isEmpty() ? QString() : QStringLiteral(" AND ") + where.mid(7))));
    }
    Statement& query = *m_refreshStatement;
    query.bind(1, id);
    std::optional<RowOrder::Entry> entry;
    if (query.step()) {
        entry.emplace();
        entry->id = id;
        for (int i = 0; i < m_def.orderBy.size(); ++i) {
            entry->key.append(query.column(i + 1));
        }
    }
    query.reset();
    m_cache.remove(id);

    const int oldPosition = knownPosition;
    if (oldPosition >= 0 && entry) {
        const RowOrder::Entry& old = m_order.at(oldPosition);
        if (compareSortKeys(old.key, entry->key) == 0) {
            Q_EMIT rowChanged(oldPosition);
            return oldPosition;
        }
    }
    if (oldPosition >= 0) {
        Q_EMIT aboutToRemoveRow(oldPosition);
        m_order.removeAt(oldPosition);
        if (m_current > oldPosition || m_current >= m_order.size()) {
            --m_current;
        }
        Q_EMIT rowRemoved(oldPosition);
    }
    if (!entry) {
        return -1;
    }
    return insertEntry(std::move(*entry));
}

void TableView::remove()
{
    requireOpen("delete from");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0) {
        throw StoreError(QStringLiteral("%1: Cannot delete from an empty view").arg(name()));
    }
    const qint64 id = currentId();
    Statement del = m_db.prepareOn(
        m_def.table, QStringLiteral("DELETE FROM %1.%1 WHERE %2=?").arg(quoteIdentifier(m_def.table), kFieldId));
    del.bind(1, id);
    del.run();
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    const int position = m_current;
    Q_EMIT aboutToRemoveRow(position);
    m_order.removeAt(position);
    m_cache.remove(id);
    m_current = m_order.isEmpty() ? -1 : std::min(position, int(m_order.size()) - 1);
    Q_EMIT rowRemoved(position);
    Q_EMIT currentRowChanged(m_current);
    m_eof = m_bof = m_order.isEmpty();
    m_db.notifyRowChanged(m_def.table, id, this);
}

bool TableView::locate(const QString& fields, const QVariantList& values, bool caseInsensitive)
{
    return locateMatch(fields, values, caseInsensitive, false);
}

bool TableView::locateLast(const QString& fields, const QVariantList& values, bool caseInsensitive)
{
    return locateMatch(fields, values, caseInsensitive, true);
}

QVariant TableView::valueBeforeEdit(const QString& field) const
{
    const int index = requireField(field);
    return index < m_rowBeforeEdit.size() ? m_rowBeforeEdit.at(index) : QVariant();
}

bool TableView::locateMatch(const QString& fields, const QVariantList& values, bool caseInsensitive, bool last)
{
    requireOpen("search in");
    checkBrowseMode();
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    if (names.size() != values.size()) {
        throw StoreError(
            QStringLiteral("%1: %2 fields to locate but %3 values").arg(name()).arg(names.size()).arg(values.size()));
    }
    QStringList conditions;
    QVariantList bound;
    for (int i = 0; i < names.size(); ++i) {
        const FieldDef& def = m_fieldDefs.at(requireField(names.at(i).trimmed()));
        QVariant value;
        try {
            value = toStoredValue(def, values.at(i));
        } catch (const StoreError&) {
            return false; // a value the field cannot hold matches no row
        }
        if (value.isNull()) {
            conditions.append(quoteIdentifier(def.name) + QStringLiteral(" IS NULL"));
            continue;
        }
        const bool text = def.kind == FieldKind::Char || def.kind == FieldKind::Other;
        conditions.append(
            quoteIdentifier(def.name)
            + (text && caseInsensitive ? QStringLiteral("=? COLLATE TOURLOG_NOCASE") : QStringLiteral("=?")));
        bound.append(value);
    }
    if (m_filtered && !m_filter.trimmed().isEmpty()) {
        conditions.prepend(u'(' + m_filter + u')');
    }
    QStringList keyColumns = {kFieldId};
    for (const QString& field : m_def.orderBy) {
        keyColumns.append(quoteIdentifier(field));
    }
    Statement query = m_db.prepareOn(m_def.table,
                                     QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3%4 LIMIT 1")
                                         .arg(keyColumns.join(QStringLiteral(", ")), quoteIdentifier(m_def.table),
                                              conditions.join(QStringLiteral(" AND ")), orderClause(last)));
    query.bindAll(bound);
    if (!query.step()) {
        return false;
    }
    RowOrder::Entry entry;
    entry.id = query.column(0).toLongLong();
    for (int i = 0; i < m_def.orderBy.size(); ++i) {
        entry.key.append(query.column(i + 1));
    }
    qsizetype position = m_order.find(entry);
    if (position < 0) {
        position = m_order.indexOfId(entry.id);
    }
    if (position < 0) {
        return false;
    }
    setCurrent(int(position));
    m_eof = m_bof = false;
    return true;
}

bool TableView::locateId(qint64 id)
{
    requireOpen("search in");
    checkBrowseMode();
    const qsizetype position = m_order.indexOfId(id);
    if (position < 0) {
        return false;
    }
    setCurrent(int(position));
    m_eof = m_bof = false;
    return true;
}

const QVariantList& TableView::rowValues(int row) const
{
    static const QVariantList kMissing;
    const qint64 id = m_order.at(row).id;
    auto it = m_cache.constFind(id);
    if (it == m_cache.cend()) {
        fetchPage(row);
        it = m_cache.constFind(id);
        if (it == m_cache.cend()) {
            return kMissing;
        }
    }
    return it.value();
}

void TableView::fetchPage(int row) const
{
    if (m_cache.size() > kCacheLimit) {
        m_cache.clear();
    }
    if (!m_pageStatement) {
        QStringList columns = {kFieldId};
        for (const FieldDef& def : m_fieldDefs) {
            columns.append(quoteIdentifier(def.name));
        }
        QStringList marks(kPageSize, QStringLiteral("?"));
        m_pageStatement = std::make_unique<Statement>(
            m_db.prepareOn(m_def.table,
                           QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3 IN (%4)")
                               .arg(columns.join(QStringLiteral(", ")), quoteIdentifier(m_def.table), kFieldId,
                                    marks.join(QStringLiteral(", ")))));
    }
    const int start = row - row % kPageSize;
    for (int i = 0; i < kPageSize; ++i) {
        const int position = start + i;
        m_pageStatement->bind(i + 1, position < m_order.size() ? m_order.at(position).id : qint64(-1));
    }
    try {
        while (m_pageStatement->step()) {
            QVariantList values;
            values.reserve(m_fieldDefs.size());
            for (int f = 0; f < m_fieldDefs.size(); ++f) {
                values.append(fromStoredValue(m_fieldDefs.at(f), m_pageStatement->column(f + 1)));
            }
            m_cache.insert(m_pageStatement->column(0).toLongLong(), values);
            ++m_fetchedRows;
        }
    } catch (...) {
        m_pageStatement->reset();
        throw;
    }
    m_pageStatement->reset();
}

QVariant TableView::valueAt(int row, int fieldIndex) const
{
    if (!isOpen() || row < 0 || row >= m_order.size() || fieldIndex < 0 || fieldIndex >= m_def.fields.size()) {
        return {};
    }
    if (isEditing() && row == m_current && m_state == State::Edit) {
        return m_buffer.at(fieldIndex);
    }
    const QVariantList& values = rowValues(row);
    return fieldIndex < values.size() ? values.at(fieldIndex) : QVariant();
}

QVariant TableView::value(const QString& field) const
{
    requireOpen("read");
    const int index = requireField(field);
    if (isEditing()) {
        return m_buffer.at(index);
    }
    if (m_current < 0) {
        return {};
    }
    const QVariantList& values = rowValues(m_current);
    return index < values.size() ? values.at(index) : QVariant();
}

QString TableView::text(const QString& field) const
{
    const QVariant v = value(field);
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

bool TableView::isNull(const QString& field) const
{
    return value(field).isNull();
}

void TableView::setValue(const QString& field, const QVariant& value)
{
    requireOpen("write to");
    const int index = requireField(field);
    if (!isEditing()) {
        throw StoreError(QStringLiteral("%1: Not in edit or insert mode").arg(name()));
    }
    if (m_def.fields.at(index).readOnly) {
        throw StoreError(QStringLiteral("%1: Field '%2' cannot be modified").arg(name(), m_def.fields.at(index).name));
    }
    const FieldDef& def = m_fieldDefs.at(index);
    QVariant stored = toStoredValue(def, value);
    if (stored.typeId() == QMetaType::LongLong) {
        stored = QVariant(int(stored.toLongLong()));
    }
    m_buffer[index] = stored;
    m_changed[index] = true;
    m_modified = true;
    if (m_state == State::Edit && m_current >= 0) {
        Q_EMIT rowChanged(m_current);
    }
}

void TableView::setFilter(const QString& filter)
{
    if (isOpen()) {
        checkBrowseMode();
    }
    m_filter = filter;
    m_refreshStatement.reset();
    if (isOpen() && m_filtered) {
        reload();
        resetPosition(0);
    }
}

void TableView::setFiltered(bool filtered)
{
    if (isOpen()) {
        checkBrowseMode();
    }
    m_filtered = filtered;
    m_refreshStatement.reset();
    if (isOpen()) {
        reload();
        resetPosition(0);
    }
}

void TableView::onTableReset(const QString& table)
{
    if (!isOpen() || table != m_tableKey) {
        return;
    }
    // rows changed behind the view (a rollback above all): a change still pending here belonged to the
    // work that was undone
    cancel();
    const qint64 current = currentId();
    const int position = m_current;
    try {
        reload();
    } catch (const StoreError&) {
        // this runs inside someone else's write or rollback: a view that cannot re-read its table shows
        // nothing rather than wrong rows, and says so when it is next used
        close();
        return;
    }
    const qsizetype found = current >= 0 ? m_order.indexOfId(current) : -1;
    m_current = -2; // force the signal
    setCurrent(found >= 0 ? int(found) : (m_order.isEmpty() ? -1 : std::clamp(position, 0, int(m_order.size()) - 1)));
    m_eof = m_bof = m_order.isEmpty();
}

void TableView::onRowChanged(const QString& table, qint64 id, const QObject* origin)
{
    if (origin == this || !isOpen() || table != m_tableKey) {
        return;
    }
    const qint64 current = currentId();
    const qsizetype position = m_order.indexOfId(id);
    try {
        refreshRow(id, int(position));
    } catch (const StoreError&) {
        // the write that called here has succeeded; this view alone could not follow it
        close();
        return;
    }
    if (current >= 0 && current != id) {
        const qsizetype found = m_order.indexOfId(current);
        if (found >= 0) {
            setCurrent(int(found));
        }
    }
}
