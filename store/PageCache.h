#pragma once

#include "store/FieldDef.h"

#include <QHash>
#include <QVariant>

#include <memory>

class Database;
class Statement;

// Field values of a view's rows by row id, read a page at a time as the grids ask for them and dropped
// when there are too many, so that a grid scrolled through a big table holds what it shows.
class PageCache
{
public:
    static constexpr int kPageSize = 64;

    PageCache(Database& db, QString table);
    ~PageCache();

    // the fields to read and the statement that reads kPageSize rows by id
    void setFields(QList<FieldDef> fields, QString pageSql);

    // the row's values, or null if they have not been read
    const QVariantList* find(qint64 id) const;
    // reads the rows of up to kPageSize ids; an id without a row is left out
    void fetch(const QList<qint64>& ids);
    void forget(qint64 id) { m_rows.remove(id); }
    void clear() { m_rows.clear(); }
    // drops the prepared statement with the rows, as a closed view does
    void close();

    qint64 fetchedRows() const { return m_fetchedRows; }

private:
    Database& m_db;
    QString m_table;
    QList<FieldDef> m_fields;
    QString m_pageSql;
    QHash<qint64, QVariantList> m_rows;
    std::unique_ptr<Statement> m_statement;
    qint64 m_fetchedRows = 0;
};
