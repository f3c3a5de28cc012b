#pragma once

#include <QString>

class Database;

// The window's query object: a statement of the dialect whose result rows can be counted.
class Query
{
public:
    explicit Query(Database& db);

    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }
    // runs the statement and keeps the number of its rows; raises StoreError on an engine error
    void open();
    void close();
    bool isOpen() const { return m_open; }
    int recordCount() const { return m_rows; }

private:
    Database& m_db;
    QString m_sql;
    bool m_open = false;
    int m_rows = 0;
};
