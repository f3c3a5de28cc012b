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
    // A plain pass rather than DISTINCT, whose sorting cost more than the pass itself on a large table. Equal
    // values come in runs (a participant's matrix is made at once, an index keeps them together), and a
    // value equal to the one before it is not decoded again.
    Statement query = db.prepare(
        QStringLiteral("SELECT %2 FROM %1.%1").arg(quoteIdentifier(table), quoteIdentifier(field)));
    QByteArray previous;
    bool first = true;
    while (query.step()) {
        const QByteArrayView value = query.columnUtf8(0);
        if (!first && value == previous) {
            continue;
        }
        first = false;
        previous = value.toByteArray();
        values.insert(QString::fromUtf8(value).toCaseFolded());
    }
    return values;
}

QStringList columnValuesById(Database& db, const QString& table, const QString& field)
{
    db.attachExisting(table);
    QStringList values;
    Statement query = db.prepare(QStringLiteral("SELECT %2 FROM %1.%1 ORDER BY %3")
                                     .arg(quoteIdentifier(table), quoteIdentifier(field), kFieldId));
    while (query.step()) {
        values.append(query.column(0).toString());
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
