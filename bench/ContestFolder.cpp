#include "ContestFolder.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kContestNumber = 1;
constexpr int kRowsPerTourCombination = 4;
constexpr int kRegions = 60;
constexpr int kOwnKi = 22;
const QStringList kTableFiles = {u"Callsign.db"_s, u"Contest.db"_s, u"Journal.db"_s, u"Tie.db"_s};

struct BareStatement
{
    BareStatement(sqlite3* db, const char* sql)
        : db(db)
    {
        checkSqlite(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), db);
    }
    ~BareStatement() { sqlite3_finalize(statement); }

    void text(int index, const QString& value)
    {
        const QByteArray bytes = value.toUtf8();
        sqlite3_bind_text(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    void number(int index, qint64 value) { sqlite3_bind_int64(statement, index, value); }
    void null(int index) { sqlite3_bind_null(statement, index); }
    void run()
    {
        checkSqlite(sqlite3_step(statement), db);
        sqlite3_reset(statement);
    }

    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
};

// Whether the row at this place of a participant's matrix was worked: five of its 32 rows, spread over
// bands, modes and tours, and shifted from one participant to the next.
bool isWorked(int participant, int within, int rowsPerParticipant, int workedPerParticipant)
{
    return ((within + participant) * 13) % rowsPerParticipant < workedPerParticipant;
}

QString timeText(int secondsIntoContest)
{
    const int seconds = secondsIntoContest % (24 * 3600);
    return u"%1:%2:%3.000"_s.arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}
} // namespace

void checkSqlite(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

QString generatedCallsign(int index)
{
    return u"QQ%1"_s.arg(index, 6, 10, QChar(u'0'));
}

BareConnection::BareConnection(const QString& folder)
{
    const QDir dir(folder);
    checkSqlite(sqlite3_open(dir.absoluteFilePath(QString::fromLatin1(kMainFileName)).toUtf8().constData(), &m_db),
                m_db);
    for (const QString& file : kTableFiles) {
        const QByteArray sql =
            u"ATTACH DATABASE '%1' AS %2"_s.arg(dir.absoluteFilePath(file), file.chopped(3)).toUtf8();
        exec(sql.constData());
    }
    exec("PRAGMA journal_mode=DELETE; PRAGMA Callsign.journal_mode=DELETE; PRAGMA Contest.journal_mode=DELETE; "
         "PRAGMA Journal.journal_mode=DELETE; PRAGMA Tie.journal_mode=DELETE; PRAGMA synchronous=FULL; "
         "PRAGMA Callsign.synchronous=FULL; PRAGMA Contest.synchronous=FULL; PRAGMA Journal.synchronous=FULL; "
         "PRAGMA Tie.synchronous=FULL");
}

BareConnection::~BareConnection()
{
    sqlite3_close(m_db);
}

void BareConnection::exec(const char* sql)
{
    checkSqlite(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), m_db);
}

namespace
{
void fillTables(BareConnection& bare, const ContestScale& scale)
{
    const int rowsPerParticipant = kRowsPerTourCombination * scale.tours;
    const int workedPerParticipant = scale.contacts / scale.participants;
    bare.exec("BEGIN IMMEDIATE");
    BareStatement participant(bare.handle(), "INSERT INTO Callsign.Callsign (CallSign) VALUES (?)");
    BareStatement contest(bare.handle(),
                          "INSERT INTO Contest.Contest (D, T, CallSign, ContestNumber, TourNumber, Diapasone, "
                          "Modulation, SentText, RecvText) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    BareStatement tie(bare.handle(), "INSERT INTO Tie.Tie (ContestID, JournalID) VALUES (?, ?)");
    BareStatement journal(bare.handle(),
                          "INSERT INTO Journal.Journal (D, T, CallSign, ContestNumber, TourNumber, Diapasone, "
                          "Modulation, OutFlag, SentText, RecvText, KI) VALUES (?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)");
    int serial = 0;
    for (int p = 0; p < scale.participants; ++p) {
        const QString callsign = generatedCallsign(p);
        participant.text(1, callsign);
        participant.run();
        for (int within = 0; within < rowsPerParticipant; ++within) {
            const int combination = within / scale.tours;
            const int tour = 1 + within % scale.tours;
            const int diapasone = combination < 2 ? 80 : 160;
            const QString modulation = combination % 2 == 0 ? u"SSB"_s : u"CW"_s;
            contest.text(3, callsign);
            contest.number(4, kContestNumber);
            contest.number(5, tour);
            contest.number(6, diapasone);
            contest.text(7, modulation);
            if (isWorked(p, within, rowsPerParticipant, workedPerParticipant)) {
                ++serial;
                const QString time = timeText(serial);
                const QString sent = u"%1 %2"_s.arg(kOwnKi).arg(serial, 3, 10, QChar(u'0'));
                const QString received = u"%1 %2"_s.arg(10 + p % kRegions).arg(1 + within, 3, 10, QChar(u'0'));
                contest.text(1, u"2006-10-22"_s);
                contest.text(2, time);
                contest.text(8, sent);
                contest.text(9, received);
                journal.text(1, u"2006-10-22"_s);
                journal.text(2, time);
                journal.text(3, callsign);
                journal.number(4, kContestNumber);
                journal.number(5, tour);
                journal.number(6, diapasone);
                journal.text(7, modulation);
                journal.text(8, sent);
                journal.text(9, received);
                journal.text(10, received.left(2));
                journal.run();
                tie.number(2, sqlite3_last_insert_rowid(bare.handle()));
            } else {
                for (int field : {1, 2, 8, 9}) {
                    contest.null(field);
                }
            }
            contest.run();
            // each worked row tied to its journal line, as contact entry ties them
            if (isWorked(p, within, rowsPerParticipant, workedPerParticipant)) {
                tie.number(1, sqlite3_last_insert_rowid(bare.handle()));
                tie.run();
            }
        }
    }
    bare.exec("COMMIT");
}
} // namespace

void generateContestFolder(const QString& folder, const ContestScale& scale)
{
    {
        Database db(folder);
        EnsureTables(db);
    }
    {
        BareConnection bare(folder);
        fillTables(bare, scale);
    }
    QFile::remove(QDir(folder).filePath(QString::fromLatin1(BareConnection::kMainFileName)));
}

void copyContestFolder(const QString& from, const QString& to)
{
    for (const QString& file : kTableFiles) {
        const QString target = QDir(to).filePath(file);
        QFile::remove(target);
        if (!QFile::copy(QDir(from).filePath(file), target)) {
            throw std::runtime_error("cannot copy a table file");
        }
    }
}
