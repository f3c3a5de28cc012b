#pragma once

#include "store/Statement.h"

#include <QDir>
#include <QObject>
#include <QHash>
#include <QString>

struct sqlite3;

// The one connection of the program. Its main database is a small hidden file in the working directory,
// so that a transaction spanning two table files commits atomically; each table lives in its own file
// (Callsign.db, Contest.db, Journal.db), attached under the table's name.
class Database : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kMainFileName = ".tourlog";
    static constexpr const char* kTableFileSuffix = ".db";

    // A folder that cannot be opened does not throw here: every later operation raises the reason.
    // vfsName chooses another SQLite file layer (tests inject write failures through one).
    explicit Database(const QString& directory, const char* vfsName = nullptr);
    ~Database() override;

    QString directory() const { return m_dir.absolutePath(); }

    // The table's file in the working directory (found without regard to case), or the name it would get.
    QString tableFilePath(const QString& table) const;
    // A file of 0 bytes is a table whose creation was interrupted: it counts as missing.
    bool tableFileExists(const QString& table) const;

    // Attaches the table's file if it exists; throws StoreError naming the file if it is not a table file.
    void attachExisting(const QString& table);
    bool isAttached(const QString& table) const;

    // Runs one statement of the local-SQL dialect; throws StoreError on any failure.
    void execute(const QString& dialectSql);
    // Prepares one statement of the dialect (attaching the tables it names) for reading rows.
    Statement prepareDialect(const QString& dialectSql);
    // Prepares SQLite's own SQL; the caller has attached what it names.
    Statement prepare(const QString& sql);
    // The same for a statement on one table: its errors name the table's file.
    Statement prepareOn(const QString& table, const QString& sql);

    bool inTransaction() const;
    qint64 lastInsertId() const;
    sqlite3* handle() const { return connection(); }

    // Tells every open view that rows of this table changed behind its back (rollback, bulk SQL).
    void notifyTableReset(const QString& table);
    void notifyAllTablesReset();
    // Tells the views of a table that one row was written by someone else (another view).
    void notifyRowChanged(const QString& table, qint64 id, const QObject* origin);

Q_SIGNALS:
    void tableReset(const QString& table);
    void rowChanged(const QString& table, qint64 id, const QObject* origin);

private:
    void attachFile(const QString& table, const QString& path);
    void setJournalMode(const QString& table);
    QString fileNames(const QStringList& tables) const;
    void runPragma(const QString& sql);
    sqlite3* connection() const;

    QDir m_dir;
    sqlite3* m_db = nullptr;
    QString m_openError;
    QHash<QString, QString> m_attached; // lower-case table name -> its file's name
};

// Quotes an identifier for SQLite.
QString quoteIdentifier(const QString& name);
