#include "support/SoakContest.h"
#include "support/TestEnvironment.h"

#include <QTest>

// A whole contest worked through the window, at about a tenth of a regional contest (bench/bench_soak
// runs the full size and times it): at the end the journal, the contest table, the score and the report
// agree with what was entered, and memory has not grown with the contacts.
class TestSoak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeContestAgreesWithWhatWasEntered();
};

void TestSoak::wholeContestAgreesWithWhatWasEntered()
{
    const TestEnvironment env;
    SoakPlan plan;
    plan.participants = 250;
    plan.contacts = 800;
    plan.warmupContacts = 80;
    // The full contest may grow by 20 MB over its last 9,000 contacts: the same per contact here, and the
    // 4 MB that SQLite's page caches of the contest and journal files fill once (2 MB each at most).
    const qint64 allowedGrowthKb = 20 * 1024 * qint64(plan.contacts - plan.warmupContacts) / 9000 + 4 * 1024;
    try {
        SoakContest contest(plan);
        contest.importParticipants();
        contest.runTours();
        const QStringList problems = contest.disagreements();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

        const SoakFigures& figures = contest.figures();
        QVERIFY(figures.corrections > 0 && figures.takeBacks > 0 && figures.reworks > 0);
        QCOMPARE(figures.toursChangedInPrompt, plan.tours / 2);
        const qint64 growthKb = figures.rssAtEndKb - figures.rssAfterWarmupKb;
        QVERIFY2(figures.rssAfterWarmupKb > 0 && growthKb <= allowedGrowthKb,
                 qPrintable(QStringLiteral("memory grew by %1 kB after the first %2 contacts, %3 kB allowed")
                                .arg(growthKb)
                                .arg(plan.warmupContacts)
                                .arg(allowedGrowthKb)));
    } catch (const SoakFailure& failure) {
        QFAIL(failure.what());
    }
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
