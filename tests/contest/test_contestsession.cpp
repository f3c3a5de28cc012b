#include "store/RowDeletion.h"
#include "store/TableNames.h"
#include "support/FolderPermissions.h"
#include "support/PageDamage.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kJournal = u"SELECT CallSign, SentText, RecvText, KI FROM Journal ORDER BY ID"_s;
// the journal's callsigns | the worked planned rows' callsigns | the number of planned rows
const QString kTables = u"SELECT ifnull((SELECT group_concat(CallSign, ' ') FROM Journal), '') || ' | ' || "
                        "ifnull((SELECT group_concat(CallSign, ' ') FROM Contest WHERE T IS NOT NULL), '') || ' | ' || "
                        "(SELECT count(*) FROM Contest)"_s;
const QString kNoScore = u"СВ=0  КР=0(0)  РН=0(0)  Всего=0"_s;
const QString kOneContact = u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s;
const QString kTwoContacts = u"СВ=2  КР=8(2)  РН=6(2)  Всего=16"_s;
const QString kReadOnly = u"is read-only: nothing in it can be changed."_s;
// the participants | the worked planned rows' callsigns | the number of planned rows
const QString kParticipants = u"SELECT ifnull((SELECT group_concat(CallSign, ' ') FROM Callsign), '') || ' | ' || "
                              "ifnull((SELECT group_concat(CallSign, ' ') FROM Contest WHERE T IS NOT NULL), '') || "
                              "' | ' || (SELECT count(*) FROM Contest)"_s;
// the copy Clear makes at the fixture's time
const QString kClearCopy = u"backup/2006-10-22_200513"_s;

QMap<QString, QByteArray> folderBytes(const QString& folder)
{
    QMap<QString, QByteArray> bytes;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        bytes.insert(name, fileBytes(QDir(folder).filePath(name)));
    }
    return bytes;
}

// RA3ABC 23 015 and UA1XYZ 24 016 worked on 80 m SSB, at 20:05:13 and a minute later
void workTwo(SessionFixture& f)
{
    f.addParticipants({u"RA3ABC"_s, u"UA1XYZ"_s});
    f.enter(u"RA3ABC"_s, u"23 015"_s);
    f.clock.now = f.clock.now.addSecs(60);
    f.enter(u"UA1XYZ"_s, u"24 016"_s);
}

void verifyHolds(const QByteArray& written, const QByteArrayList& has, const QByteArrayList& hasNot)
{
    for (const QByteArray& text : has) {
        QVERIFY2(written.contains(text), written.constData());
    }
    for (const QByteArray& text : hasNot) {
        QVERIFY2(!written.contains(text), written.constData());
    }
}

using SessionOperation = std::function<void(SessionFixture&)>;

// a file that SQLite opens, holding a table of that name with none of its columns
void writeForeignTable(const QString& file, const char* table)
{
    QFile::remove(file);
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    const QByteArray sql = QByteArray("CREATE TABLE ") + table + "(X); INSERT INTO " + table + " VALUES (1)";
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Frequency.db with rows past the contacts' journal lines, and a data page that has lost one of them
void damageFrequencies(SessionFixture& f)
{
    const QString file = f.env.path(u"Frequency.db"_s);
    RawTableFile(file, false)
        .exec(u"WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < 3047) "
              "INSERT INTO Frequency SELECT i, 3650400, 'LSB' FROM n"_s);
    QVERIFY(damageTablePages(file, u"Frequency"_s, PageDamage::DataPage));
}

// how the quick check of Frequency.db is kept from running
enum class CheckHindrance
{
    None,
    Locked,     // another program writes the file all through the check's wait
    Unreadable, // its read permission taken away while the program has it open
};

// another program in the middle of writing a table file, holding it whole until this ends
class HeldTableFile
{
public:
    explicit HeldTableFile(const QString& file)
    {
        QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &m_db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~HeldTableFile() { sqlite3_close(m_db); }
    HeldTableFile(const HeldTableFile&) = delete;
    HeldTableFile& operator=(const HeldTableFile&) = delete;

private:
    sqlite3* m_db = nullptr;
};
} // namespace

Q_DECLARE_METATYPE(SessionOperation)
Q_DECLARE_METATYPE(std::optional<LogFormat>)
Q_DECLARE_METATYPE(PageDamage)
Q_DECLARE_METATYPE(CheckHindrance)

// Each operation of a contest session with all that follows from it: the Journal side, the score, the
// report, the serial, the rows the views show; and what becomes of them in a folder that cannot be written.
class TestContestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // contacts
    void contactFollowsOnOnlyWhenRecorded();
    void reportFailureIsToldOnceUntilARewriteWorks();
    void serialMovesPastTheJournal_data();
    void serialMovesPastTheJournal();
    void firstContactAfterARestartWritesWhatAFreshReadWould_data();
    void firstContactAfterARestartWritesWhatAFreshReadWould();
    // corrections and deletions
    void correctionIsFollowedEverywhere_data();
    void correctionIsFollowedEverywhere();
    void deletionTakesBothSidesOfItsRow_data();
    void deletionTakesBothSidesOfItsRow();
    // commands on the folder as a whole
    void clearCopiesFirstOrDoesNothing();
    void restorePutsTheCopyBackWholeOrNotAtAll_data();
    void restorePutsTheCopyBackWholeOrNotAtAll();
    void exportsTakeTheContestNumberAndItsScore_data();
    void exportsTakeTheContestNumberAndItsScore();
    void emptyContestIsExportedOnlyWhenConfirmed_data();
    void emptyContestIsExportedOnlyWhenConfirmed();
    // folders that cannot be written
    void readOnlyFolderIsReadAndNeverWritten_data();
    void readOnlyFolderIsReadAndNeverWritten();
    void unreadableFolderIsRefusedAtStart();
    void damagedTableIsReportedOnceAndNeverWritten_data();
    void damagedTableIsReportedOnceAndNeverWritten();
    void frequencyThatCannotBeKeptIsToldOnce_data();
    void frequencyThatCannotBeKeptIsToldOnce();
};

// the serial advances, the score and the report follow, only for a contact on disk
void TestContestSession::contactFollowsOnOnlyWhenRecorded()
{
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s});
    QVERIFY(!f.enter(u"RA3ABC"_s, QString()).journalChanged);
    QCOMPARE(f.session->values().serial, 1);
    QCOMPARE(f.score(), kNoScore);
    QCOMPARE(f.report(), QByteArray());
    QVERIFY(f.enter(u"RA3ABC"_s, u"23 015"_s).journalChanged);
    // the prompt names the station and tour it records
    QCOMPARE(f.prompter.subjects.last(), u"RA3ABC, 80 m SSB, tour 1"_s);
    QCOMPARE(f.rows(kJournal), QStringList{u"RA3ABC 22 001 23 015 23"_s});
    QCOMPARE(f.session->values().serial, 2);
    QCOMPARE(f.score(), kOneContact);
    QVERIFY(f.report().contains("RA3ABC\t22 001\t23 015\r\n"));
}

// a Report.txt that cannot be written does not stop the contacts; it is told once until a rewrite works
void TestContestSession::reportFailureIsToldOnceUntilARewriteWorks()
{
    SessionFixture f;
    f.start();
    const QDir folder(f.env.workDir());
    QVERIFY(folder.mkdir(u"Report.txt"_s));
    f.addParticipants({u"RA3ABC"_s, u"UA1XYZ"_s});
    const QString failure = f.enter(u"RA3ABC"_s, u"23 015"_s).reportFailure;
    QVERIFY2(failure.contains(u"Report.txt"_s), qPrintable(failure));
    const SessionChange second = f.enter(u"UA1XYZ"_s, u"24 016"_s);
    QVERIFY(second.journalChanged);
    QCOMPARE(second.reportFailure, QString());
    QCOMPARE(f.rows(kTables), QStringList{u"RA3ABC UA1XYZ | RA3ABC UA1XYZ | 8"_s});
    QCOMPARE(f.session->values().serial, 3);

    // a rewrite that works in between makes the next failure worth telling
    QVERIFY(folder.rmdir(u"Report.txt"_s));
    QCOMPARE(f.correct(u"UA1XYZ"_s, {{u"RecvText"_s, u"24 017"_s}}).reportFailure, QString());
    QVERIFY(f.report().contains("UA1XYZ\t22 002\t24 017\r\n"));
    QVERIFY(QFile::remove(f.env.path(u"Report.txt"_s)) && folder.mkdir(u"Report.txt"_s));
    QVERIFY(f.goTo(u"RA3ABC"_s, -1));
    QVERIFY(!f.session->deleteRow(-1, f.session->journalView().currentId()).reportFailure.isEmpty());
    // the menu's Export Journal tells its own failure: the next contact does not tell it again
    QVERIFY(!SessionFixture::refusal([&f] { f.session->exportJournal(); }).isEmpty());
    QCOMPARE(f.enter(u"RA3ABC"_s, u"23 018"_s).reportFailure, QString());
}

void TestContestSession::serialMovesPastTheJournal_data()
{
    QTest::addColumn<QStringList>("sent"); // journal rows as "contest number:sent exchange"
    QTest::addColumn<int>("ki");
    QTest::addColumn<int>("savedSerial");
    QTest::addColumn<int>("serial");
    QTest::newRow("two contacts after the save") << QStringList{u"1:22 004"_s, u"1:22 005"_s} << 22 << 4 << 6;
    QTest::newRow("one contact after the save") << QStringList{u"1:22 005"_s} << 22 << 5 << 6;
    QTest::newRow("saved ahead of the journal") << QStringList{u"1:22 004"_s} << 22 << 9 << 9;
    QTest::newRow("a KI below 10 sent without its zero") << QStringList{u"1:7 011"_s} << 7 << 5 << 12;
    QTest::newRow("sent with another KI") << QStringList{u"1:23 011"_s} << 22 << 5 << 5;
    QTest::newRow("last sent in another contest") << QStringList{u"2:22 011"_s} << 22 << 5 << 5;
}

// after a crash the saved serial may be behind the journal: no serial is sent twice
void TestContestSession::serialMovesPastTheJournal()
{
    QFETCH(QStringList, sent);
    QFETCH(int, ki);
    QFETCH(int, savedSerial);
    QFETCH(int, serial);
    SessionFixture f;
    f.start();
    for (const QString& row : sent) {
        const QString insert = u"insert into Journal (ContestNumber, SentText) values (%1, '%2')"_s;
        f.db().execute(insert.arg(row.section(u':', 0, 0), row.section(u':', 1)));
    }
    f.session->setExchange(ki, savedSerial);
    QCOMPARE(f.session->serialPastJournal(), serial);
    QCOMPARE(f.session->values().serial, serial);
}

void TestContestSession::firstContactAfterARestartWritesWhatAFreshReadWould_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::newRow("after the journal is read ahead") << 200;
    QTest::newRow("at once") << 0;
}

// After a restart the score and the report's lines are read ahead while the operator waits for nothing; the
// first contact writes the report and the score a session reading the whole journal afresh would.
void TestContestSession::firstContactAfterARestartWritesWhatAFreshReadWould()
{
    QFETCH(int, pauseMs);
    SessionFixture f;
    f.start();
    workTwo(f);
    f.addParticipants({u"УА9ЖЖЖ"_s});
    f.start();
    // the journal stands on its newest contact, as after each contact
    QCOMPARE(f.view(-1).currentRow(), f.view(-1).recordCount() - 1);
    f.session->serialPastJournal();
    QTest::qWait(pauseMs);
    QCOMPARE(f.score(), kTwoContacts);
    QVERIFY(f.enter(u"УА9ЖЖЖ"_s, u"25 017"_s).journalChanged);
    const QByteArray report = f.report();
    const QString score = f.score();
    QVERIFY2(report.contains("\xd3\xc0"
                             "9\xc6\xc6\xc6\t22 003\t25 017\r\n"),
             report.constData());
    f.start();
    f.session->exportJournal();
    QCOMPARE(f.report(), report);
    QCOMPARE(f.score(), score);
}

void TestContestSession::correctionIsFollowedEverywhere_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<int>("band");
    QTest::addColumn<FieldEdits>("edits");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("journal"); // the rows' received codes
    QTest::addColumn<QString>("score");
    QTest::addColumn<QByteArrayList>("report"); // a line it holds, a text gone from it
    QTest::addColumn<QString>("journalOn");     // the journal grid's row after the change
    const QString asWorked = u"СВ=3  КР=12(3)  РН=6(2)  Всего=21"_s;
    const QStringList codes = {u"RA3ABC 23 015 23"_s, u"UA1XYZ 24 016 24"_s, u"RK3DEF 23 017 23"_s};
    QTest::newRow("received code corrected, the region with it")
        << u"UA1XYZ"_s << 0 << FieldEdits{{u"RecvText"_s, u"23 016"_s}} << QString()
        << QStringList{codes.at(0), u"UA1XYZ 23 016 23"_s, codes.at(2)} << u"СВ=3  КР=12(3)  РН=3(1)  Всего=18"_s
        << QByteArrayList{"UA1XYZ\t22 002\t23 016\r\n", "24 016"} << u"UA1XYZ"_s;
    QTest::newRow("taken back") << u"RA3ABC"_s << 0 << FieldEdits{{u"T"_s, QVariant()}} << QString() << codes.mid(1)
                                << kTwoContacts << QByteArrayList{"RK3DEF\t22 003\t23 017\r\n", "RA3ABC"}
                                << u"RK3DEF"_s;
    QTest::newRow("a row not worked") << u"UA1XYZ"_s << 1 << FieldEdits{{u"RecvText"_s, u"59 001"_s}} << QString()
                                      << codes << asWorked << QByteArrayList{"UA1XYZ\t22 002\t24 016\r\n", "59 001"}
                                      << u"UA1XYZ"_s;
    QTest::newRow("renamed onto a worked contact")
        << u"RA3ABC"_s << 0 << FieldEdits{{u"CallSign"_s, u"ua1xyz"_s}}
        << u"The change was not stored: UA1XYZ, 80 m SSB, tour 1 is worked already, at 20:06:13"_s << codes << asWorked
        << QByteArrayList{"RA3ABC\t22 001\t23 015\r\n", "ua1xyz"} << u"UA1XYZ"_s;
}

// The change typed in a band grid reaches the journal, the score and the report at once, and the journal
// grid stays where the operator had it. One that cannot be stored says why, writes nothing and stays
// pending as typed; its band keeps the tour it was typed in until the change is undone, and then follows.
void TestContestSession::correctionIsFollowedEverywhere()
{
    QFETCH(QString, callsign);
    QFETCH(int, band);
    QFETCH(FieldEdits, edits);
    QFETCH(QString, refusal);
    QFETCH(QStringList, journal);
    QFETCH(QString, score);
    QFETCH(QByteArrayList, report);
    QFETCH(QString, journalOn);
    SessionFixture f;
    f.start(2, 1);
    workTwo(f);
    f.addParticipants({u"RK3DEF"_s});
    f.enter(u"RK3DEF"_s, u"23 017"_s);
    QVERIFY(f.goTo(u"UA1XYZ"_s, -1));
    const QString codes = u"SELECT CallSign, RecvText, KI FROM Journal ORDER BY ID"_s;
    const QStringList before = f.rows(codes);
    f.type(callsign, edits, band);
    SessionChange change;
    const QString told = SessionFixture::refusal([&] { change = f.session->storeCorrection(band); });
    QVERIFY2(refusal.isEmpty() ? told.isEmpty() : told.startsWith(refusal), qPrintable(told));
    QCOMPARE(f.rows(codes), journal);
    QCOMPARE(change.journalChanged, journal != before);
    QCOMPARE(f.score(), score);
    verifyHolds(f.report(), report.mid(0, 1), report.mid(1));
    QCOMPARE(f.session->journalView().text(u"CallSign"_s), journalOn);
    TableView& view = f.view(band);
    QCOMPARE(view.isEditing(), !refusal.isEmpty());
    f.session->setTour(2);
    QCOMPARE(view.filter() == bandFilter(bandViews().at(band), 2), refusal.isEmpty());
    if (!refusal.isEmpty()) {
        view.cancel();
        QVERIFY(f.session->tourHeldBack(band));
        f.session->showTour(band);
        QCOMPARE(view.filter(), bandFilter(bandViews().at(band), 2));
    }
}
void TestContestSession::deletionTakesBothSidesOfItsRow_data()
{
    QTest::addColumn<int>("band"); // -1: the journal
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<bool>("takeBackTyped");
    QTest::addColumn<bool>("goneMeanwhile");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("tables"); // as kTables reads them
    QTest::addColumn<QString>("score");
    const QString bandRow = u"RA3ABC, 80 m SSB, tour 1, worked at 20:05:13. Its journal line goes too."_s;
    const QString journalRow =
        u"UA1XYZ, 80 m SSB, tour 1, worked at 20:06:13. Its planned contact becomes workable again."_s;
    const QString untouched = u"RA3ABC UA1XYZ | RA3ABC UA1XYZ | 8"_s;
    QTest::newRow("worked band row") << 0 << u"RA3ABC"_s << false << false << bandRow << u"UA1XYZ | UA1XYZ | 7"_s
                                     << kOneContact;
    QTest::newRow("worked band row, its take-back typed")
        << 0 << u"RA3ABC"_s << true << false << bandRow << u"UA1XYZ | UA1XYZ | 7"_s << kOneContact;
    QTest::newRow("planned row not worked")
        << 1 << u"RA3ABC"_s << false << false << u"RA3ABC, 80 m CW, tour 1, not worked."_s
        << u"RA3ABC UA1XYZ | RA3ABC UA1XYZ | 7"_s << kTwoContacts;
    QTest::newRow("journal row") << -1 << u"UA1XYZ"_s << false << false << journalRow << u"RA3ABC | RA3ABC | 8"_s
                                 << kOneContact;
    QTest::newRow("band row gone meanwhile")
        << 0 << u"RA3ABC"_s << false << true << bandRow << u"RA3ABC UA1XYZ | UA1XYZ | 7"_s << kTwoContacts;
    QTest::newRow("journal row gone meanwhile")
        << -1 << u"UA1XYZ"_s << false << true << journalRow << u"RA3ABC | RA3ABC UA1XYZ | 8"_s << kTwoContacts;
}

// Ctrl+Delete takes the row it was asked about with its other side, or nothing when the row went while the
// question was open; a journal row deleted leaves its planned contact to be worked again.
void TestContestSession::deletionTakesBothSidesOfItsRow()
{
    QFETCH(int, band);
    QFETCH(QString, callsign);
    QFETCH(bool, takeBackTyped);
    QFETCH(bool, goneMeanwhile);
    QFETCH(QString, question);
    QFETCH(QString, tables);
    QFETCH(QString, score);
    SessionFixture f;
    f.start();
    workTwo(f);
    if (takeBackTyped) {
        f.type(callsign, {{u"T"_s, QVariant()}}, band);
    } else {
        QVERIFY(f.goTo(callsign, band));
    }
    const qint64 id = f.view(band).currentId();
    QCOMPARE(f.session->describeDeletion(band, id), question);
    if (goneMeanwhile) {
        deleteRowById(f.db(), f.view(band).table(), id);
    }
    const SessionChange change = f.session->deleteRow(band, id);
    QCOMPARE(change.notice.startsWith(u"Nothing was deleted"_s), goneMeanwhile);
    QVERIFY(!f.view(band).isEditing());
    QCOMPARE(f.rows(kTables), QStringList{tables});
    QCOMPARE(f.score(), score);
    // in these cases the journal changed exactly when the score moved
    QCOMPARE(change.journalChanged, score != kTwoContacts);
    QCOMPARE(f.report().contains(callsign.toLatin1()), !change.journalChanged);
    if (band < 0 && !goneMeanwhile) {
        QVERIFY(f.enter(callsign, u"24 017"_s).journalChanged);
        QCOMPARE(f.prompter.messages, QStringList());
    }
}

// Clear asks nothing: it empties the participants and the planned contacts only once their copy is made
void TestContestSession::clearCopiesFirstOrDoesNothing()
{
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s});
    f.enter(u"RA3ABC"_s, u"23 015"_s);
    const QStringList asked = f.prompter.labels;
    const QString counts = u"SELECT (SELECT count(*) FROM Callsign), (SELECT count(*) FROM Contest), "
                           "(SELECT count(*) FROM Journal)"_s;
    QFile blocker(f.env.path(u"backup"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString told = SessionFixture::refusal([&f] { f.session->clearContestTable(); });
    QVERIFY2(told.startsWith(u"Clear Contest-Table did nothing"_s), qPrintable(told));
    QCOMPARE(f.rows(counts), QStringList{u"1 4 1"_s});

    QVERIFY(QFile::remove(f.env.path(u"backup"_s)));
    QVERIFY(f.session->clearContestTable().notice.contains(u"copied to backup/2006-10-22_200513 "_s));
    QVERIFY(QFile::exists(f.env.path(u"backup/2006-10-22_200513/Callsign.db"_s)));
    QCOMPARE(f.rows(counts), QStringList{u"0 0 1"_s});
    QCOMPARE(f.session->callsignView().recordCount(), 0);
    QCOMPARE(f.prompter.labels, asked);
}

void TestContestSession::restorePutsTheCopyBackWholeOrNotAtAll_data()
{
    QTest::addColumn<SessionOperation>("spoil"); // done to the copy before it is listed
    QTest::addColumn<QString>("listed");         // participants, planned, worked; or the first word of why not
    QTest::addColumn<QString>("told");           // the start of the refusal; empty when restored
    QTest::addColumn<QString>("participants");   // as kParticipants reads them afterwards
    const QString restored = u"RA3ABC UA1XYZ | RA3ABC | 8"_s;
    const QString replaced = u"R7AB |  | 4"_s;
    QTest::newRow("whole copy") << SessionOperation([](SessionFixture&) {}) << u"2 8 1"_s << QString() << restored;
    // a copy from before the planned contacts' table was made
    QTest::newRow("no planned contacts") << SessionOperation([](SessionFixture& f) {
        QVERIFY(QFile::remove(f.env.path(kClearCopy + u"/Contest.db"_s)));
    }) << u"2 0 0"_s << QString() << u"RA3ABC UA1XYZ |  | 0"_s;
    // the participants go back first: they must not stay back when the planned contacts cannot follow
    QTest::newRow("planned contacts unreadable") << SessionOperation([](SessionFixture& f) {
        writeForeignTable(f.env.path(kClearCopy + u"/Contest.db"_s), "Contest");
    }) << u"cannot"_s << u"Contest.db is not a copy of the table Contest"_s
                                                 << replaced;
}

// The copy Clear made goes back in one step, after the present participants are copied in their turn; a
// copy that cannot go back whole changes nothing.
void TestContestSession::restorePutsTheCopyBackWholeOrNotAtAll()
{
    QFETCH(SessionOperation, spoil);
    QFETCH(QString, listed);
    QFETCH(QString, told);
    QFETCH(QString, participants);
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s, u"UA1XYZ"_s});
    f.enter(u"RA3ABC"_s, u"23 015"_s);
    f.session->clearContestTable();
    f.addParticipants({u"R7AB"_s});
    spoil(f);
    f.clock.now = f.clock.now.addSecs(60);

    const QList<ParticipantCopy> copies = f.session->participantCopies();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(copies.first().folder, kClearCopy);
    QCOMPARE(copies.first().made, QDateTime(QDate(2006, 10, 22), QTime(20, 5, 13)));
    const ParticipantCopy& copy = copies.first();
    QCOMPARE(copy.problem.isEmpty() ? u"%1 %2 %3"_s.arg(copy.participants).arg(copy.planned).arg(copy.worked)
                                    : u"cannot"_s,
             listed);

    const QString refusal = SessionFixture::refusal([&] {
        QVERIFY(f.session->restoreParticipants(copy.folder).notice.endsWith(u"copied to backup/2006-10-22_200613"_s));
    });
    QVERIFY2(told.isEmpty() ? refusal.isEmpty() : refusal.contains(told), qPrintable(refusal));
    QCOMPARE(f.rows(kParticipants), QStringList{participants});
    QCOMPARE(f.session->callsignView().recordCount(), participants.section(u" | "_s, 0, 0).count(u' ') + 1);
    QCOMPARE(f.session->bandView(0).recordCount(), participants.section(u" | "_s, 2).toInt() / 4);
    // what was replaced, or would have been, is the newest copy
    const QList<ParticipantCopy> after = f.session->participantCopies();
    QCOMPARE(after.size(), 2);
    QCOMPARE(after.first().participants, qint64(1));
    QCOMPARE(f.score(), kOneContact);
}

void TestContestSession::exportsTakeTheContestNumberAndItsScore_data()
{
    QTest::addColumn<std::optional<LogFormat>>("format"); // nothing: Report.txt
    QTest::addColumn<int>("contestNumber");
    QTest::addColumn<QByteArrayList>("has");
    QTest::addColumn<QByteArrayList>("hasNot");
    QTest::newRow("Cabrillo of contest 1")
        << std::optional(LogFormat::Cabrillo) << 1
        << QByteArrayList{"START-OF-LOG: 3.0\r\n", "CLAIMED-SCORE: 16\r\n", " RA3ABC ", " UA3?BC ", "END-OF-LOG:\r\n"}
        << QByteArrayList{"UA1XYZ"};
    QTest::newRow("ADIF of contest 2") << std::optional(LogFormat::Adif) << 2
                                       << QByteArrayList{"<CALL:6>UA1XYZ", "20061023 060000"}
                                       << QByteArrayList{"RA3ABC", "UA3?BC"};
    // the footer of contest 1, not of contest 2, whose contact was the last
    QTest::newRow("Report.txt of contest 1")
        << std::optional<LogFormat>() << 1 << QByteArrayList{" 16\r\n"} << QByteArrayList{" 4\r\n"};
}

// The exports take the contest number as the operator has set it: a log claims the score the status bar
// shows, and Report.txt counts it first.
void TestContestSession::exportsTakeTheContestNumberAndItsScore()
{
    QFETCH(std::optional<LogFormat>, format);
    QFETCH(int, contestNumber);
    QFETCH(QByteArrayList, has);
    QFETCH(QByteArrayList, hasNot);
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s, u"УА3ЧБЦ"_s, u"UA1XYZ"_s});
    f.enter(u"RA3ABC"_s, u"23 015"_s);
    f.enter(u"УА3ЧБЦ"_s, u"24 016"_s);
    f.session->setContestNumber(2);
    f.enter(u"UA1XYZ"_s, u"25 017"_s);
    f.session->setContestNumber(contestNumber);
    f.clock.now = QDateTime(QDate(2006, 10, 23), QTime(6, 0), Qt::UTC);
    if (format) {
        f.session->updateScore();
        Station station;
        station.callsign = u"UA3ABC"_s;
        const LogExportResult result = f.session->exportLog(*format, station, f.env.path(u"log"_s));
        QCOMPARE(result.contacts, contestNumber == 1 ? 2 : 1);
        QCOMPARE(result.problems.size(), contestNumber == 1 ? 1 : 0);
    } else {
        f.session->exportJournal();
    }
    verifyHolds(format ? fileBytes(f.env.path(u"log"_s)) : f.report(), has, hasNot);
}

void TestContestSession::emptyContestIsExportedOnlyWhenConfirmed_data()
{
    QTest::addColumn<QList<int>>("worked"); // the contest number of each contact in turn
    QTest::addColumn<int>("contestNumber");
    QTest::addColumn<QString>("answer"); // null: the box is cancelled
    QTest::addColumn<bool>("exported");
    QTest::addColumn<QString>("question"); // empty: none is asked
    QTest::newRow("contest with contacts") << QList<int>{1, 3} << 3 << QString() << true << QString();
    QTest::newRow("empty contest, cancelled")
        << QList<int>{3, 1} << 2 << QString() << false
        << u"Contest 2 has no contacts. Contacts are logged under contest 1, 3."_s;
    QTest::newRow("empty contest, confirmed") << QList<int>{1} << 2 << u"Write empty log"_s << true
                                              << u"Contest 2 has no contacts. Contacts are logged under contest 1."_s;
    QTest::newRow("empty journal") << QList<int>{} << 1 << QString() << false
                                   << u"Contest 1 has no contacts. The journal holds no contacts at all."_s;
}

// An export of a contest number without contacts is a slip more often than not: the operator is told
// where the contacts are, and nothing is written unless an empty log is what is wanted.
void TestContestSession::emptyContestIsExportedOnlyWhenConfirmed()
{
    QFETCH(QList<int>, worked);
    QFETCH(int, contestNumber);
    QFETCH(QString, answer);
    QFETCH(bool, exported);
    QFETCH(QString, question);
    SessionFixture f;
    f.start();
    const QStringList calls{u"RA3ABC"_s, u"UA1XYZ"_s};
    f.addParticipants(calls);
    for (qsizetype i = 0; i < worked.size(); ++i) {
        f.session->setContestNumber(worked.at(i));
        f.enter(calls.at(i), u"23 015"_s);
    }
    f.session->setContestNumber(contestNumber);
    f.prompter.answers.push_back(answer);
    QCOMPARE(f.session->confirmContestToExport(), exported);
    QCOMPARE(f.prompter.questions.size(), question.isEmpty() ? 0 : 1);
    if (!question.isEmpty()) {
        QVERIFY2(f.prompter.questions.constFirst().startsWith(question), qPrintable(f.prompter.questions.constFirst()));
    }
}

void TestContestSession::readOnlyFolderIsReadAndNeverWritten_data()
{
    QTest::addColumn<SessionOperation>("operation");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("New Callsign") << SessionOperation([](SessionFixture& f) { f.addParticipants({u"UA1XYZ"_s}); })
                                  << kReadOnly;
    QTest::newRow("Import Callsign") << SessionOperation([](SessionFixture& f) { f.session->importCallsign(); })
                                     << kReadOnly;
    QTest::newRow("Clear") << SessionOperation([](SessionFixture& f) { f.session->clearContestTable(); }) << kReadOnly;
    QTest::newRow("Restore Participants")
        << SessionOperation([](SessionFixture& f) { f.session->participantCopies(); }) << kReadOnly;
    QTest::newRow("restoring a copy") << SessionOperation([](SessionFixture& f) {
        f.session->restoreParticipants(u"backup/2006-10-22_200513"_s);
    }) << kReadOnly;
    QTest::newRow("Export Journal") << SessionOperation([](SessionFixture& f) { f.session->exportJournal(); })
                                    << kReadOnly;
    QTest::newRow("contact") << SessionOperation([](SessionFixture& f) { f.enter(u"RA3ABC"_s, u"23 015"_s, 1); })
                             << kReadOnly;
    QTest::newRow("deletion in a band") << SessionOperation([](SessionFixture& f) {
        f.session->deleteRow(0, f.view(0).currentId());
    }) << kReadOnly;
    QTest::newRow("deletion in the journal")
        << SessionOperation([](SessionFixture& f) { f.session->deleteRow(-1, f.view(-1).currentId()); }) << kReadOnly;
    // the window lets no correction be typed; one that comes past it is refused by the store
    QTest::newRow("correction") << SessionOperation([](SessionFixture& f) {
        f.correct(u"RA3ABC"_s, {{u"RecvText"_s, u"59 001"_s}});
    }) << u"is read-only: Contest.db cannot be changed."_s;
}

// A contest folder copied onto a CD: everything is shown, every command says why it cannot run, asks
// nothing, and not a byte of the folder changes.
void TestContestSession::readOnlyFolderIsReadAndNeverWritten()
{
    SKIP_WITHOUT_FOLDER_PERMISSIONS();
    QFETCH(SessionOperation, operation);
    QFETCH(QString, refusal);
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s});
    f.enter(u"RA3ABC"_s, u"23 015"_s);
    f.session.reset();
    // the tables as copied, without the hidden main file, and a list to import
    QVERIFY(QFile::remove(f.env.path(QString::fromLatin1(Database::kMainFileName))));
    QFile list(f.env.path(u"Callsign.txt"_s));
    QVERIFY(list.open(QIODevice::WriteOnly) && list.write("UA1XYZ\r\n") > 0);
    list.close();
    const QMap<QString, QByteArray> before = folderBytes(f.env.workDir());
    f.prompter.labels.clear();

    const WithoutFileAccessOverride restricted;
    QVERIFY(QFile::setPermissions(f.env.workDir(), QFile::ReadOwner | QFile::ExeOwner));
    f.start();
    QCOMPARE(f.opening.failures, QString());
    QCOMPARE(f.rows(kTables), QStringList{u"RA3ABC | RA3ABC | 4"_s});
    QCOMPARE(f.score(), kOneContact);
    QVERIFY2(f.session->contactsRefusal().endsWith(kReadOnly), qPrintable(f.session->contactsRefusal()));
    const QString told = SessionFixture::refusal([&] { operation(f); });
    QVERIFY2(told.endsWith(refusal), qPrintable(told));
    QCOMPARE(f.prompter.labels, QStringList());
    f.session.reset();
    QCOMPARE(folderBytes(f.env.workDir()), before);
}

// a folder that cannot even be read: every view says so at start, and every write is refused
void TestContestSession::unreadableFolderIsRefusedAtStart()
{
    SKIP_WITHOUT_FOLDER_PERMISSIONS();
    SessionFixture f;
    f.start();
    f.session.reset();
    const QMap<QString, QByteArray> before = folderBytes(f.env.workDir());
    {
        const WithoutFileAccessOverride restricted;
        QVERIFY(QFile::setPermissions(f.env.workDir(), {}));
        f.start();
        const QString cannotOpen = u"Cannot open the contest folder"_s;
        QCOMPARE(f.opening.failures.split(u'\n').filter(cannotOpen).size(), 3);
        QVERIFY(SessionFixture::refusal([&f] { f.addParticipants({u"RA3ABC"_s}); }).contains(cannotOpen));
        f.session.reset();
    }
    QVERIFY(QFile::setPermissions(f.env.workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(folderBytes(f.env.workDir()), before);
}

void TestContestSession::damagedTableIsReportedOnceAndNeverWritten_data()
{
    QTest::addColumn<PageDamage>("damage");
    QTest::addColumn<int>("fewestReadable");
    QTest::addColumn<int>("mostReadable");
    // off the window's thread, with a write coming in before the answer
    QTest::addColumn<bool>("inBackground");
    QTest::addColumn<CheckHindrance>("frequencyFile");
    // a row has vanished from a data page; the rows past a broken inner page are counted too
    QTest::newRow("a data page") << PageDamage::DataPage << 2047 << 2047 << false << CheckHindrance::None;
    QTest::newRow("an inner page") << PageDamage::InnerPage << 1025 << 2047 << false << CheckHindrance::None;
    QTest::newRow("a data page, checked in the background")
        << PageDamage::DataPage << 2047 << 2047 << true << CheckHindrance::None;
    // a file whose check cannot run is told as not checked, never counted among the sound ones
    QTest::newRow("Frequency.db locked past the check's wait")
        << PageDamage::DataPage << 2047 << 2047 << false << CheckHindrance::Locked;
    QTest::newRow("Frequency.db unreadable to the check in the background")
        << PageDamage::DataPage << 2047 << 2047 << true << CheckHindrance::Unreadable;
}

// the damage is told once, with the sound tables and the copies to go back to; the file is never written
void TestContestSession::damagedTableIsReportedOnceAndNeverWritten()
{
    QFETCH(PageDamage, damage);
    QFETCH(int, fewestReadable);
    QFETCH(int, mostReadable);
    QFETCH(bool, inBackground);
    QFETCH(CheckHindrance, frequencyFile);
    SessionFixture f;
    makeLargeContest(f.env.workDir(), 2048);
    const QString contestFile = f.env.path(u"Contest.db"_s);
    QVERIFY(QDir().mkpath(f.env.path(u"backup/2006-10-21_180000"_s)));
    QVERIFY(QFile::copy(contestFile, f.env.path(u"backup/2006-10-21_180000/Contest.db"_s)));
    QVERIFY(damageTablePages(contestFile, u"Contest"_s, damage));
    const QByteArray damaged = fileBytes(contestFile);

    f.start();
    QCOMPARE(f.opening.failures, QString());
    const QString frequencies = f.env.path(u"Frequency.db"_s);
    std::optional<HeldTableFile> held;
    std::optional<WithoutFileAccessOverride> restricted;
    if (frequencyFile == CheckHindrance::Locked) {
        held.emplace(frequencies);
    } else if (frequencyFile == CheckHindrance::Unreadable) {
        SKIP_WITHOUT_FOLDER_PERMISSIONS();
        restricted.emplace();
        QVERIFY(QFile::setPermissions(frequencies, {}));
    }
    if (inBackground) {
        QSignalSpy checked(f.session.get(), &ContestSession::tableFilesChecked);
        f.session->startTableChecks();
        // the write waits for the answer, and the answer refuses it
        const QString early = SessionFixture::refusal([&f] { f.db().execute(u"update Contest set Commentary='x'"_s); });
        QVERIFY2(early.startsWith(u"Contest.db is damaged:"_s), qPrintable(early));
        QVERIFY(checked.wait());
    } else {
        f.session->checkTableFiles();
    }
    held.reset();
    restricted.reset();
    QVERIFY(QFile::setPermissions(frequencies, QFile::ReadOwner | QFile::WriteOwner));
    const QString report = f.session->takeFileCheckReport();
    const bool frequenciesChecked = frequencyFile == CheckHindrance::None;
    QVERIFY2(report.contains(u"Frequency.db was not checked: "_s) != frequenciesChecked, qPrintable(report));
    for (const QString& part : {u"Contest.db is damaged"_s,
                                frequenciesChecked ? u"Callsign.db, Frequency.db, Journal.db and Tie.db are sound"_s
                                                   : u"Callsign.db, Journal.db and Tie.db are sound"_s,
                                u"Copies of it, newest first: backup/2006-10-21_180000/Contest.db"_s}) {
        QVERIFY2(report.contains(part), qPrintable(report));
    }
    const int readable = QRegularExpression(u"(\\d+) of its rows"_s).match(report).captured(1).toInt();
    QVERIFY2(readable >= fewestReadable && readable <= mostReadable, qPrintable(report));
    // the checks that follow tell nothing more
    f.session->checkTableFiles();
    QCOMPARE(f.session->takeFileCheckReport(), QString());
    // a write is refused, saying why, and asks nothing
    const QString told = SessionFixture::refusal([&f] { f.addParticipants({u"RA3ABC"_s}); });
    QVERIFY2(told.startsWith(u"Contest.db is damaged:"_s), qPrintable(told));
    QCOMPARE(f.db().writeRefusal(kTableContest), told);
    QCOMPARE(f.session->contactsRefusal(), told);
    QVERIFY(!f.session->explainedByDamage(kTableContest, std::make_exception_ptr(StoreError(told))));
    QCOMPARE(f.prompter.labels, QStringList());
    f.session.reset();
    QCOMPARE(fileBytes(contestFile), damaged);
}

void TestContestSession::frequencyThatCannotBeKeptIsToldOnce_data()
{
    QTest::addColumn<SessionOperation>("spoil");
    QTest::addColumn<bool>("inBackground");
    QTest::newRow("read-only") << SessionOperation([](SessionFixture& f) {
        QVERIFY(QFile::setPermissions(f.env.path(u"Frequency.db"_s), QFile::ReadOwner));
    }) << false;
    QTest::newRow("damaged") << SessionOperation(damageFrequencies) << false;
    QTest::newRow("damaged, its check still running") << SessionOperation(damageFrequencies) << true;
}

// the contacts are recorded without their frequency, and the operator is told once
void TestContestSession::frequencyThatCannotBeKeptIsToldOnce()
{
    QFETCH(SessionOperation, spoil);
    QFETCH(bool, inBackground);
    SessionFixture f;
    f.start();
    f.addParticipants({u"RA3ABC"_s, u"UA1XYZ"_s});
    f.session.reset();
    spoil(f);
    const QByteArray spoilt = fileBytes(f.env.path(u"Frequency.db"_s));
    const WithoutFileAccessOverride restricted;
    f.start();
    if (inBackground) {
        f.session->startTableChecks();
    }
    const ContactFrequency radio{3'650'400, u"LSB"_s};
    const QString told = f.enter(u"RA3ABC"_s, u"23 015"_s, 0, radio).notice;
    QVERIFY2(told.startsWith(u"Frequency.db "_s), qPrintable(told));
    QCOMPARE(f.enter(u"UA1XYZ"_s, u"24 016"_s, 0, radio).notice, QString());
    QCOMPARE(f.rows(u"SELECT CallSign FROM Journal"_s), QStringList({u"RA3ABC"_s, u"UA1XYZ"_s}));
    f.session.reset();
    QCOMPARE(fileBytes(f.env.path(u"Frequency.db"_s)), spoilt);
}

QTEST_GUILESS_MAIN(TestContestSession)
#include "test_contestsession.moc"
