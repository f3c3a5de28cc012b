#include "store/TableRestore.h"

#include "store/Database.h"
#include "store/FolderTable.h"
#include "store/StoreError.h"
#include "store/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <memory>

namespace
{
struct ConnectionCloser
{
    void operator()(sqlite3* connection) const { sqlite3_close(connection); }
};

QString copySchema(const QString& table)
{
    return QStringLiteral("copy_") + table;
}

QStringList columnsOf(Database& db, const QString& schema, const QString& table)
{
    Statement info = db.prepare(
        QStringLiteral("PRAGMA %1.table_info(%2)").arg(quoteIdentifier(schema), quoteIdentifier(table)));
    QStringList columns;
    while (info.step()) {
        columns.append(info.column(1).toString());
    }
    return columns;
}

// The copies are attached read-only under names of their own, and detached again whatever happens.
class AttachedCopies
{
public:
    explicit AttachedCopies(Database& db)
        : m_db(db)
    {
    }
    ~AttachedCopies()
    {
        for (const QString& schema : m_schemas) {
            try {
                m_db.prepare(QStringLiteral("DETACH DATABASE %1").arg(quoteIdentifier(schema))).run();
            } catch (const StoreError&) {
                // left attached, it is only read and goes with the connection
            }
        }
    }
    AttachedCopies(const AttachedCopies&) = delete;
    AttachedCopies& operator=(const AttachedCopies&) = delete;

    void attach(const QString& schema, const QString& file)
    {
        Statement attach = m_db.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(quoteIdentifier(schema)));
        const QString readOnly = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
        attach.bind(1, readOnly);
        attach.run();
        m_schemas.append(schema);
    }

private:
    Database& m_db;
    QStringList m_schemas;
};
} // namespace

QString copiedTableFile(const QString& folder, const QString& table)
{
    const QDir dir(folder);
    const QString wanted = table + QLatin1String(Database::kTableFileSuffix);
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& file : files) {
        if (file.compare(wanted, Qt::CaseInsensitive) == 0) {
            return dir.absoluteFilePath(file);
        }
    }
    return {};
}

CopiedRows countCopiedRows(const QString& file, const QString& table, const QString& field)
{
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, ConnectionCloser> copy(raw);
    const QString context = QDir::toNativeSeparators(file);
    if (opened != SQLITE_OK) {
        throw StoreError(QStringLiteral("%1: %2").arg(
            context, raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QStringLiteral("out of memory")));
    }
    // a missing column must fail, not be counted as the string of its name
    sqlite3_db_config(copy.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    Statement count(
        copy.get(),
        QStringLiteral("SELECT count(*), count(%1) FROM %2").arg(quoteIdentifier(field), quoteIdentifier(table)),
        context);
    count.step();
    return {count.column(0).toLongLong(), count.column(1).toLongLong()};
}

void restoreTableFiles(Database& db, const QStringList& tables, const QString& folder,
                       const std::function<void()>& alongside)
{
    for (const QString& table : tables) {
        db.attachExisting(table);
        if (!db.isAttached(table)) {
            throw StoreError(QStringLiteral("%1 is missing").arg(QFileInfo(db.tableFilePath(table)).fileName()));
        }
    }
    // SQLite attaches only outside a transaction
    AttachedCopies copies(db);
    for (const QString& table : tables) {
        if (const QString file = copiedTableFile(folder, table); !file.isEmpty()) {
            copies.attach(copySchema(table), file);
        }
    }
    {
        Transaction transaction(db);
        for (const QString& table : tables) {
            const QString target = QStringLiteral("%1.%1").arg(quoteIdentifier(table));
            db.prepareOn(table, QStringLiteral("DELETE FROM %1").arg(target)).run();
            if (copiedTableFile(folder, table).isEmpty()) {
                continue;
            }
            const QStringList copied = columnsOf(db, copySchema(table), table);
            QStringList shared;
            for (const QString& column : columnsOf(db, table, table)) {
                if (copied.contains(column, Qt::CaseInsensitive)) {
                    shared.append(quoteIdentifier(column));
                }
            }
            if (shared.isEmpty()) {
                throw StoreError(QStringLiteral("%1 is not a copy of the table %2")
                                     .arg(QDir::toNativeSeparators(copiedTableFile(folder, table)), table));
            }
            const QString columns = shared.join(u',');
            db.prepareOn(table,
                         QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3.%4")
                             .arg(target, columns, quoteIdentifier(copySchema(table)), quoteIdentifier(table)))
                .run();
        }
        if (alongside) {
            alongside();
        }
        transaction.commit();
    }
    for (const QString& table : tables) {
        if (const std::optional<FolderTable> folderTableOf = folderTable(table)) {
            db.notifyTableReset(*folderTableOf);
        }
    }
}
