#include "store/TableView.h"

#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/FoldedSearch.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

#include <QFileInfo>

#include <algorithm>

TableView::TableView(Database& db, ViewDefinition definition, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_def(std::move(definition))
    , m_statements(tableName(), m_def.orderBy)
    , m_order(m_db, tableName(), m_statements)
    , m_cache(m_db, tableName())
{
    connect(&m_db, &Database::tableReset, this, &TableView::onTableReset);
    connect(&m_db, &Database::rowAboutToChange, this, &TableView::onRowAboutToChange);
    connect(&m_db, &Database::rowChanged, this, &TableView::onRowChanged);
    m_order.setOutOfStepHandler([this] { onOrderOutOfStep(); });
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
    m_db.attachExisting(tableName());
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
    const QString fileName = QFileInfo(m_db.tableFilePath(tableName())).fileName();
    if (!m_db.isAttached(tableName())) {
        throw StoreError(QStringLiteral("Table %1 does not exist: %2 is missing").arg(tableName(), fileName));
    }
    Statement info = m_db.prepareOn(tableName(),
                                    QStringLiteral("PRAGMA %1.table_info(%1)").arg(quoteIdentifier(tableName())));
    QList<FieldDef> tableFields;
    while (info.step()) {
        tableFields.append(
            fieldDefFromDeclaration(info.column(1).toString(), info.column(2).toString(), info.column(5).toInt() > 0));
    }
    if (tableFields.isEmpty()) {
        throw StoreError(QStringLiteral("Table %1 not found in %2").arg(tableName(), fileName));
    }
    QList<FieldDef> defs;
    for (const DeclaredField& declared : m_def.fields) {
        const auto it = std::find_if(tableFields.cbegin(), tableFields.cend(), [&](const FieldDef& def) {
            return def.name.compare(declared.name, Qt::CaseInsensitive) == 0;
        });
        if (it == tableFields.cend()) {
            throw StoreError(QStringLiteral("%1: Field '%2' not found in table %3 (%4)")
                                 .arg(name(), declared.name, tableName(), fileName));
        }
        defs.append(*it);
    }
    m_fieldDefs = defs;
    QStringList columns;
    for (const FieldDef& def : std::as_const(m_fieldDefs)) {
        columns.append(quoteIdentifier(def.name));
    }
    m_cache.setFields(m_fieldDefs, m_statements.rows(columns, kPageSize));
    m_orderFieldIndexes.clear();
    for (const QString& field : m_def.orderBy) {
        m_orderFieldIndexes.append(fieldIndex(field));
    }
}

void TableView::reload()
{
    m_unsettledPost = -1;
    m_statements.setFilter(m_filtered ? m_filter : ViewFilter());
    m_rowKeysStatement.reset();
    m_unreadBeforeChange.clear();
    Q_EMIT aboutToReset();
    try {
        m_order.reset();
    } catch (...) {
        m_order.clear();
        m_cache.clear();
        Q_EMIT resetDone();
        throw;
    }
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
    m_edit.clear();
    Q_EMIT aboutToReset();
    m_state = State::Inactive;
    m_unsettledPost = -1;
    m_order.clear();
    m_cache.close();
    m_insertStatement.reset();
    m_rowKeysStatement.reset();
    m_unreadBeforeChange.clear();
    m_current = -1;
    m_eof = m_bof = true;
    Q_EMIT resetDone();
    Q_EMIT stateChanged();
}

int TableView::recordCount() const
{
    requireOpen("count the rows of");
    settleOrder();
    return int(m_order.size());
}

qint64 TableView::currentId() const
{
    settleOrder();
    if (m_current < 0 || m_current >= m_order.size()) {
        return -1;
    }
    return entryAt(m_current).id;
}

int TableView::currentRow() const
{
    settleOrder();
    return m_current;
}

qint64 TableView::idAt(int row) const
{
    settleOrder();
    if (row < 0 || row >= m_order.size()) {
        return -1;
    }
    return entryAt(row).id;
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
    settleOrder();
    checkBrowseMode();
    setCurrent(m_order.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_order.isEmpty();
}

void TableView::next()
{
    requireOpen("move in");
    settleOrder();
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
    settleOrder();
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
    settleOrder();
    checkBrowseMode();
    setCurrent(int(m_order.size()) - 1);
    m_eof = true;
    m_bof = m_order.isEmpty();
}

void TableView::moveTo(int row)
{
    requireOpen("move in");
    settleOrder();
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
    m_edit.startInsert(m_def.fields.size());
    setState(State::Insert);
}

void TableView::edit()
{
    requireOpen("edit");
    settleOrder();
    if (isEditing()) {
        return;
    }
    if (m_current < 0) {
        throw StoreError(QStringLiteral("%1: Cannot edit an empty view").arg(name()));
    }
    m_edit.startEdit(rowValues(m_current), m_def.fields.size());
    setState(State::Edit);
}

void TableView::cancel()
{
    if (!isEditing()) {
        return;
    }
    const bool wasEdit = m_state == State::Edit;
    m_edit.clear();
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
    if (m_edit.isModified()) {
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
        for (int i = 0; i < m_def.fields.size(); ++i) {
            if (!m_def.fields.at(i).readOnly) {
                columns.append(quoteIdentifier(m_fieldDefs.at(i).name));
            }
        }
        m_insertStatement = std::make_unique<Statement>(m_db.prepareOn(tableName(), m_statements.insert(columns)));
    }
    QVariantList values;
    values.reserve(m_def.fields.size());
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (!m_def.fields.at(i).readOnly) {
            values.append(toStoredValue(m_fieldDefs.at(i), m_edit.value(i)));
        }
    }
    m_insertStatement->bindAll(values);
    m_insertStatement->run();
    m_insertStatement->reset();
    return m_db.lastInsertId();
}

void TableView::updateRow(qint64 id)
{
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (m_edit.isSet(i)) {
            columns.append(quoteIdentifier(m_fieldDefs.at(i).name));
            values.append(toStoredValue(m_fieldDefs.at(i), m_edit.value(i)));
        }
    }
    if (columns.isEmpty()) {
        return;
    }
    values.append(id);
    Statement update = m_db.prepareOn(tableName(), m_statements.update(columns));
    update.bindAll(values);
    m_db.notifyRowAboutToChange(m_def.table, id, this);
    update.run();
}

void TableView::post()
{
    requireOpen("post to");
    if (isEditing()) {
        writePost();
    }
}

void TableView::postTogether(const std::function<void()>& alongside)
{
    requireOpen("post to");
    if (!isEditing()) {
        return;
    }
    const State state = m_state;
    const EditBuffer pending = m_edit;
    const qint64 id = state == State::Edit ? currentId() : -1;
    try {
        Transaction together(m_db);
        writePost();
        alongside();
        together.commit();
    } catch (...) {
        restorePending(state, pending, id);
        throw;
    }
}

void TableView::restorePending(State state, const EditBuffer& pending, qint64 id)
{
    // the rollback has reset the view, which dropped the change: it comes back on its own row (a post
    // refused before anything was written left it as it was)
    if (isEditing() || !isOpen() || (state == State::Edit && !locateId(id))) {
        return;
    }
    m_edit = pending;
    setState(state);
    if (state == State::Edit) {
        Q_EMIT rowChanged(m_current);
    }
}

void TableView::writePost()
{
    qint64 id = 0;
    int position = -1;
    m_lastPostInserted = m_state == State::Insert;
    if (m_batchDepth > 0) {
        // Many posts at once (an import): a row may land among rows not read, where placing it would
        // take a count of the table for every row. The order is read again, once, when next used.
        id = m_lastPostInserted ? insertRow() : currentId();
        if (!m_lastPostInserted) {
            updateRow(id);
        }
        setState(State::Browse);
        m_edit.clear();
        m_unsettledPost = id;
    } else if (m_state == State::Insert) {
        id = insertRow();
        setState(State::Browse);
        position = placeRow(id, -1, insertedRowKeys(id));
    } else {
        id = currentId();
        updateRow(id);
        setState(State::Browse);
        position = placeRow(id, m_current, readRowKeys(id));
    }
    if (m_unsettledPost < 0) {
        m_edit.clear();
        if (position >= 0) {
            setCurrent(position);
        } else {
            setCurrent(m_order.isEmpty() ? -1 : std::min(std::max(m_current, 0), int(m_order.size()) - 1));
        }
        m_eof = m_bof = m_order.isEmpty();
    }
    m_db.notifyRowChanged(m_def.table, id, this);
}

void TableView::settleOrder() const
{
    if (m_unsettledPost < 0) {
        return;
    }
    const qint64 posted = m_unsettledPost;
    m_unsettledPost = -1;
    m_order.reset();
    m_cache.clear();
    const int position = positionOfRow(posted);
    m_current = position >= 0 ? position : (m_order.isEmpty() ? -1 : 0);
    m_eof = m_bof = m_order.isEmpty();
}

std::optional<RowOrder::Entry> TableView::insertedRowKeys(qint64 id)
{
    // Without a filter every new row belongs to the view, and its sort key is what was just written: an
    // import of tens of thousands of rows need not read each one back.
    const bool keyKnown = m_statements.filter().isEmpty()
        && std::all_of(m_orderFieldIndexes.cbegin(), m_orderFieldIndexes.cend(),
                       [this](int index) { return index >= 0 && m_fieldDefs.at(index).kind != FieldKind::Other; });
    if (!keyKnown) {
        return readRowKeys(id);
    }
    RowOrder::Entry entry;
    entry.id = id;
    for (int index : std::as_const(m_orderFieldIndexes)) {
        entry.key.append(toStoredValue(m_fieldDefs.at(index), m_edit.value(index)));
    }
    return entry;
}

std::optional<RowOrder::Entry> TableView::readRowKeys(qint64 id) const
{
    const BoundSql keys = m_statements.rowKeys(id);
    // prepared once per filter: every post reads its row's place back through it
    if (!m_rowKeysStatement) {
        m_rowKeysStatement = std::make_unique<Statement>(m_db.prepareOn(tableName(), keys.sql));
    }
    Statement& query = *m_rowKeysStatement;
    query.bindAll(keys.values);
    std::optional<RowOrder::Entry> entry;
    try {
        if (query.step()) {
            entry.emplace();
            entry->id = id;
            for (int i = 0; i < m_def.orderBy.size(); ++i) {
                entry->key.append(query.column(i + 1));
            }
        }
    } catch (...) {
        query.reset();
        throw;
    }
    query.reset();
    return entry;
}

int TableView::placeRow(qint64 id, int oldPosition, std::optional<RowOrder::Entry> entry)
{
    m_cache.forget(id);
    if (oldPosition >= 0 && entry && m_order.isRead(oldPosition)) {
        const RowOrder::Entry& old = entryAt(oldPosition);
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
    const int newPosition = int(m_order.insertionPoint(*entry));
    Q_EMIT aboutToInsertRow(newPosition);
    m_order.insertAt(newPosition, std::move(*entry));
    if (m_current >= newPosition) {
        ++m_current;
    } else if (m_current < 0) {
        m_current = newPosition;
    }
    Q_EMIT rowInserted(newPosition);
    return newPosition;
}

int TableView::positionOfRow(qint64 id) const
{
    const qsizetype read = m_order.readPosition(id);
    if (read >= 0) {
        return int(read);
    }
    const std::optional<RowOrder::Entry> entry = readRowKeys(id);
    return entry ? int(m_order.adopt(*entry)) : -1;
}

void TableView::remove()
{
    requireOpen("delete from");
    settleOrder();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0) {
        throw StoreError(QStringLiteral("%1: Cannot delete from an empty view").arg(name()));
    }
    const qint64 id = currentId();
    Statement del = m_db.prepareOn(tableName(), m_statements.remove());
    del.bind(1, id);
    m_db.notifyRowAboutToChange(m_def.table, id, this);
    del.run();
    m_edit.clear();
    setState(State::Browse);
    const int position = m_current;
    Q_EMIT aboutToRemoveRow(position);
    m_order.removeAt(position);
    m_cache.forget(id);
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
    return m_edit.valueBefore(requireField(field));
}

bool TableView::locateMatch(const QString& fields, const QVariantList& values, bool caseInsensitive, bool last)
{
    requireOpen("search in");
    settleOrder();
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
    const std::optional<RowOrder::Entry> found = firstMatch(conditions, bound, last, nullptr);
    return found && makeCurrent(*found);
}

bool TableView::locateTyped(const QString& field, const QString& typed)
{
    requireOpen("search in");
    settleOrder();
    checkBrowseMode();
    if (typed.isEmpty()) {
        return false;
    }
    // the typed text is bound, never spelt into the statement: a quote, % or _ is just a character
    const QString place = QStringLiteral("%1(%2, ?)")
                              .arg(QLatin1String(kFoldedInstr),
                                   quoteIdentifier(m_fieldDefs.at(requireField(field)).name));
    // One pass over the view: the first row that holds the text, and only after it the first that begins
    // with it, as no row before the first that holds it can begin with it.
    std::optional<RowOrder::Entry> found = firstMatch({place + QStringLiteral(" > 0")}, {typed});
    if (!found) {
        return false;
    }
    const QString begins = place + QStringLiteral(" = 1");
    if (!firstMatch({QString(kFieldId + QStringLiteral("=?")), begins}, {found->id, typed})) {
        if (std::optional<RowOrder::Entry> beginning = firstMatch({begins}, {typed}, false, &*found)) {
            found = std::move(beginning);
        }
    }
    return makeCurrent(*found);
}

std::optional<RowOrder::Entry> TableView::firstMatch(const QStringList& conditions, const QVariantList& values,
                                                     bool last, const RowOrder::Entry* after) const
{
    const BoundSql located = m_statements.locate(conditions, values, last, after);
    Statement query = m_db.prepareOn(tableName(), located.sql);
    query.bindAll(located.values);
    if (!query.step()) {
        return std::nullopt;
    }
    RowOrder::Entry entry;
    entry.id = query.column(0).toLongLong();
    for (int i = 0; i < m_def.orderBy.size(); ++i) {
        entry.key.append(query.column(i + 1));
    }
    return entry;
}

bool TableView::makeCurrent(const RowOrder::Entry& entry)
{
    qsizetype position = m_order.adopt(entry);
    if (position < 0) {
        position = m_order.readPosition(entry.id);
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
    settleOrder();
    checkBrowseMode();
    const int position = positionOfRow(id);
    if (position < 0) {
        return false;
    }
    setCurrent(position);
    m_eof = m_bof = false;
    return true;
}

const QVariantList& TableView::rowValues(int row) const
{
    static const QVariantList kMissing;
    const qint64 id = entryAt(row).id;
    if (const QVariantList* values = m_cache.find(id)) {
        return *values;
    }
    const int start = row - row % kPageSize;
    const int end = std::min(start + kPageSize, int(m_order.size()));
    QList<qint64> ids;
    ids.reserve(kPageSize);
    for (int position = start; position < end; ++position) {
        ids.append(entryAt(position).id);
    }
    m_cache.fetch(ids);
    const QVariantList* values = m_cache.find(id);
    return values ? *values : kMissing;
}

QVariant TableView::valueAt(int row, int fieldIndex) const
{
    settleOrder();
    if (!isOpen() || row < 0 || row >= m_order.size() || fieldIndex < 0 || fieldIndex >= m_def.fields.size()) {
        return {};
    }
    if (isEditing() && row == m_current && m_state == State::Edit) {
        return m_edit.value(fieldIndex);
    }
    const QVariantList& values = rowValues(row);
    return fieldIndex < values.size() ? values.at(fieldIndex) : QVariant();
}

QVariant TableView::value(const QString& field) const
{
    requireOpen("read");
    settleOrder();
    const int index = requireField(field);
    if (isEditing()) {
        return m_edit.value(index);
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
    m_edit.set(index, stored);
    if (m_state == State::Edit && m_current >= 0) {
        Q_EMIT rowChanged(m_current);
    }
}

void TableView::setFilter(const ViewFilter& filter)
{
    // SQLite reads a quoted name that is no column as text: an unknown field would filter out every row
    for (const ViewFilter::Condition& condition : filter.conditions()) {
        requireField(condition.field);
    }
    if (isOpen()) {
        checkBrowseMode();
    }
    if (isOpen() && filter == m_filter) {
        // the view follows every write to its table: the same filter again has nothing new to read
        return;
    }
    m_filter = filter;
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
    if (isOpen()) {
        reload();
        resetPosition(0);
    }
}

void TableView::onTableReset(FolderTable table)
{
    if (!isOpen() || table != m_def.table) {
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
    int found = -1;
    try {
        found = current >= 0 ? positionOfRow(current) : -1;
    } catch (const StoreError&) {
        close();
        return;
    }
    m_current = -2; // force the signal
    setCurrent(found >= 0 ? found : (m_order.isEmpty() ? -1 : std::clamp(position, 0, int(m_order.size()) - 1)));
    m_eof = m_bof = m_order.isEmpty();
}

void TableView::onRowAboutToChange(FolderTable table, qint64 id, const QObject* origin)
{
    if (origin == this || !isOpen() || table != m_def.table || m_order.readPosition(id) >= 0) {
        return;
    }
    // a row of the view whose place has not been read: where it sorts now tells which rows not read yet
    // it leaves, once it has changed
    try {
        if (std::optional<RowOrder::Entry> entry = readRowKeys(id)) {
            m_unreadBeforeChange.insert(id, *entry);
        }
    } catch (const StoreError&) {
        close();
    }
}

void TableView::onRowChanged(FolderTable table, qint64 id, const QObject* origin)
{
    if (origin == this || !isOpen() || table != m_def.table) {
        return;
    }
    const qint64 current = currentId();
    try {
        int oldPosition = int(m_order.readPosition(id));
        const auto unread = m_unreadBeforeChange.constFind(id);
        std::optional<RowOrder::Entry> entry = readRowKeys(id);
        if (oldPosition < 0 && unread != m_unreadBeforeChange.cend()) {
            if (entry && compareSortKeys(unread->key, entry->key) == 0) {
                // still in its place among the rows not read: nothing shown moves
                m_unreadBeforeChange.erase(unread);
                m_cache.forget(id);
                return;
            }
            oldPosition = int(m_order.unreadPosition(unread.value()));
        }
        m_unreadBeforeChange.remove(id);
        placeRow(id, oldPosition, std::move(entry));
        if (current >= 0 && current != id) {
            const qsizetype found = m_order.readPosition(current);
            if (found >= 0) {
                setCurrent(int(found));
            }
        }
    } catch (const StoreError&) {
        // the write that called here has succeeded; this view alone could not follow it
        close();
    }
}

void TableView::onOrderOutOfStep()
{
    // the table changed without the view being told: the grids learn the new row count once the read
    // that found it is over
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isOpen()) {
                Q_EMIT aboutToReset();
                Q_EMIT resetDone();
                resetPosition(m_current);
            }
        },
        Qt::QueuedConnection);
}
