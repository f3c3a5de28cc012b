#pragma once

#include "store/FieldDef.h"
#include "store/RowOrder.h"
#include "store/ViewFilter.h"

#include <QVariant>

// A statement's text with the values to bind to its marks, in order.
struct BoundSql
{
    QString sql;
    QVariantList values;
};

// The text of every statement a view runs on its table, from its definition and its filter, with the values
// to bind. It holds no database: what it builds can be checked on its own. A view's order is its sort
// fields, then the row id; "before" and "after" a row follow that order as SQLite's ORDER BY sorts, a null
// before every value.
class ViewStatements
{
public:
    enum class Direction
    {
        Forward,
        Backward,
    };

    ViewStatements(QString table, QStringList orderBy);

    // the rows the statements cover, each field a column of the table; an empty filter covers every row
    void setFilter(ViewFilter filter);
    const ViewFilter& filter() const { return m_filter; }

    BoundSql count() const;
    // the ids and sort keys of up to `limit` rows: from the first row (Forward) or the last (Backward),
    // or, with a boundary, the rows after it (Forward) or before it (Backward), nearest first
    BoundSql keys(Direction direction, qsizetype limit, const RowOrder::Entry* boundary = nullptr) const;
    // how many rows of the view come before a row with these sort keys and id
    BoundSql countBefore(const RowOrder::Entry& entry) const;
    // the id and sort keys of one row, if it is in the view
    BoundSql rowKeys(qint64 id) const;
    // the first (or last) row of the view matching the conditions, ANDed, whose marks take the values; with
    // a row to start after, the first such row after it
    BoundSql locate(const QStringList& conditions, const QVariantList& values, bool last,
                    const RowOrder::Entry* after = nullptr) const;

    QString rows(const QStringList& columns, int idCount) const;
    QString insert(const QStringList& columns) const;
    QString update(const QStringList& columns) const;
    QString remove() const;

private:
    QString keyColumns() const;
    QString orderClause(bool descending) const;
    // "filter AND extra", or whichever of the two is there, as a WHERE clause; the filter's values come
    // first, as its marks do
    QString where(const QString& extra) const;
    // the condition that a row sorts after (or before) the entry, with its values appended to `values`
    QString beyond(const RowOrder::Entry& entry, Direction direction, QVariantList& values) const;

    QString m_table;
    QStringList m_orderBy;
    ViewFilter m_filter;
    QString m_filterSql;
    QVariantList m_filterValues;
};
