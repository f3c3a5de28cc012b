#include "store/ColumnQueries.h"

#include "store/Database.h"

QSet<QString> foldedColumnValues(Database& db, const QString& table, const QString& field)
{
    db.attachExisting(table);
    QSet<QString> values;
    Statement query = db.prepare(
        QStringLiteral("SELECT DISTINCT %2 FROM %1.%1").arg(quoteIdentifier(table), quoteIdentifier(field)));
    while (query.step()) {
        values.insert(query.column(0).toString().toCaseFolded());
    }
    return values;
}

QVariant lastValueWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                        const QVariant& key)
{
    db.attachExisting(table);
    Statement query = db.prepare(QStringLiteral("SELECT %2 FROM %1.%1 WHERE %3=? ORDER BY ID DESC LIMIT 1")
                                     .arg(quoteIdentifier(table), quoteIdentifier(field), quoteIdentifier(keyField)));
    query.bind(1, key);
    return query.step() ? query.column(0) : QVariant();
}
