#include "store/LockWait.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace
{
constexpr int kPollMs = 10;
} // namespace

LockWait::LockWait(sqlite3* db)
    : m_db(db)
{
    sqlite3_busy_handler(db, &LockWait::onBusy, this);
}

void LockWait::restart()
{
    m_waiting.invalidate();
}

int LockWait::onBusy(void* self, int attempt)
{
    auto* wait = static_cast<LockWait*>(self);
    // a statement of its own outside a transaction is a command of its own
    if (attempt == 0 && sqlite3_get_autocommit(wait->m_db)) {
        wait->restart();
    }
    if (!wait->m_waiting.isValid()) {
        wait->m_waiting.start();
    }
    if (wait->m_waiting.elapsed() >= kLimitMs) {
        return 0;
    }
    sqlite3_sleep(kPollMs);
    return 1;
}

QStringList filesLockedByOthers(const QStringList& paths)
{
    QStringList locked;
    for (const QString& path : paths) {
        sqlite3* probe = nullptr;
        // SQLite shares the file's locks among the connections of the process, so closing this one never
        // drops a lock that the program's own connection holds
        if (sqlite3_open_v2(path.toUtf8().constData(), &probe, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            const int rc = sqlite3_exec(probe, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            if ((rc & 0xff) == SQLITE_BUSY) {
                locked.append(path);
            } else if (rc == SQLITE_OK) {
                sqlite3_exec(probe, "ROLLBACK", nullptr, nullptr, nullptr);
            }
        }
        sqlite3_close(probe);
    }
    return locked;
}

QString lockedFilesMessage(const QStringList& lockedPaths)
{
    if (lockedPaths.isEmpty()) {
        return QStringLiteral("A table file of the contest folder was locked by another program, so nothing was "
                              "written. Try again.");
    }
    QStringList names;
    for (const QString& path : lockedPaths) {
        names.append(QFileInfo(path).fileName());
    }
    const QString verb = names.size() == 1 ? QStringLiteral("is") : QStringLiteral("are");
    return QStringLiteral("%1 %2 locked by another program, so nothing was written. Close the table in that "
                          "program (or let it finish its change) and try again.")
        .arg(names.join(QStringLiteral(", ")), verb);
}
