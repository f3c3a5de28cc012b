#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement. Values are always bound, never pasted into the text.
class Statement
{
public:
    // context, when given, leads every error message: the table file the statement works on
    Statement(sqlite3* db, const QString& sql, QString context = {});
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // index counts from 1, as SQLite does
    void bind(int index, const QVariant& value);
    void bindAll(const QVariantList& values);
    // true while a row is available; throws StoreError on an engine error
    bool step();
    void reset();
    // runs to completion, ignoring any rows
    void run();

    bool isReadOnly() const;
    int columnCount() const;
    QVariant column(int index) const;
    // the column as the engine's UTF-8 text, held by the statement until its next step or reset
    QByteArrayView columnUtf8(int index) const;
    QString columnName(int index) const;

private:
    [[noreturn]] void fail(const QString& message, int code = 0) const;

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_context;
};

// Text forms in which the store keeps dates and times.
QString dateToStored(const QDate& date);
QString timeToStored(const QTime& time);
