#include "store/Schema.h"

#include "store/Database.h"
#include "store/SqlRoutines.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"
#include "store/TableLayouts.h"

namespace
{
bool hasIndex(Database& db, const QString& table, const QString& index)
{
    Statement query = db.prepareOn(table, QStringLiteral("SELECT 1 FROM %1.sqlite_master WHERE type='index' AND name=?")
                                              .arg(quoteIdentifier(table)));
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
        db.prepareOn(table, QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                                .arg(quoteIdentifier(table), quoteIdentifier(scoped), quoteIdentifier(table), columns))
            .run();
    } catch (const StoreError&) {
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
    if (!db.tableFileExists(QStringLiteral("Callsign"))) {
        create(QStringLiteral("Callsign"));
    }
    if (!db.tableFileExists(QStringLiteral("Contest"))) {
        create(QStringLiteral("Contest"));
    }
    if (db.tableFileExists(QStringLiteral("Journal"))) {
        const QVariant ki = QuerySingleValue(db, QStringLiteral("select KI from Journal"));
        if (ki.typeId() == QMetaType::Int && ki.toInt() == kQueryFailed
            && soundBeforeWriting(db, QStringLiteral("Journal"))) {
            RunSql(db, QStringLiteral("alter table Journal add KI Char(2)"));
            RunSql(db, QStringLiteral("update Journal set KI=SUBSTRING(RecvText from 1 for 2)"));
        }
    } else {
        create(QStringLiteral("Journal"));
        if (soundBeforeWriting(db, QStringLiteral("Contest"))) {
            RunSql(db, contestTimeIndexSql());
        }
    }
    // a band view of one tour reads its rows in order straight from this index
    ensureSpeedIndex(db, QStringLiteral("Contest"), QStringLiteral("Band"),
                     QStringLiteral("Diapasone, Modulation, TourNumber, D, CallSign"));
    // the score counts the contacts, correspondents and regions of one contest after every contact
    ensureSpeedIndex(db, QStringLiteral("Journal"), QStringLiteral("ContestCallSign"),
                     QStringLiteral("ContestNumber, CallSign"));
    ensureSpeedIndex(db, QStringLiteral("Journal"), QStringLiteral("ContestKI"), QStringLiteral("ContestNumber, KI"));
}
