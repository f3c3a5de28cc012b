#pragma once

#include "contest/Prompter.h"
#include "shell/Unit1.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <deque>
#include <memory>

// The windows of the benchmarks are drawn offscreen unless another platform is asked for.
inline void useOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Answers every prompt at once with the next queued answer.
class InstantPrompter : public Prompter
{
public:
    std::deque<QString> answers;
    int messages = 0;

    std::optional<QString> askLine(const QString&, const QString&) override
    {
        if (answers.empty()) {
            return std::nullopt;
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showMessage(const QString&) override { ++messages; }
};

class FixedClock : public Clock
{
public:
    QDateTime now = QDateTime(QDate(2006, 10, 22), QTime(20, 5, 13));
    QDateTime localNow() const override { return now; }
    QDateTime utcNow() const override { return now.toUTC(); }
};

// The window working in a contest folder, shown offscreen, with the timer stopped and the prompts
// answered at once. The settings file goes to a temporary configuration folder.
class BenchWindow
{
public:
    explicit BenchWindow(const QString& folder);
    ~BenchWindow();

    TForm1& form() { return *m_form; }
    InstantPrompter& prompter() { return m_prompter; }
    // lets the window repaint what changed
    static void settle();
    // the event loop as the operator's window runs it, for the given time
    static void runEventLoop(int milliseconds);
    // the operator's own pause between the window coming up and the first station worked
    static constexpr int kOperatorPauseMs = 1500;

private:
    QTemporaryDir m_config;
    QString m_previousDirectory;
    InstantPrompter m_prompter;
    FixedClock m_clock;
    std::unique_ptr<TForm1> m_form;
};
