#include "contest/Participants.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <memory>

// Kills the contact driver at random moments and checks after every kill that each contact it reported
// is in both tables, that no contact stands in one table only, and that no serial was handed out twice.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contactsSurviveKills();
};

namespace
{
constexpr int kKills = 200;
// a run that works the whole contest is not killed; on a fast disk that may happen now and then
constexpr int kMaxRuns = 2 * kKills;
constexpr int kParticipants = 100;
constexpr int kTours = 8;

struct Figures
{
    int kills = 0;
    int reported = 0;
    int lost = 0;
    int halfContacts = 0;
    int contestsWorked = 0;
};

void prepareContest(const QString& folder)
{
    ContestFixture contest;
    QDir::setCurrent(folder);
    FakePrompter prompter;
    const ParticipantViews views{*contest.callsign, *contest.contest80, *contest.contest80CW, *contest.contest160,
                                 *contest.contest160CW};
    QStringList callsigns;
    for (int i = 0; i < kParticipants; ++i) {
        callsigns.append(QStringLiteral("RA%1ABC").arg(i, 3, 10, QLatin1Char('0')));
    }
    QFile list(contest.env.path(QStringLiteral("Callsign.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(callsigns.join(u'\n').toLatin1());
    list.close();
    ImportCallsign(*contest.db, views, list.fileName(), {1, [] { return kTours; }});
    // move the prepared tables into the folder the driver works in
    contest.callsign.reset();
    contest.journal.reset();
    contest.contest80.reset();
    contest.contest80CW.reset();
    contest.contest160.reset();
    contest.contest160CW.reset();
    contest.db.reset();
    for (const QString& name :
         {QStringLiteral("Callsign.db"), QStringLiteral("Contest.db"), QStringLiteral("Journal.db")}) {
        QVERIFY(QFile::copy(contest.env.path(name), QDir(folder).absoluteFilePath(name)));
    }
}

void checkFolder(const QString& folder, const QSet<qint64>& reportedRows, Figures& figures)
{
    Database db(folder);
    for (const QString& table : {QStringLiteral("Callsign"), QStringLiteral("Contest"), QStringLiteral("Journal")}) {
        db.attachExisting(table);
        Statement check = db.prepare(QStringLiteral("PRAGMA %1.integrity_check").arg(table));
        QVERIFY(check.step());
        QCOMPARE(check.column(0).toString(), QStringLiteral("ok"));
    }
    QSet<qint64> worked;
    Statement contest = db.prepare(QStringLiteral("SELECT ID, SentText FROM Contest WHERE T IS NOT NULL"));
    QSet<QString> contestSent;
    while (contest.step()) {
        worked.insert(contest.column(0).toLongLong());
        contestSent.insert(contest.column(1).toString());
    }
    for (qint64 id : reportedRows) {
        if (!worked.contains(id)) {
            ++figures.lost;
        }
    }
    Statement journal = db.prepare(QStringLiteral("SELECT SentText FROM Journal"));
    QSet<QString> journalSent;
    int journalRows = 0;
    while (journal.step()) {
        journalSent.insert(journal.column(0).toString());
        ++journalRows;
    }
    QCOMPARE(journalSent.size(), journalRows); // no serial twice
    QCOMPARE(contestSent.size(), int(worked.size()));
    figures.halfContacts += int((journalSent - contestSent).size() + (contestSent - journalSent).size());
}
} // namespace

void TestCrashSafety::contactsSurviveKills()
{
    TestEnvironment env;
    std::unique_ptr<QTemporaryDir> folder;
    QRandomGenerator random(20061022);
    Figures figures;
    QSet<qint64> reportedRows;
    for (int run = 0; figures.kills < kKills; ++run) {
        QVERIFY2(run < kMaxRuns, qPrintable(QStringLiteral("only %1 kills in %2 runs").arg(figures.kills).arg(run)));
        if (!folder) {
            // a fresh contest once the driver has worked the last one to its end
            folder = std::make_unique<QTemporaryDir>();
            reportedRows.clear();
            prepareContest(folder->path());
            if (QTest::currentTestFailed()) {
                return;
            }
            Database db(folder->path());
            db.attachExisting(QStringLiteral("Contest"));
            Statement rows = db.prepare(QStringLiteral("SELECT count(*) FROM Contest"));
            QVERIFY(rows.step());
            QCOMPARE(rows.column(0).toInt(), kParticipants * kTours * 4);
        }
        QProcess driver;
        driver.start(QStringLiteral(CRASH_DRIVER_PATH), {folder->path()});
        QVERIFY(driver.waitForStarted());
        // a different point each time: from before the tables are open to deep into a run
        QTest::qWait(int(random.bounded(10, 250)));
        if (driver.state() == QProcess::Running) {
            driver.kill();
            ++figures.kills;
        }
        driver.waitForFinished();
        if (driver.exitStatus() == QProcess::NormalExit && driver.exitCode() != 0) {
            QFAIL(driver.readAllStandardError().constData());
        }
        const QList<QByteArray> lines = driver.readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words.at(0) == "DONE") {
                reportedRows.insert(words.at(1).toLongLong());
                ++figures.reported;
            }
        }
        checkFolder(folder->path(), reportedRows, figures);
        if (QTest::currentTestFailed()) {
            return;
        }
        if (driver.exitStatus() == QProcess::NormalExit) {
            folder.reset();
            ++figures.contestsWorked;
        }
    }
    qInfo("kills %d, contacts reported %d, contests worked to the end %d, lost %d, half contacts %d", figures.kills,
          figures.reported, figures.contestsWorked, figures.lost, figures.halfContacts);
    QVERIFY(figures.reported > 0);
    QCOMPARE(figures.lost, 0);
    QCOMPARE(figures.halfContacts, 0);
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crashsafety.moc"
