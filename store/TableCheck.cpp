#include "store/TableCheck.h"

#include <sqlite3.h>

namespace
{
// A commit of the program's own connection, or of another program, holds the file for a moment: the check
// waits for it rather than fail. The wait is bounded, since closing the window waits for the check.
constexpr int kBusyWaitMs = 10000;
} // namespace

TableCheckAnswer quickCheckTableFile(const QString& path)
{
    TableCheckAnswer result;
    sqlite3* db = nullptr;
    const QByteArray file = path.toUtf8();
    result.code = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    if (result.code == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyWaitMs);
        result.code = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr);
    }
    if (result.code == SQLITE_OK) {
        result.code = sqlite3_step(check);
        if (result.code == SQLITE_ROW) {
            result.answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        }
    }
    result.message = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(result.code));
    sqlite3_finalize(check);
    sqlite3_close_v2(db);
    return result;
}

BackgroundTableChecks::~BackgroundTableChecks()
{
    for (auto& [key, run] : m_runs) {
        if (run->thread.joinable()) {
            run->thread.join();
        }
    }
}

void BackgroundTableChecks::start(const QString& key, const QString& path)
{
    if (isStarted(key)) {
        return;
    }
    auto run = std::make_unique<Run>();
    Run* running = run.get();
    // the answer is told through the event loop of this object's thread, which the destructor's wait keeps alive
    run->thread = std::thread([this, running, key, path] {
        running->answer = quickCheckTableFile(path);
        QMetaObject::invokeMethod(
            this, [this, key] { Q_EMIT answered(key); }, Qt::QueuedConnection);
    });
    m_runs.emplace(key, std::move(run));
}

const TableCheckAnswer* BackgroundTableChecks::wait(const QString& key)
{
    const auto found = m_runs.find(key);
    if (found == m_runs.end()) {
        return nullptr;
    }
    if (found->second->thread.joinable()) {
        found->second->thread.join();
    }
    return &found->second->answer;
}

std::optional<TableCheckAnswer> BackgroundTableChecks::take(const QString& key)
{
    const auto found = m_runs.find(key);
    if (found == m_runs.end()) {
        return std::nullopt;
    }
    wait(key);
    TableCheckAnswer answer = std::move(found->second->answer);
    m_runs.erase(found);
    return answer;
}
