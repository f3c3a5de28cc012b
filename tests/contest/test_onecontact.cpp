#include "contest/BandViews.h"
#include "support/SessionFixture.h"

#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;

using Steps = std::function<void(SessionFixture&)>;
Q_DECLARE_METATYPE(Steps)

namespace
{
const FieldEdits kTakenBack{{u"T"_s, QVariant()}};

// the 80 m SSB row that the condition picks (as stored), made current; a row with a change pending is where the
// operator stays
void goToRow(SessionFixture& f, const QString& where)
{
    const QStringList ids = f.rows(u"SELECT ID FROM Contest WHERE Diapasone=80 AND Modulation='SSB' AND "_s + where);
    QCOMPARE(ids.size(), 1);
    if (f.view(0).isEditing()) {
        QCOMPARE(f.view(0).currentId(), ids.first().toLongLong());
        return;
    }
    QVERIFY(f.view(0).locateId(ids.first().toLongLong()));
}

// Enter on the row in edit mode, the code typed at the prompt
void enterOn(SessionFixture& f, const QString& where, const QString& code = u"24 016"_s,
             const std::optional<ContactFrequency>& radio = std::nullopt)
{
    goToRow(f, where);
    f.prompter.answers.push_back(code);
    f.clock.now = f.clock.now.addSecs(60);
    f.session->enterContact(0, bandViews().at(0).caption, true, radio);
}

// the row changed as typed in its grid, left pending
void typeOn(SessionFixture& f, const QString& where, const FieldEdits& edits)
{
    goToRow(f, where);
    f.view(0).edit();
    for (const auto& [field, value] : edits) {
        f.view(0).setValue(field, value);
    }
}

// the row changed as typed, stored as the grid stores it when the row is left
void correct(SessionFixture& f, const QString& where, const FieldEdits& edits)
{
    typeOn(f, where, edits);
    const QString refusal = SessionFixture::refusal([&f] { f.session->storeCorrection(0); });
    if (!refusal.isEmpty()) {
        f.prompter.showMessage(refusal);
        f.view(0).cancel();
    }
}

const QString kRa3abc = u"CallSign='RA3ABC'"_s;
} // namespace

// An action on one contact changes that contact alone: its planned row and its journal line are one, found again
// by their tie and never by a search that may find another contest's line or a second row of the station.
class TestOneContact : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void actionChangesItsOwnContactOnly_data();
    void actionChangesItsOwnContactOnly();
};

void TestOneContact::actionChangesItsOwnContactOnly_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("journal"); // callsign, tour, received code and contest number of each line
    QTest::addColumn<QString>("told");        // what the last message says, in part
    QTest::addColumn<QString>("prompted");    // what the last prompt was about

    QTest::newRow("worked row moved onto a planned tour, which is entered, then the first corrected")
        << Steps([](SessionFixture& f) {
               enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
               correct(f, kRa3abc + u" AND TourNumber=1"_s, {{u"TourNumber"_s, 2}});
               enterOn(f, kRa3abc + u" AND TourNumber=2 AND T IS NULL"_s);
               correct(f, kRa3abc + u" AND T IS NOT NULL"_s, {{u"RecvText"_s, u"25 777"_s}});
           })
        << QStringList{u"RA3ABC 2 25 777 1"_s} << u"RA3ABC, 80 m SSB, tour 2 is worked already"_s
        << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("a contact typed in edit mode and taken back, beside another contest's contact")
        << Steps([](SessionFixture& f) {
               enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
               f.session->clearContestTable();
               f.session->setContestNumber(2);
               f.addParticipants({u"RA3ABC"_s});
               correct(f, kRa3abc + u" AND TourNumber=1"_s, {{u"T"_s, QTime(20, 30)}, {u"RecvText"_s, u"31 003"_s}});
               correct(f, kRa3abc + u" AND TourNumber=1"_s, {{u"RecvText"_s, u"31 004"_s}});
               correct(f, kRa3abc + u" AND TourNumber=1"_s, kTakenBack);
               goToRow(f, kRa3abc + u" AND TourNumber=1"_s);
               f.session->deleteRow(0, f.view(0).currentId());
           })
        << QStringList{u"RA3ABC 1 23 015 1"_s} << QString() << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("take-back pending when Enter is pressed on the row") << Steps([](SessionFixture& f) {
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
        typeOn(f, kRa3abc + u" AND TourNumber=1"_s, kTakenBack);
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s);
    }) << QStringList{u"RA3ABC 1 24 016 1"_s} << QString() << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("planned rows put back after a contact made since the copy") << Steps([](SessionFixture& f) {
        f.session->clearContestTable();
        f.clock.now = f.clock.now.addSecs(5);
        f.addParticipants({u"RA3ABC"_s});
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
        f.session->restoreParticipants(f.session->participantCopies().last().folder);
        goToRow(f, kRa3abc + u" AND TourNumber=1"_s);
        f.prompter.answers.push_back(u"24 016"_s);
        f.session->enterContact(0, bandViews().at(0).caption, false);
    }) << QStringList{u"RA3ABC 1 23 015 1"_s} << u"Повторная связь в пределах одного тура не разрешена !"_s
                                                                               << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("callsign typed onto a worked station's, then Enter") << Steps([](SessionFixture& f) {
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
        typeOn(f, u"CallSign='UA1XYZ' AND TourNumber=1"_s, {{u"CallSign"_s, u"RA3ABC"_s}});
        enterOn(f, u"CallSign='UA1XYZ' AND TourNumber=1"_s);
    }) << QStringList{u"RA3ABC 1 23 015 1"_s} << u"RA3ABC, 80 m SSB, tour 1 is worked already"_s
                                                                        << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("a time typed on a row renamed onto a worked station") << Steps([](SessionFixture& f) {
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s);
        correct(f, u"CallSign='UA1XYZ' AND TourNumber=1"_s, {{u"CallSign"_s, u"RA3ABC"_s}});
        correct(f, kRa3abc + u" AND TourNumber=1 AND T IS NULL"_s, {{u"T"_s, QTime(20, 30)}});
    }) << QStringList{u"RA3ABC 1 23 015 1"_s} << u"RA3ABC, 80 m SSB, tour 1 is worked already, at 20:06:13"_s
                                                                         << u"RA3ABC, 80 m SSB, tour 1"_s;
    QTest::newRow("a contact with its frequency taken back") << Steps([](SessionFixture& f) {
        enterOn(f, kRa3abc + u" AND TourNumber=1"_s, u"23 015"_s, ContactFrequency{3650000, u"LSB"_s});
        correct(f, kRa3abc + u" AND TourNumber=1"_s, kTakenBack);
    }) << QStringList() << QString() << u"RA3ABC, 80 m SSB, tour 1"_s;
}

void TestOneContact::actionChangesItsOwnContactOnly()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, journal);
    QFETCH(QString, told);
    QFETCH(QString, prompted);
    SessionFixture f;
    f.start(2);
    f.addParticipants({u"RA3ABC"_s, u"UA1XYZ"_s});
    steps(f);
    QCOMPARE(f.rows(u"SELECT CallSign, TourNumber, RecvText, ContestNumber FROM Journal ORDER BY ID"_s), journal);
    if (!told.isEmpty()) {
        QVERIFY(!f.prompter.messages.isEmpty());
        QVERIFY2(f.prompter.messages.last().contains(told), qPrintable(f.prompter.messages.last()));
    }
    const QStringList subjects = f.prompter.subjects.filter(u"tour"_s);
    QCOMPARE(subjects.isEmpty() ? QString() : subjects.last(), prompted);
    QCOMPARE(f.rows(u"SELECT count(*) FROM Frequency.Frequency WHERE JournalID NOT IN (SELECT ID FROM Journal)"_s),
             QStringList{u"0"_s});
    // each worked row is tied to a journal line of its own
    const QString tiedRows = u"SELECT count(*) FROM Tie.Tie JOIN Contest.Contest c ON c.ID=ContestID JOIN "
                             "Journal.Journal j ON j.ID=JournalID WHERE c.T IS NOT NULL"_s;
    QCOMPARE(f.rows(tiedRows), f.rows(u"SELECT count(*) FROM Contest WHERE T IS NOT NULL"_s));
    QCOMPARE(f.rows(u"SELECT count(*) FROM Tie.Tie"_s), f.rows(u"SELECT count(*) FROM Contest WHERE T IS NOT NULL"_s));
}

QTEST_GUILESS_MAIN(TestOneContact)
#include "test_onecontact.moc"
