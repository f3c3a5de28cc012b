#include "store/RowDeletion.h"

#include "store/Database.h"
#include "store/TableNames.h"

void deleteAllRows(Database& db, const QString& table)
{
    db.execute(QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(table)));
}

void deleteRowById(Database& db, const QString& table, qint64 id)
{
    db.attachExisting(table);
    Statement del = db.prepareOn(
        table, QStringLiteral("DELETE FROM %1.%1 WHERE %2=?").arg(quoteIdentifier(table), quoteIdentifier(kFieldId)));
    del.bind(1, id);
    db.notifyRowAboutToChange(table, id, nullptr);
    del.run();
    db.notifyRowChanged(table, id, nullptr);
}
