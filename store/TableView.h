#pragma once

#include "store/EditBuffer.h"
#include "store/FieldDef.h"
#include "store/PageCache.h"
#include "store/ViewFilter.h"
#include "store/ViewOrder.h"
#include "store/ViewStatements.h"

#include <QHash>
#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class Database;
class Statement;

// An open, navigable view of one table: a current row, an end flag, an optional filter and an order.
// The order (row ids with their sort keys) is read as far as it is used (ViewOrder), field values a
// page at a time as they are shown (PageCache), and the order is updated in place on every post, the
// view's own and those of other views of the table.
class TableView : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Inactive,
        Browse,
        Edit,
        Insert,
    };

    static constexpr int kPageSize = PageCache::kPageSize;

    // Many posts at once (an import): whoever follows the view sees one reset at the end instead of a
    // signal for every row, which a grid answers with work that grows with the whole view.
    class BatchUpdate
    {
    public:
        explicit BatchUpdate(TableView& view);
        ~BatchUpdate();
        BatchUpdate(const BatchUpdate&) = delete;
        BatchUpdate& operator=(const BatchUpdate&) = delete;

    private:
        TableView& m_view;
    };

    TableView(Database& db, ViewDefinition definition, QObject* parent = nullptr);
    ~TableView() override;

    const QString& name() const { return m_def.viewName; }
    FolderTable table() const { return m_def.table; }
    const QString& tableName() const { return folderTableName(m_def.table); }
    Database& database() const { return m_db; }
    const QList<DeclaredField>& declaredFields() const { return m_def.fields; }
    int fieldIndex(const QString& field) const;
    const FieldDef& fieldDef(int index) const;

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_edit.isModified(); }
    // whether the last post added a new row rather than changing one
    bool lastPostInserted() const { return m_lastPostInserted; }
    // what a field of the row being edited, or last posted, held when its edit began; null for an appended row
    QVariant valueBeforeEdit(const QString& field) const;

    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const;
    // the current row's position in the view's order; -1 on an empty view
    int currentRow() const;
    // rows whose place in the order has been read
    qsizetype readOrderCount() const { return m_order.readCount(); }
    qint64 currentId() const;
    // the id of the row at a position of the view's order, or -1
    qint64 idAt(int row) const;

    void append();
    void edit();
    void post();
    void cancel();
    // deletes the current row; the next one becomes current
    void remove();
    // posts a pending change if something was changed, drops it otherwise
    void checkBrowseMode();
    // posts a pending change; every post outside a transaction is already on disk
    void flush();
    // Posts the pending change and runs what must be written with it (a correction's journal row) in one
    // transaction. If either fails nothing is written and the change stays pending, as typed, for the
    // operator to mend or undo; the error goes to the caller.
    void postTogether(const std::function<void()>& alongside);

    // Field names separated by ";", one value each; the first match in the view's order becomes current.
    bool locate(const QString& fields, const QVariantList& values, bool caseInsensitive);
    // The same, but the last match in the view's order becomes current.
    bool locateLast(const QString& fields, const QVariantList& values, bool caseInsensitive);
    bool locateId(qint64 id);
    // The operator's typed search: the first row in the view's order whose field begins with the typed text,
    // or failing that the first that holds it, becomes current. Letter case is ignored and a Cyrillic letter
    // matches its Latin twin in Morse (FOLDED_INSTR). False, staying put, when no row holds it.
    bool locateTyped(const QString& field, const QString& typed);

    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    bool isNull(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);

    // value of a declared field at a row of the view, for the grids
    QVariant valueAt(int row, int fieldIndex) const;

    // Raises StoreError for a field the view does not declare.
    void setFilter(const ViewFilter& filter);
    const ViewFilter& filter() const { return m_filter; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    // rows whose field values have been read from the table since the view was created
    qint64 fetchedRowCount() const { return m_cache.fetchedRows(); }

Q_SIGNALS:
    void aboutToReset();
    void resetDone();
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged();

private:
    void requireOpen(const char* operation) const;
    int requireField(const QString& field) const;
    void readFieldDefs();
    void reload();
    void resetPosition(int row);
    bool locateMatch(const QString& fields, const QVariantList& values, bool caseInsensitive, bool last);
    // the first (or last) row of the view meeting the conditions, if there is one; with a row to start
    // after, the first such row after it
    std::optional<RowOrder::Entry> firstMatch(const QStringList& conditions, const QVariantList& values,
                                              bool last = false, const RowOrder::Entry* after = nullptr) const;
    // a row of the view, found by its keys, becomes current; false when the order does not hold it
    bool makeCurrent(const RowOrder::Entry& entry);
    const QVariantList& rowValues(int row) const;
    const RowOrder::Entry& entryAt(int row) const { return m_order.at(row); }
    void setCurrent(int row);
    void setState(State state);
    // the post's writes, in the caller's transaction if there is one
    void writePost();
    void restorePending(State state, const EditBuffer& pending, qint64 id);
    qint64 insertRow();
    void updateRow(qint64 id);
    // the row's sort keys as the table holds them now, if it is in the view
    std::optional<RowOrder::Entry> readRowKeys(qint64 id) const;
    std::optional<RowOrder::Entry> insertedRowKeys(qint64 id);
    // Moves a written row to its place: from where it was (a position, or -1 when it was not in the view)
    // to where its keys put it now (none when it left the view). Returns its new position or -1.
    int placeRow(qint64 id, int oldPosition, std::optional<RowOrder::Entry> entry);
    int positionOfRow(qint64 id) const;
    // places the last row posted in a batch, reading the order again
    void settleOrder() const;
    void onTableReset(FolderTable table);
    void onRowAboutToChange(FolderTable table, qint64 id, const QObject* origin);
    void onRowChanged(FolderTable table, qint64 id, const QObject* origin);
    void onOrderOutOfStep();
    void beginBatch();
    void endBatch();

    Database& m_db;
    ViewDefinition m_def;
    QList<FieldDef> m_fieldDefs; // parallel to m_def.fields
    QList<int> m_orderFieldIndexes;
    State m_state = State::Inactive;
    ViewFilter m_filter;
    bool m_filtered = false;

    ViewStatements m_statements;
    mutable ViewOrder m_order;
    mutable int m_current = -1;
    mutable bool m_eof = true;
    mutable bool m_bof = true;
    // the row last posted in a batch, whose place is not known yet, or -1
    mutable qint64 m_unsettledPost = -1;

    EditBuffer m_edit;
    bool m_lastPostInserted = false;

    mutable PageCache m_cache;
    std::unique_ptr<Statement> m_insertStatement;
    mutable std::unique_ptr<Statement> m_rowKeysStatement;
    // where rows of the view that another view is about to write sort now, when their place is not read
    QHash<qint64, RowOrder::Entry> m_unreadBeforeChange;

    int m_batchDepth = 0;
};
