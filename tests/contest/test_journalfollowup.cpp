#include "contest/ContactDeletion.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "support/WorkedContest.h"

#include <QTest>

class TestJournalFollowUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editModeOffChangesNothing();
    void changedTimeAndTextsFollow();
    void clearedTimeRemovesJournalRow();
    void correctionFollowsTheStoredKey_data();
    void correctionFollowsTheStoredKey();
    void matchIgnoresLetterCase();
    void untiedContactIsNeverFollowed();
    void newMatrixKeepsEarlierContact();
    void contactEntryKeepsEarlierContactWithSameKey();
    void newestContactWithTheKeyIsTheOneFollowed();
    void journalRowOfAnotherContestNumberIsFound();
    void deletesOnlyItsOwnContact_data();
    void deletesOnlyItsOwnContact();
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

using FieldEdits = QList<std::pair<QString, QVariant>>;

void TestJournalFollowUp::correctionFollowsTheStoredKey_data()
{
    QTest::addColumn<FieldEdits>("edits");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("journal");
    const QString worked = QStringLiteral("RA3ABC 1 23 015");
    const QString other = QStringLiteral("UA1XYZ 1 24 016");
    QTest::newRow("renamed") << FieldEdits{{QStringLiteral("CallSign"), QStringLiteral("RA3ABD")}} << false
                             << QStringList{QStringLiteral("RA3ABD 1 23 015"), other};
    QTest::newRow("moved to another tour") << FieldEdits{{QStringLiteral("TourNumber"), 2}} << false
                                           << QStringList{QStringLiteral("RA3ABC 2 23 015"), other};
    QTest::newRow("renamed onto another worked contact")
        << FieldEdits{{QStringLiteral("CallSign"), QStringLiteral("ua1xyz")}} << true << QStringList{worked, other};
    QTest::newRow("renamed onto it and taken back")
        << FieldEdits{{QStringLiteral("CallSign"), QStringLiteral("UA1XYZ")}, {QStringLiteral("T"), QVariant()}}
        << false << QStringList{other};
}

// the journal row of an edited contact is found by what the row held before the edit, never by what was
// typed: a corrected callsign must not rewrite another station's contact
void TestJournalFollowUp::correctionFollowsTheStoredKey()
{
    QFETCH(FieldEdits, edits);
    QFETCH(bool, refused);
    QFETCH(QStringList, journal);
    WorkedContest c;
    c.newCallsign(QStringLiteral("UA1XYZ"));
    c.enter();
    c.db->execute(QStringLiteral("update Journal set RecvText='24 016' where CallSign='UA1XYZ'"));
    c.editMode = true;
    QVERIFY(c.contest80->locate(QStringLiteral("CallSign"), {QStringLiteral("RA3ABC")}, true));
    c.contest80->edit();
    for (const auto& [field, value] : edits) {
        c.contest80->setValue(field, value);
    }
    QString refusal;
    try {
        c.store(*c.contest80);
    } catch (const StoreError& error) {
        refusal = error.message();
    }
    QCOMPARE(refusal.contains(QStringLiteral("UA1XYZ, 80 m SSB, tour 1 is worked already")), refused);
    // a refused change is not written, and stays pending as typed for the operator to mend
    QCOMPARE(c.contest80->isEditing(), refused);
    QCOMPARE(c.count(QStringLiteral(
                 "select count(*) from Contest where CallSign='RA3ABC' and TourNumber=1 and T is not null")),
             refused ? 1 : 0);
    QStringList rows;
    Statement query = c.db->prepare(QStringLiteral("SELECT CallSign, TourNumber, RecvText FROM Journal ORDER BY ID"));
    while (query.step()) {
        rows << QStringLiteral("%1 %2 %3")
                    .arg(query.column(0).toString(), query.column(1).toString(), query.column(2).toString());
    }
    QCOMPARE(rows, journal);
}

void TestJournalFollowUp::matchIgnoresLetterCase()
{
    WorkedContest c;
    c.db->execute(QStringLiteral("update Journal set CallSign='ra3abc', Modulation='ssb'"));
    c.editMode = true;
    c.editWorked(QStringLiteral("SentText"), QStringLiteral("22 009"));
    QCOMPARE(c.journalRow().at(2).toString(), QStringLiteral("22 009"));
}

// a contact of an older folder that could not be tied (logged in Tour 0, say) keeps its journal line as it is
void TestJournalFollowUp::untiedContactIsNeverFollowed()
{
    WorkedContest c;
    c.db->execute(QStringLiteral("update Journal set TourNumber=0"));
    c.db->execute(QStringLiteral("delete from Tie"));
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

// Ctrl+Delete takes the contact it was asked for and no other: a contest cleared and planned again leaves
// the journal rows of the earlier one with the same callsign, band, mode and tour.
void TestJournalFollowUp::deletesOnlyItsOwnContact_data()
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

void TestJournalFollowUp::deletesOnlyItsOwnContact()
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

QTEST_GUILESS_MAIN(TestJournalFollowUp)
#include "test_journalfollowup.moc"
