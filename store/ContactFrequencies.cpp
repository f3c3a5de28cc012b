#include "store/ContactFrequencies.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableNames.h"

#include <QFileInfo>

namespace
{
bool attached(Database& db)
{
    try {
        db.attachExisting(kTableFrequency);
    } catch (const StoreError&) {
        // not a table file: the contacts go without their frequency, and the file check tells
        return false;
    }
    return db.isAttached(kTableFrequency);
}

// deleting follows the Journal: a table that is not there, or may not be written, has nothing to follow
bool writable(Database& db)
{
    return attached(db) && db.writeRefusal(kTableFrequency).isEmpty();
}

QString qualified()
{
    return QStringLiteral("%1.%1").arg(quoteIdentifier(kTableFrequency));
}
} // namespace

QString frequenciesRefusal(Database& db)
{
    if (!attached(db)) {
        return QStringLiteral("%1 cannot be written.").arg(QFileInfo(db.tableFilePath(kTableFrequency)).fileName());
    }
    // checked first: a write into a damaged file can spread the damage, and would take the contact down with it
    try {
        db.checkTable(kTableFrequency);
    } catch (const StoreError& error) {
        return error.message();
    }
    return db.writeRefusal(kTableFrequency);
}

bool frequenciesWritable(Database& db)
{
    return frequenciesRefusal(db).isEmpty();
}

void recordContactFrequency(Database& db, qint64 journalId, const ContactFrequency& frequency)
{
    Statement insert = db.prepareOn(kTableFrequency,
                                    QStringLiteral("INSERT OR REPLACE INTO %1 (%2, %3, %4) VALUES (?, ?, ?)")
                                        .arg(qualified(), kFieldJournalId, kFieldHz, kFieldRadioMode));
    insert.bindAll({journalId, frequency.hz, frequency.mode});
    insert.run();
}

void forgetContactFrequency(Database& db, qint64 journalId)
{
    if (!writable(db)) {
        return;
    }
    Statement del = db.prepareOn(kTableFrequency,
                                 QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(qualified(), kFieldJournalId));
    del.bind(1, journalId);
    del.run();
}

QHash<qint64, ContactFrequency> contactFrequencies(Database& db)
{
    QHash<qint64, ContactFrequency> frequencies;
    if (!attached(db) || db.isDamaged(kTableFrequency)) {
        return frequencies;
    }
    Statement query = db.prepareOn(
        kTableFrequency,
        QStringLiteral("SELECT %1, %2, %3 FROM %4").arg(kFieldJournalId, kFieldHz, kFieldRadioMode, qualified()));
    while (query.step()) {
        frequencies.insert(query.column(0).toLongLong(), {query.column(1).toLongLong(), query.column(2).toString()});
    }
    return frequencies;
}
