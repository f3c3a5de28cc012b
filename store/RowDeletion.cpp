#include "store/RowDeletion.h"

#include "store/Database.h"

void deleteAllRows(Database& db, const QString& table)
{
    db.execute(QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(table)));
}
