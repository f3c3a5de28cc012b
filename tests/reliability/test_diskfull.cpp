#include "contest/ContactEntry.h"
#include "contest/ContestValues.h"
#include "contest/Participants.h"
#include "store/StoreError.h"
#include "support/ContestFixture.h"
#include "support/FailingVfs.h"
#include "support/Fakes.h"

#include <QFile>
#include <QTest>

// Writes that fail part-way, as on a full disk, during each action that writes rows: the action reports
// the failure, nothing recorded before is lost or damaged, and once space is back it succeeds.
class TestDiskFull : public QObject
{
    Q_OBJECT

private:
    struct Contest : ContestFixture
    {
        FakePrompter prompter;
        FakeClock clock;
        ContestValues values{22, 1, 1, 8};

        Contest()
            : ContestFixture(FailingVfs::kName)
        {
            QFile list(env.path(QStringLiteral("Callsign.txt")));
            if (list.open(QIODevice::WriteOnly)) {
                list.write("RA3ABC\nUA1XYZ\nRN6AA\n");
            }
            list.close();
            import();
            enter(QStringLiteral("23 001"));
        }

        ~Contest() { FailingVfs::heal(); }

        ParticipantViews views() { return {*callsign, *contest80, *contest80CW, *contest160, *contest160CW}; }
        void import()
        {
            ImportCallsign(*db, views(), env.path(QStringLiteral("Callsign.txt")), {1, [] { return 8; }});
        }

        ContactOutcome enter(const QString& code)
        {
            prompter.answers.push_back(code);
            contest80->first();
            const ContactEntryContext context{
                *db, *contest80, QStringLiteral("80 м - SSB"), *journal, prompter, clock, false, values};
            return EnterContact(context);
        }

        // what was recorded is whole: both halves of every contact, sound files
        void verifyIntact(int contacts, int participants)
        {
            QCOMPARE(count(QStringLiteral("select count(*) from Journal")), contacts);
            QCOMPARE(count(QStringLiteral("select count(*) from Contest where T is not null")), contacts);
            QCOMPARE(count(QStringLiteral("select count(*) from Callsign")), participants);
            QCOMPARE(count(QStringLiteral("select count(*) from Contest")), participants * 32);
            for (const QString& table :
                 {QStringLiteral("Callsign"), QStringLiteral("Contest"), QStringLiteral("Journal")}) {
                Statement check = db->prepare(QStringLiteral("PRAGMA %1.integrity_check").arg(table));
                QVERIFY(check.step());
                QCOMPARE(check.column(0).toString(), QStringLiteral("ok"));
            }
            QCOMPARE(journal->recordCount(), contacts);
            QCOMPARE(callsign->recordCount(), participants);
            for (TableView* view : all()) {
                QVERIFY(view->isOpen());
                QVERIFY(!view->isEditing());
            }
        }
    };

private Q_SLOTS:
    void initTestCase() { FailingVfs::registerOnce(); }
    void contact_data() { budgets(); }
    void contact();
    void import_data() { budgets(); }
    void import();
    void clear_data() { budgets(); }
    void clear();

private:
    static void budgets()
    {
        QTest::addColumn<long long>("budget");
        for (long long bytes : {0LL, 100LL, 1024LL, 4096LL, 8192LL, 20000LL}) {
            QTest::addRow("after %lld bytes", bytes) << bytes;
        }
    }
};

void TestDiskFull::contact()
{
    QFETCH(long long, budget);
    Contest c;
    c.verifyIntact(1, 3);
    FailingVfs::failAfter(budget);
    const ContactOutcome outcome = c.enter(QStringLiteral("23 002"));
    const bool refused = FailingVfs::refusedWrites() > 0;
    FailingVfs::heal();
    if (refused) {
        QCOMPARE(outcome, ContactOutcome::NotRecorded);
        QCOMPARE(c.prompter.messages.size(), 1);
        QVERIFY(c.prompter.messages.first().contains(QStringLiteral("not recorded")));
        c.verifyIntact(1, 3);
        QCOMPARE(c.enter(QStringLiteral("23 002")), ContactOutcome::Recorded);
    } else {
        QCOMPARE(outcome, ContactOutcome::Recorded);
    }
    c.verifyIntact(2, 3);
}

void TestDiskFull::import()
{
    QFETCH(long long, budget);
    Contest c;
    QFile list(c.env.path(QStringLiteral("Callsign.txt")));
    QVERIFY(list.open(QIODevice::Append));
    list.write("DL1ABC\nOH2XYZ\n");
    list.close();
    FailingVfs::failAfter(budget);
    bool failed = false;
    try {
        c.import();
    } catch (const StoreError&) {
        failed = true;
    }
    QCOMPARE(failed, FailingVfs::refusedWrites() > 0);
    FailingVfs::heal();
    if (failed) {
        c.verifyIntact(1, 3);
        c.import();
    }
    c.verifyIntact(1, 5);
}

void TestDiskFull::clear()
{
    QFETCH(long long, budget);
    Contest c;
    FailingVfs::failAfter(budget);
    bool failed = false;
    try {
        ClearContestTable(*c.db, c.views());
    } catch (const StoreError&) {
        failed = true;
    }
    QCOMPARE(failed, FailingVfs::refusedWrites() > 0);
    FailingVfs::heal();
    if (failed) {
        c.verifyIntact(1, 3);
        ClearContestTable(*c.db, c.views());
    }
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 0);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Callsign")), 0);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Journal")), 1);
}

QTEST_GUILESS_MAIN(TestDiskFull)
#include "test_diskfull.moc"
