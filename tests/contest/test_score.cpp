#include "contest/Score.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace
{
// one Journal row per "callsign KI contest"
void addJournalRows(Database& db, const QStringList& rows)
{
    TableView journal(db, journalViewDefinition());
    journal.open();
    for (const QString& row : rows) {
        const QStringList parts = row.split(u' ');
        journal.append();
        journal.setValue(u"CallSign"_s, parts.at(0));
        journal.setValue(u"KI"_s, parts.at(1));
        journal.setValue(u"ContestNumber"_s, parts.at(2).toInt());
        journal.post();
    }
}

// 12 contacts with 7 stations in 3 regions, some stations worked on several bands and modes
const QStringList kTwelve = {
    u"UA3AAA 23 1"_s, u"UA3AAA 23 1"_s, u"UA3AAA 23 1"_s, u"UA3BBB 23 1"_s, u"RA3CCC 23 1"_s, u"RA3CCC 23 1"_s,
    u"UA1DDD 01 1"_s, u"UA1EEE 01 1"_s, u"UA1EEE 01 1"_s, u"UA6FFF 06 1"_s, u"UA6GGG 06 1"_s, u"UA6GGG 06 1"_s,
};
const QString kZero = u"СВ=0  КР=0(0)  РН=0(0)  Всего=0"_s;
const QString kTwelveText = u"СВ=12  КР=28(7)  РН=9(3)  Всего=49"_s;
const QString kOneText = u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s;
} // namespace

class TestScore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsOneContest_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<double>>("contestNumbers"); // counted one after the other
        QTest::addColumn<QStringList>("texts");

        const QStringList others = {u"UA9XXX 99 2"_s, u"UA9YYY 98 -1"_s, u"UA9YYY 98 11"_s};
        QTest::newRow("empty journal") << QStringList() << QList<double>{1} << QStringList{kZero};
        QTest::newRow("only other contests") << others << QList<double>{1} << QStringList{kZero};
        QTest::newRow("one station three times")
            << QStringList{u"UA3AAA 23 1"_s, u"UA3AAA 23 1"_s, u"UA3AAA 23 1"_s} << QList<double>{1}
            << QStringList{u"СВ=3  КР=4(1)  РН=3(1)  Всего=10"_s};
        QTest::newRow("two stations, one region") << QStringList{u"UA3AAA 23 1"_s, u"UA3BBB 23 1"_s} << QList<double>{1}
                                                  << QStringList{u"СВ=2  КР=8(2)  РН=3(1)  Всего=13"_s};
        QTest::newRow("1, 2 and back to 1")
            << kTwelve + others << QList<double>{1, 2, 1} << QStringList{kTwelveText, kOneText, kTwelveText};
        QTest::newRow("negative contest") << kTwelve + others << QList<double>{-1} << QStringList{kOneText};
        QTest::newRow("2.5 rounds to even 2, -0.4 to 0")
            << others + QStringList{u"UA1AAA 01 0"_s} << QList<double>{2.5, -0.4} << QStringList{kOneText, kOneText};
    }

    void countsOneContest()
    {
        QFETCH(QStringList, rows);
        QFETCH(QList<double>, contestNumbers);
        QFETCH(QStringList, texts);
        TestEnvironment env;
        Database db(env.workDir());
        EnsureTables(db);
        addJournalRows(db, rows);
        for (int i = 0; i < contestNumbers.size(); ++i) {
            const Score score = countScore(db, roundedContestNumber(contestNumbers.at(i)));
            QCOMPARE(scoreStatusText(score), texts.at(i));
            const ScoreTotals& totals = score.totals;
            QCOMPARE(totals.totalPoints, totals.contactPoints + totals.correspondentPoints + totals.regionPoints);
        }
    }

    void contestNumberIsAWholeNumber()
    {
        QCOMPARE(roundedContestNumber(-0.4), qint64(0));
        QCOMPARE(roundedContestNumber(-2.5), qint64(-2));
        QCOMPARE(roundedContestNumber(3.5), qint64(4));
        QCOMPARE(roundedContestNumber(1e9), qint64(1000000000));
        // beyond qint64 the number stays at its end rather than wrap into an arbitrary contest
        QCOMPARE_GT(roundedContestNumber(1e300), qint64(1e18));
        QCOMPARE(roundedContestNumber(-1e300), std::numeric_limits<qint64>::min());
        QCOMPARE(roundedContestNumber(qQNaN()), qint64(0));
    }

    // an older Journal without KI: grouping by KI fails in the engine, and so does a missing Journal
    void engineErrorOpeningQueryPropagates()
    {
        TestEnvironment env;
        Database db(env.workDir());
        QVERIFY_THROWS_EXCEPTION(StoreError, countScore(db, 1));
        db.execute(u"Create Table Journal (ID AutoInc, CallSign Char(10), ContestNumber Integer, primary key(ID))"_s);
        db.execute(u"insert into Journal (CallSign, ContestNumber) values ('UA3AAA', 1)"_s);
        QVERIFY_THROWS_EXCEPTION(StoreError, countScore(db, 1));
    }
};

QTEST_GUILESS_MAIN(TestScore)
#include "test_score.moc"
