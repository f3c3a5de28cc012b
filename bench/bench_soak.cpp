// A whole regional contest through the window: 2,000 participants imported, 10,000 contacts over 8 tours
// with the tour clock changing the tours, some corrected and some taken back, the report rewritten after
// every contact. It checks that the tables, the score and the report agree with what was entered, then
// compares the last 100 contacts with the first 100, and the memory at the end with the memory after the
// first 1,000 contacts. A contact's time is mostly the disk's: a durable commit of one row is measured
// next to the first and the last contacts, so that a change of the disk's pace can be told from the
// program's.
//
//   bench_soak [participants contacts]     (default 2000 10000)

#include "BenchTools.h"
#include "BenchWindow.h"

#include "support/SoakContest.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <cstdio>
#include <numeric>

namespace
{
constexpr int kCompared = 100;
constexpr double kTimeTarget = 1.5;
constexpr qint64 kMemoryTargetKb = 20 * 1024;
constexpr int kTrendSteps = 10;
constexpr int kProbeCommits = 15;

qint64 sumOf(std::vector<qint64>::const_iterator from, std::vector<qint64>::const_iterator to)
{
    return std::accumulate(from, to, qint64(0));
}

// median time of a one-row durable commit in the contest folder, as the program's store commits
qint64 durableCommitNs(const QString& folder)
{
    sqlite3* db = nullptr;
    const QByteArray path = QDir(folder).filePath(QStringLiteral("probe.db")).toUtf8();
    if (sqlite3_open(path.constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; CREATE TABLE IF NOT EXISTS p(x)", nullptr,
                 nullptr, nullptr);
    std::vector<qint64> samples;
    for (int i = 0; i < kProbeCommits; ++i) {
        QElapsedTimer timer;
        timer.start();
        sqlite3_exec(db, "BEGIN; INSERT INTO p VALUES (1); COMMIT", nullptr, nullptr, nullptr);
        samples.push_back(timer.nsecsElapsed());
    }
    sqlite3_close(db);
    return medianOf(samples);
}

// the median contact of each tenth of the run, to show how the cost follows the journal's size
void printTrend(const SoakFigures& figures)
{
    std::printf("\nmedian contact, Enter to idle, by tenth of the run:   elapsed   processor\n");
    const size_t count = figures.contactNs.size();
    const size_t step = std::max<size_t>(count / kTrendSteps, 1);
    const auto median = [](const std::vector<qint64>& all, size_t from, size_t to) {
        return toMilliseconds(
            medianOf(std::vector<qint64>(all.begin() + qsizetype(from), all.begin() + qsizetype(to))));
    };
    for (size_t from = 0; from < count; from += step) {
        const size_t to = std::min(from + step, count);
        std::printf("  contacts %5zu-%5zu %32.2f ms %8.2f ms\n", from + 1, to, median(figures.contactNs, from, to),
                    median(figures.contactCpuNs, from, to));
    }
}

bool printComparison(const char* what, const QByteArray& scale, const std::vector<qint64>& times)
{
    const qint64 first = sumOf(times.cbegin(), times.cbegin() + kCompared);
    const qint64 last = sumOf(times.cend() - kCompared, times.cend());
    printRatio(what, scale.constData(), last, first, kTimeTarget);
    return double(last) <= kTimeTarget * double(first);
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    SoakPlan plan;
    if (app.arguments().size() == 3) {
        plan.participants = app.arguments().at(1).toInt();
        plan.contacts = app.arguments().at(2).toInt();
        plan.warmupContacts = plan.contacts / 10;
    }
    if (plan.contacts < 2 * kCompared) {
        std::printf("at least %d contacts, please\n", 2 * kCompared);
        return 1;
    }
    const TestEnvironment folder;
    std::printf("soak: %d participants, %d tours, %d contacts\n", plan.participants, plan.tours, plan.contacts);
    std::fflush(stdout);
    QElapsedTimer wall;
    wall.start();
    try {
        SoakContest contest(plan);
        contest.importParticipants();
        std::printf("import of %d participants: %.0f ms\n", plan.participants,
                    toMilliseconds(contest.figures().importNs));
        const qint64 commitBefore = durableCommitNs(folder.workDir());
        contest.runTours([&contest, &wall](int tour) {
            std::printf("tour %d done: %zu contacts, %.0f s, RSS %lld kB\n", tour, contest.figures().contactNs.size(),
                        double(wall.elapsed()) / 1000.0, residentKilobytes());
            std::fflush(stdout);
        });
        const qint64 commitAfter = durableCommitNs(folder.workDir());
        const QStringList problems = contest.disagreements();
        const SoakFigures& figures = contest.figures();
        if (problems.isEmpty()) {
            std::printf("journal, contest table, score and Report.txt agree with what was entered");
        } else {
            std::printf("DISAGREEMENT:\n%s\n", qPrintable(problems.join(u'\n')));
        }
        std::printf(" (%d corrections, %d take-backs, %d taken-back rows worked again, %d tour changes in a prompt)\n",
                    figures.corrections, figures.takeBacks, figures.reworks, figures.toursChangedInPrompt);
        std::printf("whole run %.1f s, of which contacts %.1f s (processor %.1f s)\n", double(figures.runNs) / 1e9,
                    double(sumOf(figures.contactNs.cbegin(), figures.contactNs.cend())) / 1e9,
                    double(sumOf(figures.contactCpuNs.cbegin(), figures.contactCpuNs.cend())) / 1e9);
        std::printf("one-row durable commit on this disk: %.2f ms before the first contact, %.2f ms after the last\n",
                    toMilliseconds(commitBefore), toMilliseconds(commitAfter));
        printTrend(figures);

        std::printf("\n");
        printHeader("soak, last 100 contacts against the first 100");
        const QByteArray scale = QByteArray::number(plan.participants);
        const bool timeMet = printComparison("last 100 contacts / first 100, elapsed", scale, figures.contactNs);
        const bool processorMet = printComparison("last 100 contacts / first 100, processor", scale,
                                                  figures.contactCpuNs);
        const qint64 growth = figures.rssAtEndKb - figures.rssAfterWarmupKb;
        const bool memoryMet = growth <= kMemoryTargetKb;
        std::printf("memory: RSS %lld kB after %d contacts, %lld kB at the end (%+lld kB, target +%lld kB) %s; "
                    "peak %lld kB\n",
                    figures.rssAfterWarmupKb, plan.warmupContacts, figures.rssAtEndKb, growth, kMemoryTargetKb,
                    memoryMet ? "ok" : "MISSED", peakResidentKilobytes());
        if (!problems.isEmpty()) {
            return 1;
        }
        return timeMet && processorMet && memoryMet ? 0 : 2;
    } catch (const SoakFailure& failure) {
        std::printf("FAILED: %s\n", failure.what());
        return 1;
    }
}
