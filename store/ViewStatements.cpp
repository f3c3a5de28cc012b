#include "store/ViewStatements.h"

#include "store/Database.h"
#include "store/TableNames.h"

ViewStatements::ViewStatements(QString table, QStringList orderBy)
    : m_table(std::move(table))
    , m_orderBy(std::move(orderBy))
{
}

void ViewStatements::setFilter(ViewFilter filter)
{
    m_filter = std::move(filter);
    QStringList conditions;
    m_filterValues.clear();
    for (const ViewFilter::Condition& condition : m_filter.conditions()) {
        conditions.append(quoteIdentifier(condition.field) + QStringLiteral("=?"));
        m_filterValues.append(condition.value);
    }
    m_filterSql = conditions.join(QStringLiteral(" AND "));
}

QString ViewStatements::keyColumns() const
{
    QStringList columns = {kFieldId};
    for (const QString& field : m_orderBy) {
        columns.append(quoteIdentifier(field));
    }
    return columns.join(QStringLiteral(", "));
}

QString ViewStatements::orderClause(bool descending) const
{
    QStringList columns;
    for (const QString& field : m_orderBy) {
        columns.append(quoteIdentifier(field));
    }
    columns.append(kFieldId);
    if (descending) {
        for (QString& column : columns) {
            column += QStringLiteral(" DESC");
        }
    }
    return QStringLiteral(" ORDER BY ") + columns.join(QStringLiteral(", "));
}

QString ViewStatements::where(const QString& extra) const
{
    QStringList parts;
    if (!m_filterSql.isEmpty()) {
        parts.append(m_filterSql);
    }
    if (!extra.isEmpty()) {
        parts.append(extra);
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

QString ViewStatements::beyond(const RowOrder::Entry& entry, Direction direction, QVariantList& values) const
{
    // Spelt out field by field rather than as a row value: a row value compared with a null is neither
    // before nor after, while the view's order puts the planned rows, whose date is null, first.
    QStringList alternatives;
    QString equalSoFar;
    QVariantList equalValues;
    const qsizetype keyCount = m_orderBy.size();
    for (qsizetype i = 0; i <= keyCount; ++i) {
        const bool isId = i == keyCount;
        const QString column = isId ? kFieldId : quoteIdentifier(m_orderBy.at(i));
        const QVariant value = isId ? QVariant(entry.id) : entry.key.value(i);
        QString step;
        QVariantList stepValues;
        if (value.isNull()) {
            // nothing sorts before a null; every value sorts after it
            if (direction == Direction::Forward) {
                step = column + QStringLiteral(" IS NOT NULL");
            }
        } else if (direction == Direction::Forward) {
            step = column + QStringLiteral(" > ?");
            stepValues = {value};
        } else {
            step = u'(' + column + QStringLiteral(" < ? OR ") + column + QStringLiteral(" IS NULL)");
            stepValues = {value};
        }
        if (!step.isEmpty()) {
            alternatives.append(u'(' + equalSoFar + step + u')');
            values += equalValues;
            values += stepValues;
        }
        equalSoFar += column + QStringLiteral(" IS ? AND ");
        equalValues.append(value);
    }
    return u'(' + alternatives.join(QStringLiteral(" OR ")) + u')';
}

BoundSql ViewStatements::count() const
{
    return {QStringLiteral("SELECT count(*) FROM %1.%1%2").arg(quoteIdentifier(m_table), where({})), m_filterValues};
}

BoundSql ViewStatements::keys(Direction direction, qsizetype limit, const RowOrder::Entry* boundary) const
{
    BoundSql result{{}, m_filterValues};
    const QString condition = boundary ? beyond(*boundary, direction, result.values) : QString();
    result.sql = QStringLiteral("SELECT %1 FROM %2.%2%3%4 LIMIT %5")
                     .arg(keyColumns(), quoteIdentifier(m_table), where(condition),
                          orderClause(direction == Direction::Backward))
                     .arg(limit);
    return result;
}

BoundSql ViewStatements::countBefore(const RowOrder::Entry& entry) const
{
    BoundSql result{{}, m_filterValues};
    const QString condition = beyond(entry, Direction::Backward, result.values);
    result.sql = QStringLiteral("SELECT count(*) FROM %1.%1%2").arg(quoteIdentifier(m_table), where(condition));
    return result;
}

BoundSql ViewStatements::rowKeys(qint64 id) const
{
    return {QStringLiteral("SELECT %1 FROM %2.%2%3")
                .arg(keyColumns(), quoteIdentifier(m_table), where(kFieldId + QStringLiteral("=?"))),
            m_filterValues + QVariantList{id}};
}

BoundSql ViewStatements::locate(const QStringList& conditions, const QVariantList& values, bool last,
                                const RowOrder::Entry* after) const
{
    // the boundary first, so that the engine can skip what lies before it before it weighs the conditions
    BoundSql result{{}, m_filterValues};
    QStringList all;
    if (after) {
        all.append(beyond(*after, Direction::Forward, result.values));
    }
    all += conditions;
    result.values += values;
    result.sql = QStringLiteral("SELECT %1 FROM %2.%2%3%4 LIMIT 1")
                     .arg(keyColumns(), quoteIdentifier(m_table), where(all.join(QStringLiteral(" AND "))),
                          orderClause(last));
    return result;
}

QString ViewStatements::rows(const QStringList& columns, int idCount) const
{
    const QStringList marks(idCount, QStringLiteral("?"));
    return QStringLiteral("SELECT %1, %2 FROM %3.%3 WHERE %1 IN (%4)")
        .arg(kFieldId, columns.join(QStringLiteral(", ")), quoteIdentifier(m_table), marks.join(QStringLiteral(", ")));
}

QString ViewStatements::insert(const QStringList& columns) const
{
    const QStringList marks(columns.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1.%1 (%2) VALUES (%3)")
        .arg(quoteIdentifier(m_table), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

QString ViewStatements::update(const QStringList& columns) const
{
    return QStringLiteral("UPDATE %1.%1 SET %2=? WHERE %3=?")
        .arg(quoteIdentifier(m_table), columns.join(QStringLiteral("=?, ")), kFieldId);
}

QString ViewStatements::remove() const
{
    return QStringLiteral("DELETE FROM %1.%1 WHERE %2=?").arg(quoteIdentifier(m_table), kFieldId);
}
