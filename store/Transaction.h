#pragma once

#include <QString>

class Database;

// All of an operator action lands or none of it. Nested transactions become savepoints.
// A transaction that is destroyed without commit() rolls back and makes every open view re-read its table.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    QString m_savepoint;
    bool m_done = false;
};
