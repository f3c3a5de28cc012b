#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <thread>

// What SQLite's quick check said of one table file.
struct TableCheckAnswer
{
    int code = 0;    // the engine's result code of the check's step (SQLITE_ROW when it ran)
    QString answer;  // the check's own text: "ok", or what it found
    QString message; // the engine's message, for a check that could not run
};

// The quick check of a table file through a read-only connection of its own, so that it can run on another
// thread while the program's own connection goes on; SQLite's locks keep the two apart.
TableCheckAnswer quickCheckTableFile(const QString& path);

// Quick checks of table files, each running on a thread of its own; the answer of each is taken once, on
// the thread that started it. The destructor waits for the checks still running.
class BackgroundTableChecks : public QObject
{
    Q_OBJECT

public:
    BackgroundTableChecks() = default;
    ~BackgroundTableChecks() override;
    BackgroundTableChecks(const BackgroundTableChecks&) = delete;
    BackgroundTableChecks& operator=(const BackgroundTableChecks&) = delete;

    void start(const QString& key, const QString& path);
    bool isStarted(const QString& key) const { return m_runs.contains(key); }
    bool isEmpty() const { return m_runs.empty(); }
    // the check's answer, waited for if it still runs; nothing when none was started under the key
    std::optional<TableCheckAnswer> take(const QString& key);
    // The same, left to be taken: for a caller that must not change the connection (SQLite's authorizer).
    const TableCheckAnswer* wait(const QString& key);

Q_SIGNALS:
    // a check has its answer, to be taken
    void answered(const QString& key);

private:
    struct Run
    {
        std::thread thread;
        TableCheckAnswer answer;
    };

    std::map<QString, std::unique_ptr<Run>> m_runs;
};
