#pragma once

#include <QElapsedTimer>
#include <QStringList>

struct sqlite3;

// Another program (a database browser, say) may hold a table file locked while the operator works. The
// connection waits for such a lock a short while, so that a lock held for a moment goes unnoticed; past
// that the command fails as a whole and the window is never frozen longer than the wait. The wait counts
// per command: the statements of one transaction share it, however many of them meet the lock.
class LockWait
{
public:
    static constexpr int kLimitMs = 2000;

    explicit LockWait(sqlite3* db);
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    // a new command starts: it may wait the whole limit again
    void restart();

private:
    static int onBusy(void* self, int attempt);

    sqlite3* m_db;
    QElapsedTimer m_waiting;
};

// Which of these table files another connection holds a lock on now: each is asked through a connection
// of its own for an exclusive lock, without waiting. Ask only once the failed command has rolled back, or
// its own locks are taken for the other program's.
QStringList filesLockedByOthers(const QStringList& paths);

// The operator's message for a command that gave up on a lock: the files that are still locked, by name.
QString lockedFilesMessage(const QStringList& lockedPaths);
