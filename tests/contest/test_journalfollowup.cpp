#include "contest/ContactEntry.h"
#include "contest/JournalFollowUp.h"
#include "contest/Participants.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include <QTest>

// A contest of one participant with one tour, whose 80 m SSB contact was logged in tour 1.
class TestJournalFollowUp : public QObject
{
    Q_OBJECT

private:
    struct Contest : ContestFixture
    {
        FakePrompter prompter;
        FakeClock clock;
        JournalFollowUp followUp{*journal};
        bool editMode = false;

        Contest()
        {
            for (TableView* view : all()) {
                view->setAfterPost([this](TableView& posted) { followUp.afterPost(posted, editMode); });
            }
            newCallsign(QStringLiteral("RA3ABC"));
            enter();
        }

        ParticipantViews views() { return {*callsign, *contest80, *contest80CW, *contest160, *contest160CW}; }

        void newCallsign(const QString& callsign)
        {
            prompter.answers.push_back(callsign);
            NewCallsign(*db, views(), prompter, {1, [] { return 1; }});
        }

        ContactOutcome enter()
        {
            prompter.answers.push_back(QStringLiteral("23 015"));
            contest80->first();
            const ContactEntryContext context{*db, *contest80, QStringLiteral("80 м - SSB"), *journal, followUp, prompter,
                                              clock, editMode, [] { return QStringLiteral("22 001"); },
                                              [] { return 1; }};
            return EnterContact(context);
        }

        // edits the worked 80 m SSB row as the operator would in the grid
        void editWorked(const QString& field, const QVariant& value)
        {
            QVERIFY(contest80->locate(QStringLiteral("CallSign"), {QStringLiteral("RA3ABC")}, true));
            contest80->edit();
            contest80->setValue(field, value);
            contest80->post();
        }

        QVariantList journalRow()
        {
            Statement row = db->prepare(QStringLiteral("SELECT D, T, SentText, RecvText, KI, CallSign FROM Journal"));
            QVariantList values;
            if (row.step()) {
                for (int i = 0; i < 6; ++i) {
                    values.append(row.column(i));
                }
            }
            return values;
        }
    };

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
    Contest c;
    const QVariantList before = c.journalRow();
    c.editWorked(QStringLiteral("T"), QTime(21, 0));
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::changedTimeAndTextsFollow()
{
    Contest c;
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
    Contest c;
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
    Contest c;
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
    Contest c;
    c.db->execute(QStringLiteral("update Journal set CallSign='ra3abc', Modulation='ssb'"));
    c.editMode = true;
    c.editWorked(QStringLiteral("SentText"), QStringLiteral("22 009"));
    QCOMPARE(c.journalRow().at(2).toString(), QStringLiteral("22 009"));
}

void TestJournalFollowUp::contactOfTourZeroIsNeverFound()
{
    Contest c;
    c.db->execute(QStringLiteral("update Journal set TourNumber=0"));
    c.editMode = true;
    const QVariantList before = c.journalRow();
    c.editWorked(QStringLiteral("T"), QVariant());
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::newMatrixKeepsEarlierContact()
{
    Contest c;
    c.editMode = true;
    ClearContestTable(*c.db, c.views());
    const QVariantList before = c.journalRow();
    c.newCallsign(QStringLiteral("RA3ABC")); // appends rows with the same key and no time
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 4);
    QCOMPARE(c.journalRow(), before);
}

void TestJournalFollowUp::contactEntryKeepsEarlierContactWithSameKey()
{
    Contest c;
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
    Contest c;
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
    Contest c;
    // the operator changed the Contest field after the participants were added
    c.db->execute(QStringLiteral("update Journal set ContestNumber=7"));
    c.editMode = true;
    c.editWorked(QStringLiteral("RecvText"), QStringLiteral("31 015"));
    QCOMPARE(c.journalRow().at(3).toString(), QStringLiteral("31 015"));
    QCOMPARE(c.journalRow().at(4).toString(), QStringLiteral("31"));
}

QTEST_GUILESS_MAIN(TestJournalFollowUp)
#include "test_journalfollowup.moc"
