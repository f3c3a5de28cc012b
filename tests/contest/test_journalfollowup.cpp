#include "support/WorkedContest.h"

#include <QTest>

class TestJournalFollowUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editModeOffChangesNothing();
    void changedTimeAndTextsFollow();
    void clearedTimeRemovesJournalRow();
    void brokenKeyMatchesNothing();
    void matchIgnoresLetterCase();
    void contactOfTourZeroIsNeverFound();
    void newMatrixKeepsEarlierContact();
    void contactEntryKeepsEarlierContactWithSameKey();
    void newestContactWithTheKeyIsTheOneFollowed();
    void journalRowOfAnotherContestNumberIsFound();
};

void TestJournalFollowUp::editModeOffChangesNothing()
{
    WorkedContest c;
    const QVariantList before = c.journalRow();
    c.editWorked(QStringLiteral("T"), QTime(21, 0));
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::changedTimeAndTextsFollow()
{
    WorkedContest c;
    c.editMode = true;
    c.editWorked(QStringLiteral("T"), QTime(21, 0, 5));
    c.editWorked(QStringLiteral("RecvText"), QStringLiteral("24 016"));
    const QVariantList row = c.journalRow();
    QCOMPARE(row.at(1).toString(), QStringLiteral("21:00:05.000"));
    QCOMPARE(row.at(3).toString(), QStringLiteral("24 016"));
    // the region follows the corrected code: the score goes by it
    QCOMPARE(row.at(4).toString(), QStringLiteral("24"));
    QCOMPARE(c.journal->text(QStringLiteral("RecvText")), QStringLiteral("24 016"));
}

void TestJournalFollowUp::clearedTimeRemovesJournalRow()
{
    WorkedContest c;
    c.newCallsign(QStringLiteral("UA1XYZ"));
    c.enter(); // a second contact, so that the removed row is not the last
    c.editMode = true;
    c.editWorked(QStringLiteral("T"), QVariant());
    QCOMPARE(c.count(QStringLiteral("select count(*) from Journal")), 1);
    QCOMPARE(c.journal->recordCount(), 1);
    QCOMPARE(c.journal->text(QStringLiteral("CallSign")), QStringLiteral("UA1XYZ"));
    // the row is planned again and can be entered anew
    QCOMPARE(c.enter(), ContactOutcome::Recorded);
}

void TestJournalFollowUp::brokenKeyMatchesNothing()
{
    WorkedContest c;
    c.editMode = true;
    const QVariantList before = c.journalRow();
    c.editWorked(QStringLiteral("CallSign"), QStringLiteral("RA3ABD"));
    QVERIFY(c.contest80->locate(QStringLiteral("CallSign"), {QStringLiteral("RA3ABD")}, true));
    c.contest80->edit();
    c.contest80->setValue(QStringLiteral("T"), QVariant());
    c.contest80->post();
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::matchIgnoresLetterCase()
{
    WorkedContest c;
    c.db->execute(QStringLiteral("update Journal set CallSign='ra3abc', Modulation='ssb'"));
    c.editMode = true;
    c.editWorked(QStringLiteral("SentText"), QStringLiteral("22 009"));
    QCOMPARE(c.journalRow().at(2).toString(), QStringLiteral("22 009"));
}

void TestJournalFollowUp::contactOfTourZeroIsNeverFound()
{
    WorkedContest c;
    c.db->execute(QStringLiteral("update Journal set TourNumber=0"));
    c.editMode = true;
    const QVariantList before = c.journalRow();
    c.editWorked(QStringLiteral("T"), QVariant());
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::newMatrixKeepsEarlierContact()
{
    WorkedContest c;
    c.editMode = true;
    ClearContestTable(*c.db, c.views());
    const QVariantList before = c.journalRow();
    c.newCallsign(QStringLiteral("RA3ABC")); // appends rows with the same key and no time
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 4);
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::contactEntryKeepsEarlierContactWithSameKey()
{
    WorkedContest c;
    c.editMode = true;
    ClearContestTable(*c.db, c.views());
    c.newCallsign(QStringLiteral("RA3ABC"));
    c.clock.now = c.clock.now.addSecs(60);
    QCOMPARE(c.enter(), ContactOutcome::Recorded);
    Statement rows = c.db->prepare(QStringLiteral("SELECT T FROM Journal ORDER BY ID"));
    QVERIFY(rows.step());
    QCOMPARE(rows.column(0).toString(), QStringLiteral("20:05:13.000"));
    QVERIFY(rows.step());
    QCOMPARE(rows.column(0).toString(), QStringLiteral("20:06:13.000"));
}

void TestJournalFollowUp::newestContactWithTheKeyIsTheOneFollowed()
{
    WorkedContest c;
    c.editMode = true;
    ClearContestTable(*c.db, c.views());
    c.newCallsign(QStringLiteral("RA3ABC"));
    const auto journalTexts = [&c] {
        QStringList texts;
        Statement rows = c.db->prepare(QStringLiteral("SELECT RecvText FROM Journal ORDER BY ID"));
        while (rows.step()) {
            texts << rows.column(0).toString();
        }
        return texts;
    };
    // a change to the row before it is worked again leaves the earlier contact alone
    c.editWorked(QStringLiteral("SentText"), QStringLiteral("22 005"));
    QCOMPARE(journalTexts(), QStringList{QStringLiteral("23 015")});

    QCOMPARE(c.enter(), ContactOutcome::Recorded);
    QCOMPARE(journalTexts(), (QStringList{QStringLiteral("23 015"), QStringLiteral("23 015")}));
    c.editWorked(QStringLiteral("RecvText"), QStringLiteral("25 777"));
    QCOMPARE(journalTexts(), (QStringList{QStringLiteral("23 015"), QStringLiteral("25 777")}));
    c.editWorked(QStringLiteral("T"), QVariant());
    QCOMPARE(journalTexts(), QStringList{QStringLiteral("23 015")});
}

void TestJournalFollowUp::journalRowOfAnotherContestNumberIsFound()
{
    WorkedContest c;
    // the operator changed the Contest field after the participants were added
    c.db->execute(QStringLiteral("update Journal set ContestNumber=7"));
    c.editMode = true;
    c.editWorked(QStringLiteral("RecvText"), QStringLiteral("31 015"));
    QCOMPARE(c.journalRow().at(3).toString(), QStringLiteral("31 015"));
    QCOMPARE(c.journalRow().at(4).toString(), QStringLiteral("31"));
}

QTEST_GUILESS_MAIN(TestJournalFollowUp)
#include "test_journalfollowup.moc"
