#include "store/RowDeletion.h"

#include "store/ContactFrequencies.h"
#include "store/ContactTies.h"
#include "store/Database.h"
#include "store/TableNames.h"

void deleteAllRows(Database& db, FolderTable table)
{
    db.execute(QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(folderTableName(table))));
    if (table == FolderTable::Contest) {
        untieAll(db);
    }
}

void deleteRowById(Database& db, FolderTable table, qint64 id)
{
    const QString& name = folderTableName(table);
    db.attachExisting(name);
    Statement del = db.prepareOn(
        name, QStringLiteral("DELETE FROM %1.%1 WHERE %2=?").arg(quoteIdentifier(name), quoteIdentifier(kFieldId)));
    del.bind(1, id);
    db.notifyRowAboutToChange(table, id, nullptr);
    del.run();
    // what is kept beside a row goes with it
    if (table == FolderTable::Journal) {
        forgetContactFrequency(db, id);
        untieJournalRow(db, id);
    } else if (table == FolderTable::Contest) {
        untiePlannedRow(db, id);
    }
    db.notifyRowChanged(table, id, nullptr);
}
