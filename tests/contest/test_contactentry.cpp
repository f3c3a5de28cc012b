#include "contest/ContactEntry.h"
#include "contest/ContestValues.h"
#include "contest/Participants.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include "store/ContactFrequencies.h"
#include "store/RowDeletion.h"

#include <QTest>

class TestContactEntry : public QObject
{
    Q_OBJECT

private:
    struct Contest : ContestFixture
    {
        FakePrompter prompter;
        FakeClock clock;
        bool editMode = false;
        ContestValues values{22, 1, 1, 2};
        std::optional<ContactFrequency> radio;

        Contest(const QStringList& callsigns = {QStringLiteral("RA3ABC"), QStringLiteral("UA1XYZ")}, int tours = 2)
        {
            const ParticipantViews views{*callsign, *contest80, *contest80CW, *contest160, *contest160CW};
            for (const QString& call : callsigns) {
                prompter.answers.push_back(call);
                NewCallsign(*db, views, prompter, {1, [tours] { return tours; }});
            }
            prompter.captions.clear();
            prompter.labels.clear();
            prompter.subjects.clear();
            prompter.startTexts.clear();
        }

        ContactOutcome enter(TableView& band, const QString& typed,
                             const QString& caption = QStringLiteral("80 м - SSB"))
        {
            prompter.answers.push_back(typed);
            const ContactEntryContext context{*db, band, caption, *journal, prompter, clock, editMode, values, radio};
            return EnterContact(context);
        }
    };

private Q_SLOTS:
    void recordsBothRows();
    void promptNamesTheBand();
    void refusesWithMessages_data();
    void refusesWithMessages();
    void emptyViewIsReported();
    void workedRowRefusedOrIgnoredInEditMode();
    void receivedCodeCutToTenCharacters();
    void movesToFirstUnworkedRow();
    void failedJournalWriteLeavesNeitherRow();
    void tourChangeDuringPromptRecordsOnTheSameRow();
    void radioFrequencyGoesWithItsContact_data();
    void radioFrequencyGoesWithItsContact();
};

void TestContactEntry::recordsBothRows()
{
    Contest c;
    c.contest80->last();
    const QString callsign = c.contest80->text(QStringLiteral("CallSign"));
    const int tour = c.contest80->value(QStringLiteral("TourNumber")).toInt();
    QCOMPARE(tour, 2);
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("2 3 0 1 5")), ContactOutcome::Recorded);

    Statement contest = c.db->prepare(
        QStringLiteral("SELECT D, T, SentText, RecvText FROM Contest WHERE T IS NOT NULL"));
    QVERIFY(contest.step());
    QCOMPARE(contest.column(0).toString(), QStringLiteral("2006-10-22"));
    QCOMPARE(contest.column(1).toString(), QStringLiteral("20:05:13.000"));
    QCOMPARE(contest.column(2).toString(), QStringLiteral("22 001"));
    QCOMPARE(contest.column(3).toString(), QStringLiteral("23 015"));
    QVERIFY(!contest.step());

    QCOMPARE(c.journal->recordCount(), 1);
    c.journal->first();
    QCOMPARE(c.journal->text(QStringLiteral("CallSign")), callsign);
    QCOMPARE(c.journal->value(QStringLiteral("Diapasone")).toInt(), 80);
    QCOMPARE(c.journal->text(QStringLiteral("Modulation")), QStringLiteral("SSB"));
    // the tour of the planned row, also while all tours are shown
    QCOMPARE(c.journal->value(QStringLiteral("TourNumber")).toInt(), tour);
    QCOMPARE(c.journal->value(QStringLiteral("ContestNumber")).toInt(), 1);
    QCOMPARE(c.journal->text(QStringLiteral("RecvText")), QStringLiteral("23 015"));
    QCOMPARE(c.journal->text(QStringLiteral("SentText")), QStringLiteral("22 001"));
    QCOMPARE(c.journal->text(QStringLiteral("KI")), QStringLiteral("23"));
    QCOMPARE(c.journal->value(QStringLiteral("D")).toDate(), QDate(2006, 10, 22));
}

void TestContactEntry::promptNamesTheBand()
{
    Contest c;
    c.enter(*c.contest160CW, QString(), QStringLiteral("160 м - CW"));
    QCOMPARE(c.prompter.captions, QStringList{QStringLiteral("Ввод принятого кода...")});
    QCOMPARE(c.prompter.labels, QStringList{QStringLiteral("Код (диапазон 160 м - CW:")});
    QCOMPARE(c.journal->recordCount(), 0);
}

void TestContactEntry::refusesWithMessages_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("prompts"); // what each prompt's field started with

    // the prompt opens again with what was typed, for the operator to mend or cancel
    const QStringList inputError{QStringLiteral("Ошибка ввода !\nKI and serial, digits: 23 015")};
    QTest::newRow("four characters") << QStringLiteral("22 1") << inputError
                                     << QStringList{QString(), QStringLiteral("22 1")};
    QTest::newRow("cancelled") << QString() << QStringList() << QStringList{QString()};
    QTest::newRow("nothing but spaces") << QStringLiteral("     ") << QStringList() << QStringList{QString()};
    QTest::newRow("empty serial") << QStringLiteral("1    ") << inputError
                                  << QStringList{QString(), QStringLiteral("1    ")};
    QTest::newRow("letter in KI") << QStringLiteral("2A 015") << inputError
                                  << QStringList{QString(), QStringLiteral("2A 015")};
}

void TestContactEntry::refusesWithMessages()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, prompts);
    Contest c;
    QCOMPARE(c.enter(*c.contest80, typed), ContactOutcome::NotRecorded);
    QCOMPARE(c.prompter.messages, messages);
    QCOMPARE(c.prompter.startTexts, prompts);
    QCOMPARE(c.journal->recordCount(), 0);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where T is not null")), 0);
}

void TestContactEntry::emptyViewIsReported()
{
    Contest c(QStringList{});
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::NotRecorded);
    QCOMPARE(c.prompter.messages, QStringList{QStringLiteral("Cписок позывных пуст !")});
    QVERIFY(c.prompter.captions.isEmpty());
}

void TestContactEntry::workedRowRefusedOrIgnoredInEditMode()
{
    Contest c({QStringLiteral("RA3ABC")}, 1);
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::Recorded);
    c.contest80->first(); // the only row, now worked
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 016")), ContactOutcome::NotRecorded);
    // the refusal names when and on which row the station was worked
    QCOMPARE(c.prompter.messages,
             QStringList{QStringLiteral("Повторная связь в пределах одного тура не разрешена !\n"
                                        "RA3ABC, 80 m SSB, tour 1, worked at 20:05:13")});
    c.editMode = true;
    c.prompter.messages.clear();
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 017")), ContactOutcome::NotRecorded);
    QVERIFY(c.prompter.messages.isEmpty());
    QCOMPARE(c.journal->recordCount(), 1);
}

void TestContactEntry::receivedCodeCutToTenCharacters()
{
    Contest c;
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 12345678")), ContactOutcome::Recorded);
    c.journal->first();
    QCOMPARE(c.journal->text(QStringLiteral("RecvText")), QStringLiteral("22 1234567"));
    QCOMPARE(c.journal->text(QStringLiteral("KI")), QStringLiteral("22"));
}

void TestContactEntry::movesToFirstUnworkedRow()
{
    Contest c;
    c.contest80->last();
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::Recorded);
    QCOMPARE(c.contest80->currentRow(), 0);
    QVERIFY(c.contest80->isNull(QStringLiteral("T")));
    // worked rows follow the planned ones
    c.contest80->last();
    QVERIFY(!c.contest80->isNull(QStringLiteral("T")));
}

void TestContactEntry::failedJournalWriteLeavesNeitherRow()
{
    Contest c;
    c.contest80->first();
    const qint64 row = c.contest80->currentId();
    c.failInserts(QStringLiteral("Journal"));
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::NotRecorded);
    QCOMPARE(c.prompter.messages.size(), 1);
    QVERIFY(c.prompter.messages.first().contains(QStringLiteral("disk I/O error")));
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where T is not null")), 0);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Journal")), 0);
    QVERIFY(!c.contest80->isEditing());
    QVERIFY(!c.journal->isEditing());

    // once the store works again the same row can be entered
    c.allowInserts(QStringLiteral("Journal"));
    QVERIFY(c.contest80->locateId(row));
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::Recorded);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where T is not null")), 1);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Journal")), 1);
}

void TestContactEntry::tourChangeDuringPromptRecordsOnTheSameRow()
{
    Contest c;
    c.contest80->setFilter(bandFilter(bandViews().at(0), 1));
    c.contest80->last();
    const qint64 row = c.contest80->currentId();
    // Enter at the end of tour 1, the code confirmed in tour 2
    c.clock.now = QDateTime(QDate(2006, 10, 22), QTime(18, 5, 57));
    c.prompter.whilePrompting = [&c] {
        c.contest80->setFilter(bandFilter(bandViews().at(0), 2));
        c.clock.now = QDateTime(QDate(2006, 10, 22), QTime(18, 6, 2));
    };
    QCOMPARE(c.enter(*c.contest80, QStringLiteral("22 015")), ContactOutcome::Recorded);
    Statement worked = c.db->prepare(QStringLiteral("SELECT ID, TourNumber, T FROM Contest WHERE T IS NOT NULL"));
    QVERIFY(worked.step());
    QCOMPARE(worked.column(0).toLongLong(), row);
    QCOMPARE(worked.column(1).toInt(), 1);
    QCOMPARE(worked.column(2).toString(), QStringLiteral("18:05:57.000"));
    QVERIFY(!worked.step());
    // the journal says the same tour and time, so the tour-2 row stays open and a correction finds the row
    Statement journal = c.db->prepare(QStringLiteral("SELECT TourNumber, T FROM Journal"));
    QVERIFY(journal.step());
    QCOMPARE(journal.column(0).toInt(), 1);
    QCOMPARE(journal.column(1).toString(), QStringLiteral("18:05:57.000"));
    // the view is back on its new filter
    QVERIFY(c.contest80->filtered());
    QCOMPARE(c.contest80->filter(), bandFilter(bandViews().at(0), 2));
    QCOMPARE(c.contest80->recordCount(), 2);
}

QTEST_GUILESS_MAIN(TestContactEntry)
#include "test_contactentry.moc"

void TestContactEntry::radioFrequencyGoesWithItsContact_data()
{
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("band"); // 0 is 80 m SSB, 3 is 160 m CW
    QTest::addColumn<bool>("kept");

    QTest::newRow("80 m lower sideband") << qint64(3'650'400) << QStringLiteral("LSB") << 0 << true;
    QTest::newRow("160 m CW reverse") << qint64(1'832'500) << QStringLiteral("CWR") << 3 << true;
    // logged from paper while the radio listens elsewhere
    QTest::newRow("radio on the other band") << qint64(1'832'500) << QStringLiteral("CW") << 1 << false;
    QTest::newRow("radio in the other mode") << qint64(3'520'000) << QStringLiteral("CW") << 0 << false;
    QTest::newRow("no radio") << qint64(0) << QString() << 0 << false;
}

void TestContactEntry::radioFrequencyGoesWithItsContact()
{
    QFETCH(qint64, hz);
    QFETCH(QString, mode);
    QFETCH(int, band);
    QFETCH(bool, kept);
    Contest c;
    if (hz > 0) {
        c.radio = ContactFrequency{hz, mode};
    }
    TableView* views[] = {c.contest80.get(), c.contest80CW.get(), c.contest160.get(), c.contest160CW.get()};
    QCOMPARE(c.enter(*views[band], QStringLiteral("23 015")), ContactOutcome::Recorded);
    c.journal->first();
    const qint64 id = c.journal->currentId();
    const QHash<qint64, ContactFrequency> expected = kept ? QHash<qint64, ContactFrequency>{{id, *c.radio}}
                                                          : QHash<qint64, ContactFrequency>{};
    QCOMPARE(contactFrequencies(*c.db), expected);
    // the radio moving on does not change what was recorded
    c.radio = ContactFrequency{3'700'000, QStringLiteral("USB")};
    QCOMPARE(contactFrequencies(*c.db), expected);
    deleteRowById(*c.db, FolderTable::Journal, id);
    QVERIFY(contactFrequencies(*c.db).isEmpty());
}
