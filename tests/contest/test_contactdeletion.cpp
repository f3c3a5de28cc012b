#include "contest/ContactDeletion.h"
#include "store/TableNames.h"
#include "support/WorkedContest.h"

#include <QTest>

// Ctrl+Delete takes the contact it was asked for and no other: a contest cleared and planned again leaves
// the journal rows of the earlier one with the same callsign, band, mode and tour.
class TestContactDeletion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deletesOnlyItsOwnContact_data();
    void deletesOnlyItsOwnContact();
};

void TestContactDeletion::deletesOnlyItsOwnContact_data()
{
    QTest::addColumn<bool>("plannedAgain");
    QTest::addColumn<bool>("workedAgain");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<int>("workedRows");
    const QString newest = QStringLiteral("ORDER BY ID DESC LIMIT 1");
    QTest::newRow("worked planned row") << false << false << kTableContest << newest << QStringList() << 0;
    QTest::newRow("unworked planned row beside an earlier contact")
        << true << false << kTableContest << QStringLiteral("AND T IS NULL ") + newest
        << QStringList{QStringLiteral("20:05:13")} << 0;
    QTest::newRow("journal row of this contest")
        << true << true << kTableJournal << newest << QStringList{QStringLiteral("20:05:13")} << 0;
    QTest::newRow("journal row of an earlier contest")
        << true << true << kTableJournal << QStringLiteral("ORDER BY ID LIMIT 1")
        << QStringList{QStringLiteral("20:06:13")} << 1;
}

void TestContactDeletion::deletesOnlyItsOwnContact()
{
    QFETCH(bool, plannedAgain);
    QFETCH(bool, workedAgain);
    QFETCH(QString, table);
    QFETCH(QString, row);
    QFETCH(QStringList, journal);
    QFETCH(int, workedRows);
    WorkedContest c;
    if (plannedAgain) {
        ClearContestTable(*c.db, c.views());
        c.newCallsign(QStringLiteral("RA3ABC"));
    }
    if (workedAgain) {
        c.clock.now = c.clock.now.addSecs(60);
        QCOMPARE(c.enter(), ContactOutcome::Recorded);
    }
    const int id = c.count(
        QStringLiteral("SELECT ID FROM %1 WHERE Diapasone=80 AND Modulation='SSB' %2").arg(table, row));
    const DeletionOutcome outcome = table == kTableJournal ? DeleteJournalRow(*c.db, id) : DeletePlannedRow(*c.db, id);
    QVERIFY(outcome != DeletionOutcome::RowGone);
    QStringList times;
    Statement rows = c.db->prepare(QStringLiteral("SELECT substr(T, 1, 8) FROM Journal ORDER BY ID"));
    while (rows.step()) {
        times << rows.column(0).toString();
    }
    QCOMPARE(times, journal);
    QCOMPARE(c.count(QStringLiteral("SELECT count(*) FROM Contest WHERE T IS NOT NULL")), workedRows);
    // a row deleted before is gone: nothing more is deleted
    QCOMPARE(DeletePlannedRow(*c.db, -1), DeletionOutcome::RowGone);
}

QTEST_GUILESS_MAIN(TestContactDeletion)
#include "test_contactdeletion.moc"
