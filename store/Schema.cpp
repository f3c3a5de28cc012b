#include "store/Schema.h"

#include "store/ContactTies.h"
#include "store/Database.h"
#include "store/LongWork.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"
#include "store/TableLayouts.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

#include <algorithm>

namespace
{
// One step of a table file's ladder. It runs inside the transaction that raises the file's version and
// raises StoreError when it cannot be done; it leaves a file that has its change already as it is, since a file
// made before the ladder (version 0) may have had it from the program that made it.
struct TableStep
{
    void (*apply)(Database&);
    // whether the change is in the file: one rebuilt by another program keeps the version in its header but
    // may have lost it, and gets it again
    bool (*inPlace)(Database&);
};

struct TableLadder
{
    QString table;
    // in order; a file's version is how many of them have landed, so a new step only ever goes at the end
    QList<TableStep> steps;
};

bool hasIndex(Database& db, const QString& table, const QString& index)
{
    Statement query = db.prepareOn(
        table,
        QStringLiteral("SELECT 1 FROM %1.sqlite_master WHERE type='index' AND name=?").arg(quoteIdentifier(table)));
    query.bind(1, index);
    return query.step();
}

bool hasColumn(Database& db, const QString& table, const QString& column)
{
    Statement query = db.prepareOn(table, QStringLiteral("PRAGMA %1.table_info(%1)").arg(quoteIdentifier(table)));
    while (query.step()) {
        if (query.column(1).toString().compare(column, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
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

// A file that is foreign, damaged or read-only, or in a read-only folder, is not written at start: the
// program works on without the step, which is tried again at the next start.
bool mayWrite(Database& db, const QString& table)
{
    try {
        db.attachExisting(table);
    } catch (const StoreError&) {
        return false;
    }
    return db.tableFileExists(table) && db.isAttached(table) && db.writeRefusal(table).isEmpty()
        && soundBeforeWriting(db, table);
}

// Other programs that read the table files ignore user_version, and it lives in the file's header, so it
// lands or rolls back with the rest of the transaction that sets it.
int fileVersion(Database& db, const QString& table)
{
    Statement query = db.prepareOn(table, QStringLiteral("PRAGMA %1.user_version").arg(quoteIdentifier(table)));
    // a negative number, from some other program, counts as a file made before the ladder
    return query.step() ? std::max(0, query.column(0).toInt()) : 0;
}

void setFileVersion(Database& db, const QString& table, qsizetype version)
{
    db.prepareOn(table, QStringLiteral("PRAGMA %1.user_version=%2").arg(quoteIdentifier(table)).arg(version)).run();
}

// Indexes that only make the program fast, which a folder made before them gets at its next start.
struct SpeedIndex
{
    QString name;
    QStringList columns;
};

const QList<SpeedIndex>& speedIndexes(const QString& table)
{
    static const QList<SpeedIndex> contest = {
        // a band view of one tour reads its rows in order straight from this index
        {QStringLiteral("Band"), {kFieldDiapasone, kFieldModulation, kFieldTourNumber, kFieldDate, kFieldCallSign}},
        // and a band view of all tours from this one
        {QStringLiteral("BandAllTours"), {kFieldDiapasone, kFieldModulation, kFieldDate, kFieldCallSign}},
    };
    // the score counts the contacts, correspondents and regions of one contest after every contact
    static const QList<SpeedIndex> journal = {
        {QStringLiteral("ContestCallSign"), {kFieldContestNumber, kFieldCallSign}},
        {QStringLiteral("ContestKI"), {kFieldContestNumber, kFieldKi}},
    };
    static const QList<SpeedIndex> none;
    return table == kTableContest ? contest : table == kTableJournal ? journal : none;
}

void addSpeedIndexes(Database& db, const QString& table)
{
    for (const SpeedIndex& index : speedIndexes(table)) {
        db.prepareOn(table,
                     QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                         .arg(quoteIdentifier(table), quoteIdentifier(scopedIndexName(table, index.name)),
                              quoteIdentifier(table), index.columns.join(QStringLiteral(", "))))
            .run();
    }
}

bool hasSpeedIndexes(Database& db, const QString& table)
{
    const QList<SpeedIndex>& indexes = speedIndexes(table);
    return std::all_of(indexes.cbegin(), indexes.cend(), [&](const SpeedIndex& index) {
        return hasIndex(db, table, scopedIndexName(table, index.name));
    });
}

bool hasJournalKi(Database& db)
{
    return hasColumn(db, kTableJournal, kFieldKi);
}

// The column and its values land together: a journal left with an empty KI would count no regions, and the
// column, once there, is never filled again.
void addJournalKi(Database& db)
{
    if (hasJournalKi(db)) {
        return;
    }
    db.execute(QStringLiteral("alter table %1 add %2 Char(2)").arg(kTableJournal, kFieldKi));
    db.execute(
        QStringLiteral("update %1 set %2=SUBSTRING(%3 from 1 for 2)").arg(kTableJournal, kFieldKi, kFieldRecvText));
}

// A folder of a Tourlog that kept no ties gets them from the key: its contacts and their Journal rows. Both
// tables must be there to be matched; otherwise the step waits for the next start.
void tieWorkedRows(Database& db)
{
    for (const QString& table : {kTableContest, kTableJournal}) {
        if (!db.isAttached(table)) {
            throw StoreError(QStringLiteral("%1 could not be read to tie its contacts").arg(table));
        }
    }
    tieByKey(db, TieMatching::WorkedRowsOnly);
}

// The ladder of the table files, run after the Paradox conversion of the folder (step zero, UpgradeLadder.cpp).
// Before any of these steps, a missing table file is made with its indexes and goes straight to the top.
const QList<TableLadder>& tableLadders()
{
    static const QList<TableLadder> ladders = {
        {kTableCallsign, {}},
        {kTableContest,
         {{[](Database& db) { addSpeedIndexes(db, kTableContest); },
           [](Database& db) { return hasSpeedIndexes(db, kTableContest); }}}},
        {kTableJournal,
         {{addJournalKi, hasJournalKi},
          {[](Database& db) { addSpeedIndexes(db, kTableJournal); },
           [](Database& db) { return hasSpeedIndexes(db, kTableJournal); }}}},
        {kTableFrequency, {}},
        // after Contest and Journal, which it reads
        {kTableTie, {{tieWorkedRows, [](Database&) { return true; }}}},
    };
    return ladders;
}

// A missing table is made in its current shape at its current version, in one transaction: its columns, its
// indexes and what each of its steps adds.
void createTable(Database& db, const TableLadder& ladder)
{
    // Contest's index by date and time has always been made together with the Journal; a Contest that cannot
    // take it (missing, foreign, read-only, damaged) goes without, as one that has it already
    const bool withContestTime = ladder.table == kTableJournal && mayWrite(db, kTableContest)
        && !hasIndex(db, kTableContest, scopedIndexName(kTableContest, contestTimeIndexName()));
    db.attachForCreation(ladder.table);
    const LongWork::Scope work(db.work());
    Transaction transaction(db);
    db.execute(createTableSql(ladder.table, tableColumns(ladder.table)));
    for (const QString& index : tableIndexSql(ladder.table)) {
        db.execute(index);
    }
    if (withContestTime) {
        db.execute(contestTimeIndexSql());
    }
    for (const TableStep& step : ladder.steps) {
        step.apply(db);
    }
    setFileVersion(db, ladder.table, ladder.steps.size());
    transaction.commit();
}

void climb(Database& db, const TableLadder& ladder)
{
    // attached first: a file whose creation was interrupted is rolled back to nothing, and is then missing
    db.attachExisting(ladder.table);
    if (!db.isAttached(ladder.table) || !db.tableFileExists(ladder.table)) {
        createTable(db, ladder);
        return;
    }
    qsizetype version = fileVersion(db, ladder.table);
    for (qsizetype next = 0; next < ladder.steps.size(); ++next) {
        const TableStep& step = ladder.steps.at(next);
        if (next < version && step.inPlace(db)) {
            continue;
        }
        if (!mayWrite(db, ladder.table)) {
            return;
        }
        const LongWork::Scope work(db.work());
        // the step lands whole with its version, or not at all
        Transaction transaction(db);
        step.apply(db);
        version = std::max(version, next + 1);
        setFileVersion(db, ladder.table, version);
        transaction.commit();
    }
}
} // namespace

void EnsureTables(Database& db)
{
    for (const TableLadder& ladder : tableLadders()) {
        try {
            climb(db, ladder);
        } catch (const StoreError&) {
            // the table stays at the version of its last whole step, and its view says so if it cannot open
        }
    }
}
