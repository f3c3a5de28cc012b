// What the operator can feel: a timer ticking every 5 ms from the start of the process, through the window's
// construction and first paint, the file check, the first contact and the first tour change. Printed is
// the longest gap between two ticks, once as it was and once without the contact's own durable commit,
// which waits for the disk whatever the program does.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/Database.h"
#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kTickMs = 5;

// the longest gap between ticks, and how much of the gap the durable commits inside it took
class StallWatch
{
public:
    StallWatch()
    {
        m_clock.start();
        m_ticker.setInterval(kTickMs);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
        m_ticker.start();
    }

    // the commits of the connection are timed from now on
    void watchCommits(Database& db)
    {
        sqlite3_trace_v2(db.handle(), SQLITE_TRACE_PROFILE, &StallWatch::profiled, this);
    }

    // the benchmark's own work, such as finding a row to work, is no gap of the program's
    template<typename Work>
    void leaveOut(const Work& work)
    {
        work();
        m_last = m_clock.nsecsElapsed();
    }

    qint64 longestGap() const { return m_longest; }

    qint64 longestGapWithoutCommits() const { return m_longestWithoutCommits; }

private:
    static int profiled(unsigned, void* self, void* statement, void* nanoseconds)
    {
        const QByteArray sql(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
        if (sql.startsWith("COMMIT") || sql.startsWith("RELEASE")) {
            static_cast<StallWatch*>(self)->m_commits += *static_cast<qint64*>(nanoseconds);
        }
        return 0;
    }

    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 gap = now - m_last;
        m_longest = std::max(m_longest, gap);
        m_longestWithoutCommits = std::max(m_longestWithoutCommits, gap - m_commits);
        m_last = now;
        m_commits = 0;
    }

    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_last = 0;
    qint64 m_commits = 0;
    qint64 m_longest = 0;
    qint64 m_longestWithoutCommits = 0;
};

void firstContactAndTourChange(BenchWindow& window, StallWatch& watch)
{
    TForm1& form = window.form();
    watch.watchCommits(form.database());
    BenchWindow::runEventLoop(BenchWindow::kOperatorPauseMs);
    TableView& band = controls(form).bandView(0);
    const int serial = controls(form).nppEdit().value();
    watch.leaveOut([&band] {
        const int time = band.fieldIndex(u"T"_s);
        int row = band.recordCount() - 1;
        while (row >= 0 && !band.valueAt(row, time).isNull()) {
            --row;
        }
        if (row < 0) {
            throw std::runtime_error("no unworked row left");
        }
        band.moveTo(row);
    });
    window.prompter().answers.push_back(u"15 100"_s);
    QTest::keyClick(&controls(form).bandGrid(0), Qt::Key_Return);
    BenchWindow::runEventLoop(kTickMs * 4);
    if (controls(form).nppEdit().value() != serial + 1) {
        throw std::runtime_error("the contact was not recorded");
    }
    controls(form).tour().setValue(controls(form).tour().value() + 1);
    BenchWindow::runEventLoop(kTickMs * 4);
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("longest gap between 5 ms ticks");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        generateContestFolder(folder.path(), scale);
        StallWatch watch;
        {
            BenchWindow window(folder.path());
            firstContactAndTourChange(window, watch);
        }
        const double targetMs = scale.participants > 2000 ? 100 : 50;
        printWithin("longest gap, start-up to a tour change", name, watch.longestGap(), kTickMs * 1000000LL, targetMs);
        printWithin("the same without the contact's commit", name, watch.longestGapWithoutCommits(),
                    kTickMs * 1000000LL, targetMs);
    }
    return 0;
}
