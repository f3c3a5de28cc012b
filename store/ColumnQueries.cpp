#include "store/ColumnQueries.h"

#include "store/Database.h"
#include "store/TableNames.h"

namespace
{
// A column the table lacks, named in double quotes, would be read as a string and counted as one value;
// in backquotes it is always a column, and a missing one is the engine's error.
QString columnName(const QString& name)
{
    QString escaped = name;
    escaped.replace(u'`', QStringLiteral("``"));
    return u'`' + escaped + u'`';
}
} // namespace

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
    // Walked back by the table itself: the last row of the key is near the end, where the work goes on,
    // whereas through an index on the key every row of it would be sorted first.
    Statement query = db.prepare(
        QStringLiteral("SELECT %2 FROM %1.%1 NOT INDEXED WHERE %3=? ORDER BY %4 DESC LIMIT 1")
            .arg(quoteIdentifier(table), quoteIdentifier(field), quoteIdentifier(keyField), kFieldId));
    query.bind(1, key);
    return query.step() ? query.column(0) : QVariant();
}

GroupCount groupCountWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                           const QVariant& key)
{
    db.attachExisting(table);
    // groups rather than count(DISTINCT), which would leave the empty values out
    Statement query = db.prepareOn(
        table,
        QStringLiteral("SELECT coalesce(sum(n), 0), count(*) FROM (SELECT count(*) AS n FROM %1.%1 WHERE %3=? "
                       "GROUP BY %2)")
            .arg(quoteIdentifier(table), columnName(field), columnName(keyField)));
    query.bind(1, key);
    query.step();
    return {query.column(0).toLongLong(), query.column(1).toLongLong()};
}
