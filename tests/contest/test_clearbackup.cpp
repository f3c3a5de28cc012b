#include "contest/ClearBackup.h"
#include "contest/Participants.h"
#include "store/StoreError.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

// The copy made before Clear Contest-Table: whole, readable on its own, never half made.
class TestClearBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiesOpenOnTheirOwnWithEveryRow();
    void copyThatCannotBeMadeSaysWhy();
    void copyFailingHalfWayLeavesNoHalfCopy();

private:
    static int rowsIn(const QString& file, const char* table)
    {
        sqlite3* db = nullptr;
        int rows = -1;
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* query = nullptr;
            const QByteArray sql = QByteArray("SELECT count(*) FROM ") + table;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &query, nullptr) == SQLITE_OK
                && sqlite3_step(query) == SQLITE_ROW) {
                rows = sqlite3_column_int(query, 0);
            }
            sqlite3_finalize(query);
        }
        sqlite3_close(db);
        return rows;
    }
};

void TestClearBackup::copiesOpenOnTheirOwnWithEveryRow()
{
    ContestFixture c;
    FakePrompter prompter;
    prompter.answers = {QStringLiteral("RA3ABC")};
    NewCallsign(*c.db, {*c.callsign, *c.contest80, *c.contest80CW, *c.contest160, *c.contest160CW}, prompter,
                {1, [] { return 2; }});
    const QDateTime now(QDate(2024, 11, 16), QTime(18, 5, 7));

    const QString first = BackupBeforeClear(*c.db, now);
    QCOMPARE(first, QStringLiteral("backup/2024-11-16_180507"));
    QCOMPARE(rowsIn(c.env.path(first + QStringLiteral("/Callsign.db")), "Callsign"), 1);
    QCOMPARE(rowsIn(c.env.path(first + QStringLiteral("/Contest.db")), "Contest"), 8);
    QVERIFY(!QFile::exists(c.env.path(first + QStringLiteral("/Journal.db"))));
    // a second clear in the same second keeps the first copy
    QCOMPARE(BackupBeforeClear(*c.db, now), QStringLiteral("backup/2024-11-16_180507-2"));
}

void TestClearBackup::copyThatCannotBeMadeSaysWhy()
{
    ContestFixture c;
    QFile blocker(c.env.path(QStringLiteral("backup")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        BackupBeforeClear(*c.db, QDateTime(QDate(2024, 11, 16), QTime(18, 5, 7)));
        QFAIL("a copy into a file was reported as made");
    } catch (const StoreError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("backup")), qPrintable(error.message()));
    }
}

// the participants are copied and then the contest table cannot be read (another program writes it):
// a folder holding only the participants would pass for a backup that cannot put the contest back
void TestClearBackup::copyFailingHalfWayLeavesNoHalfCopy()
{
    ContestFixture c;
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(c.env.path(QStringLiteral("Contest.db"))).constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY_THROWS_EXCEPTION(StoreError, BackupBeforeClear(*c.db, QDateTime(QDate(2024, 11, 16), QTime(18, 5, 7))));
    sqlite3_close(other);
    QCOMPARE(QDir(c.env.path(QStringLiteral("backup"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(TestClearBackup)
#include "test_clearbackup.moc"
