#include "store/Schema.h"

#include "store/Database.h"
#include "store/SqlDialect.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableLayouts.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

namespace
{
bool hasIndex(Database& db, const QString& table, const QString& index)
{
    Statement query = db.prepareOn(
        table,
        QStringLiteral("SELECT 1 FROM %1.sqlite_master WHERE type='index' AND name=?").arg(quoteIdentifier(table)));
    query.bind(1, index);
    return query.step();
}

// An existing table is written at start only after its file has passed the quick check: a write into a
// damaged file can spread the damage. The check runs only then, so an ordinary start does not pay for it.
bool soundBeforeWriting(Database& db, const QString& table)
{
    try {
        return db.checkTable(table);
    } catch (const StoreError&) {
        return false;
    }
}

QString columnList(const QStringList& columns)
{
    return columns.join(QStringLiteral(", "));
}

// Indexes that only make the program fast: a folder made before them gets them at its next start, and
// one that cannot take them (read-only, damaged) works on without them.
void ensureSpeedIndex(Database& db, const QString& table, const QString& index, const QString& columns)
{
    try {
        db.attachExisting(table);
        const QString scoped = scopedIndexName(table, index);
        if (!db.isAttached(table) || !db.writeRefusal(table).isEmpty() || hasIndex(db, table, scoped)
            || !soundBeforeWriting(db, table)) {
            return;
        }
        db.prepareOn(table,
                     QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                         .arg(quoteIdentifier(table), quoteIdentifier(scoped), quoteIdentifier(table), columns))
            .run();
    } catch (const StoreError&) {
    }
}
// The column and its values land together: a journal left with an empty KI would count no regions, and the
// column, once there, is never filled again. One that fails is tried again at the next start.
void addJournalKi(Database& db)
{
    try {
        Transaction transaction(db);
        db.execute(QStringLiteral("alter table %1 add %2 Char(2)").arg(kTableJournal, kFieldKi));
        db.execute(
            QStringLiteral("update %1 set %2=SUBSTRING(%3 from 1 for 2)").arg(kTableJournal, kFieldKi, kFieldRecvText));
        transaction.commit();
    } catch (const StoreError&) {
        // the journal keeps its old form, and its view says so when it cannot open
    }
}
} // namespace

void EnsureTables(Database& db)
{
    const auto create = [&db](const QString& table) {
        RunSql(db, createTableSql(table, tableColumns(table)));
        for (const QString& index : tableIndexSql(table)) {
            RunSql(db, index);
        }
    };
    if (!db.tableFileExists(kTableCallsign)) {
        create(kTableCallsign);
    }
    if (!db.tableFileExists(kTableContest)) {
        create(kTableContest);
    }
    if (db.tableFileExists(kTableJournal)) {
        const QVariant ki = QuerySingleValue(db, QStringLiteral("select %1 from %2").arg(kFieldKi, kTableJournal));
        if (ki.typeId() == QMetaType::Int && ki.toInt() == kQueryFailed && soundBeforeWriting(db, kTableJournal)) {
            addJournalKi(db);
        }
    } else {
        create(kTableJournal);
        if (soundBeforeWriting(db, kTableContest)) {
            RunSql(db, contestTimeIndexSql());
        }
    }
    // a band view of one tour reads its rows in order straight from this index
    ensureSpeedIndex(db, kTableContest, QStringLiteral("Band"),
                     columnList({kFieldDiapasone, kFieldModulation, kFieldTourNumber, kFieldDate, kFieldCallSign}));
    // and a band view of all tours from this one
    ensureSpeedIndex(db, kTableContest, QStringLiteral("BandAllTours"),
                     columnList({kFieldDiapasone, kFieldModulation, kFieldDate, kFieldCallSign}));
    // the score counts the contacts, correspondents and regions of one contest after every contact
    ensureSpeedIndex(db, kTableJournal, QStringLiteral("ContestCallSign"),
                     columnList({kFieldContestNumber, kFieldCallSign}));
    ensureSpeedIndex(db, kTableJournal, QStringLiteral("ContestKI"), columnList({kFieldContestNumber, kFieldKi}));
}
