#pragma once

#include <QString>

class Database;

// All of an operator action lands or none of it. Nested transactions become savepoints.
// A transaction that is destroyed without commit() rolls back and makes every open view re-read its table.
// One that cannot begin or commit because another program holds a table file locked rolls back and raises
// a message naming the locked files.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    void rollBack();

    Database& m_db;
    QString m_savepoint;
    bool m_done = false;
};
