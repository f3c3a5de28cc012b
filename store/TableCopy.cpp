#include "store/TableCopy.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace
{
struct ConnectionCloser
{
    void operator()(sqlite3* connection) const { sqlite3_close(connection); }
};

QString engineMessage(sqlite3* connection)
{
    return connection ? QString::fromUtf8(sqlite3_errmsg(connection)) : QStringLiteral("out of memory");
}

void copyOne(Database& db, const QString& table, const QString& target)
{
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(target).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, ConnectionCloser> copy(raw);
    const auto fail = [&](sqlite3* connection) {
        throw StoreError(QStringLiteral("Cannot copy %1 to %2: %3")
                             .arg(QFileInfo(db.tableFilePath(table)).fileName(), QDir::toNativeSeparators(target),
                                  engineMessage(connection)));
    };
    if (opened != SQLITE_OK) {
        fail(copy.get());
    }
    sqlite3_exec(copy.get(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    const QByteArray schema = table.toUtf8();
    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", db.handle(), schema.constData());
    if (!backup) {
        fail(copy.get());
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
        fail(copy.get());
    }
}
} // namespace

void copyTableFiles(Database& db, const QStringList& tables, const QString& folder)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        throw StoreError(QStringLiteral("Cannot make the folder %1").arg(QDir::toNativeSeparators(folder)));
    }
    QStringList made;
    try {
        for (const QString& table : tables) {
            if (!db.tableFileExists(table)) {
                continue;
            }
            db.attachExisting(table);
            const QString target = dir.absoluteFilePath(QFileInfo(db.tableFilePath(table)).fileName());
            made.append(target);
            copyOne(db, table, target);
        }
    } catch (const StoreError&) {
        for (const QString& file : made) {
            QFile::remove(file);
            QFile::remove(file + QStringLiteral("-journal"));
        }
        QDir().rmdir(dir.absolutePath());
        throw;
    }
}
