#pragma once

#include "store/FolderTable.h"
#include "store/LongWork.h"
#include "store/Statement.h"
#include "store/TableCheck.h"

#include <QDir>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class LockWait;
struct sqlite3;

// The one connection of the program. Its main database is a small hidden file in the working directory,
// so that a transaction spanning two table files commits atomically; each table lives in its own file
// (Callsign.db, Contest.db, Journal.db), attached under the table's name.
// A folder that can be read but not written is opened read-only: the main database is kept in memory (no
// hidden file is made) and every table file is attached read-only.
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

    bool folderIsReadOnly() const { return m_readOnlyFolder; }
    // why nothing can be written in the folder, for the operator; empty when it can
    QString folderRefusal() const;
    // Why the table may not be written: a read-only folder, a damaged or read-only file; empty when it may.
    // The store refuses every write to such a table with this message.
    QString writeRefusal(const QString& table) const;

    // Runs SQLite's quick check on the file of an attached table, once: a damaged file is from then on only
    // read. Returns whether the file is sound; raises StoreError if the check itself cannot run, then and at
    // every later call.
    bool checkTable(const QString& table);
    // Starts the quick check of every attached table file not checked yet, each on a thread of its own
    // through a read-only connection of its own, so that no key the operator presses waits for it. A write
    // to a file waits for its answer; checkTable() takes the answer instead of checking again, and
    // tableChecksAnswered() tells when every check started has its answer.
    void startTableChecks();
    bool isDamaged(const QString& table) const;
    // whether the quick check has run on the table's file and found it sound
    bool passedCheck(const QString& table) const;
    // what the quick check found in a damaged table's file
    QString damageFinding(const QString& table) const;
    // the tables attached so far, by the names they were attached under
    QStringList attachedTables() const;

    // The table's file in the working directory (found without regard to case), or the name it would get.
    QString tableFilePath(const QString& table) const;
    // A file of 0 bytes is a table whose creation was interrupted: it counts as missing.
    bool tableFileExists(const QString& table) const;

    // Attaches the table's file if it exists; throws StoreError naming the file if it is not a table file.
    // A file emptied by rolling back its interrupted creation is left unattached, as a missing one.
    void attachExisting(const QString& table);
    // Attaches the file of a table about to be made, as an empty file if it is missing: SQLite attaches only
    // outside a transaction, so a table made inside one has its file attached first. Raises StoreError in a
    // read-only folder.
    void attachForCreation(const QString& table);
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
    // names the savepoints of nested transactions apart, per connection
    int nextSavepointNumber() { return ++m_savepoints; }
    // A command begins: it may wait for a table that another program holds locked (LockWait).
    void restartLockWait();
    // For a command that gave up on a lock and has rolled back: which table files are locked, by name.
    QString lockedTablesMessage() const;
    qint64 lastInsertId() const;
    sqlite3* handle() const { return connection(); }
    // long work on this connection, for the window that shows it
    LongWork& work() { return m_work; }

    // Tells every open view that rows of this table changed behind its back (rollback, bulk SQL).
    void notifyTableReset(FolderTable table);
    void notifyAllTablesReset();
    // Tells the views of a table that one row is about to be changed or deleted, and then that it was
    // written (changed, added or deleted), by someone else (another view). A view that has not read the
    // row's place yet learns from the first whether the row was one of its own.
    void notifyRowAboutToChange(FolderTable table, qint64 id, const QObject* origin);
    void notifyRowChanged(FolderTable table, qint64 id, const QObject* origin);

Q_SIGNALS:
    void tableReset(FolderTable table);
    void rowAboutToChange(FolderTable table, qint64 id, const QObject* origin);
    void rowChanged(FolderTable table, qint64 id, const QObject* origin);
    void tableChecksAnswered();

private:
    struct AttachedFile
    {
        QString table; // spelt as it was attached
        QString fileName;
    };

    static int authorize(void* self, int action, const char* first, const char* second, const char* schema,
                         const char* trigger);
    // a statement that the authorizer refuses raises the refusal, not SQLite's bare "not authorized"
    Statement makeStatement(const QString& sql, const QString& context = {});
    void attachFile(const QString& table, const QString& path);
    void setJournalMode(const QString& table);
    QString fileNames(const QStringList& tables) const;
    void runPragma(const QString& sql);
    sqlite3* connection() const;
    // a check's answer kept as checkTable() keeps its own; raises StoreError for a check that could not run
    bool recordCheck(const QString& key, const TableCheckAnswer& check);
    // the answer of a check started in the background, if there is one, waited for and kept; a check that
    // could not run is raised by checkTable()
    void takeBackgroundCheck(const QString& key);

    QDir m_dir;
    bool m_readOnlyFolder = false;
    sqlite3* m_db = nullptr;
    QString m_openError;
    std::unique_ptr<LockWait> m_lockWait;
    QHash<QString, AttachedFile> m_attached; // lower-case table name -> the table and its file
    QSet<QString> m_checked;
    QHash<QString, QString> m_damage;        // lower-case table name -> what the quick check found
    QHash<QString, QString> m_checkFailures; // lower-case table name -> why its check could not run
    BackgroundTableChecks m_backgroundChecks;
    QSet<QString> m_readOnlyFiles;
    QString m_refused; // why the statement being prepared was refused
    int m_savepoints = 0;
    LongWork m_work;
};

// Quotes an identifier for SQLite.
QString quoteIdentifier(const QString& name);
