#include "RawTableFile.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/SqlDialect.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The statements the contest logic sends, run exactly as the logic writes them.
class TestDialect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void createTableKeepsDeclaredTypes();
    void createIndexGoesIntoTheTablesFile();
    void autoIncCountsUpAfterDelete();
    void deleteStatementsEmptyTheirTables();
    void singleValueMarkers_data();
    void singleValueMarkers();
    void singleValueOfMissingTableCreatesNoFile();
    void countOfContest_data();
    void countOfContest();
    void groupedQueries_data();
    void groupedQueries();
    void queryReportsEngineErrors();
    void alterAndUpdateUpgradeJournal();
    void substring_data();
    void substring();
    void rejectedStatementsAreIgnored_data();
    void rejectedStatementsAreIgnored();
    void tableNamesIgnoreCase();

private:
    void addJournalRow(int contest, const QString& callsign, const QString& ki);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestDialect::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
}

void TestDialect::cleanup()
{
    m_db.reset();
    m_env.reset();
}

void TestDialect::addJournalRow(int contest, const QString& callsign, const QString& ki)
{
    QVERIFY(RunSql(
        *m_db,
        u"insert into Journal (ContestNumber, CallSign, KI) values (%1, '%2', '%3')"_s.arg(contest).arg(callsign, ki)));
}

void TestDialect::createTableKeepsDeclaredTypes()
{
    QVERIFY(RunSql(*m_db,
                   u"Create Table Callsign (ID AutoInc, CallSign Char(10), InCalls Integer, OutCalls Integer, "
                   "Name Char(60), Commentary Char(255), primary key(ID))"_s));

    QVERIFY(QFileInfo(m_env->path(u"Callsign.db"_s)).size() > 0);
    RawTableFile file(m_env->path(u"Callsign.db"_s));
    const QList<QVariantList> columns = file.rows(u"PRAGMA table_info(Callsign)"_s);
    QStringList declared;
    for (const QVariantList& column : columns) {
        // SQLite reports some declared types in capitals; types are matched without regard to case
        declared.append((column.at(1).toString() + u' ' + column.at(2).toString()).toLower());
    }
    QCOMPARE(declared,
             QStringList({u"id integer"_s, u"callsign char(10)"_s, u"incalls integer"_s, u"outcalls integer"_s,
                          u"name char(60)"_s, u"commentary char(255)"_s}));
    QCOMPARE(columns.first().at(5).toInt(), 1); // ID is the primary key
}

void TestDialect::createIndexGoesIntoTheTablesFile()
{
    EnsureTables(*m_db);
    // the index named like its table must not clash with it, and must not land in the main file
    QVERIFY(!RunSql(*m_db, u"Create Index Callsign on Callsign (Callsign)"_s)); // already there
    RawTableFile main(m_env->path(QString::fromLatin1(Database::kMainFileName)));
    QCOMPARE(main.value(u"select count(*) from sqlite_master"_s).toInt(), 0);

    QVERIFY(RunSql(*m_db, u"Create Index ByTour on Contest (TourNumber, Diapasone)"_s));
    RawTableFile contest(m_env->path(u"Contest.db"_s));
    const QString index = scopedIndexName(u"Contest"_s, u"ByTour"_s);
    const QList<QVariantList> columns = contest.rows(u"PRAGMA index_info(\"%1\")"_s.arg(index));
    QCOMPARE(columns.size(), 2);
    QCOMPARE(columns.at(0).at(2).toString(), u"TourNumber"_s);
    QCOMPARE(columns.at(1).at(2).toString(), u"Diapasone"_s);
}

void TestDialect::autoIncCountsUpAfterDelete()
{
    EnsureTables(*m_db);
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQQ')"_s));
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQR')"_s));
    QVERIFY(RunSql(*m_db, u"delete from Callsign"_s));
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQS')"_s));
    QCOMPARE(QuerySingleValue(*m_db, u"select ID from Callsign"_s).toInt(), 3);
}

void TestDialect::deleteStatementsEmptyTheirTables()
{
    EnsureTables(*m_db);
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQQ')"_s));
    QVERIFY(RunSql(*m_db, u"insert into Contest (CallSign, Diapasone) values ('QQ0QQQ', 80)"_s));
    addJournalRow(1, u"QQ0QQQ"_s, u"22"_s);

    TableView contest(*m_db, contestViewDefinition(u"Contest80"_s));
    contest.open();
    QCOMPARE(contest.recordCount(), 1);

    QVERIFY(RunSql(*m_db, u"delete from Callsign"_s));
    QVERIFY(RunSql(*m_db, u"delete from Contest"_s));

    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Callsign"_s).toInt(), 0);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), 0);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Journal"_s).toInt(), 1);
    // an open view of the table follows a bulk delete made behind its back
    QCOMPARE(contest.recordCount(), 0);
    QVERIFY(contest.eof());
}

void TestDialect::singleValueMarkers_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QVariant>("expected");

    const QString selectKi = u"select KI from Journal"_s;
    QTest::newRow("empty table") << QStringList() << selectKi << QVariant(kNoValue);
    QTest::newRow("first KI null") << QStringList(
        {u"insert into Journal (KI) values (null)"_s, u"insert into Journal (KI) values ('22')"_s})
                                   << selectKi << QVariant(kNoValue);
    QTest::newRow("first KI set") << QStringList({u"insert into Journal (KI) values ('22')"_s}) << selectKi
                                  << QVariant(u"22"_s);
    QTest::newRow("missing field") << QStringList() << u"select Nothing from Journal"_s << QVariant(kQueryFailed);
    QTest::newRow("syntax error") << QStringList() << u"select from where"_s << QVariant(kQueryFailed);
    QTest::newRow("count typed as a number") << QStringList({u"insert into Journal (KI) values ('22')"_s})
                                             << u"select count(*) from Journal"_s << QVariant(qlonglong(1));
    // a stored -2 is a value, not the failure marker
    QTest::newRow("stored -2") << QStringList({u"insert into Journal (ContestNumber) values (-2)"_s})
                               << u"select ContestNumber from Journal"_s << QVariant(qlonglong(-2));
}

void TestDialect::singleValueMarkers()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, select);
    QFETCH(QVariant, expected);
    EnsureTables(*m_db);
    for (const QString& statement : setup) {
        QVERIFY(RunSql(*m_db, statement));
    }
    const QVariant result = QuerySingleValue(*m_db, select);
    QCOMPARE(result.typeId(), expected.typeId());
    QCOMPARE(result, expected);
}

void TestDialect::singleValueOfMissingTableCreatesNoFile()
{
    QCOMPARE(QuerySingleValue(*m_db, u"select KI from Journal"_s), QVariant(kQueryFailed));
    QVERIFY(!RunSql(*m_db, u"delete from Contest"_s));
    QVERIFY(!QFileInfo::exists(m_env->path(u"Journal.db"_s)));
    QVERIFY(!QFileInfo::exists(m_env->path(u"Contest.db"_s)));
}

void TestDialect::countOfContest_data()
{
    QTest::addColumn<QString>("contest");
    QTest::addColumn<int>("expected");

    QTest::newRow("1") << u"1"_s << 3;
    QTest::newRow("2") << u"2"_s << 1;
    QTest::newRow("-3") << u"-3"_s << 2;
    QTest::newRow("none") << u"7"_s << 0;
}

void TestDialect::countOfContest()
{
    QFETCH(QString, contest);
    QFETCH(int, expected);
    EnsureTables(*m_db);
    addJournalRow(1, u"QQ0QQQ"_s, u"22"_s);
    addJournalRow(1, u"QQ0QQQ"_s, u"22"_s);
    addJournalRow(1, u"QQ0QQR"_s, u"23"_s);
    addJournalRow(2, u"QQ0QQQ"_s, u"22"_s);
    addJournalRow(-3, u"QQ0QQS"_s, u"24"_s);
    addJournalRow(-3, u"QQ0QQT"_s, u"24"_s);
    const QVariant count = QuerySingleValue(*m_db, u"select count(*) from Journal where ContestNumber="_s + contest);
    QCOMPARE(count.toInt(), expected);
}

void TestDialect::groupedQueries_data()
{
    QTest::addColumn<QString>("contest");
    QTest::addColumn<int>("correspondents");
    QTest::addColumn<int>("regions");

    QTest::newRow("1") << u"1"_s << 2 << 2;
    QTest::newRow("-3") << u"-3"_s << 2 << 1;
    QTest::newRow("none") << u"9"_s << 0 << 0;
}

void TestDialect::groupedQueries()
{
    QFETCH(QString, contest);
    QFETCH(int, correspondents);
    QFETCH(int, regions);
    EnsureTables(*m_db);
    addJournalRow(1, u"QQ0QQQ"_s, u"22"_s);
    addJournalRow(1, u"QQ0QQQ"_s, u"22"_s);
    addJournalRow(1, u"QQ0QQR"_s, u"23"_s);
    addJournalRow(-3, u"QQ0QQS"_s, u"24"_s);
    addJournalRow(-3, u"QQ0QQT"_s, u"24"_s);

    Query q(*m_db);
    q.setSql(u"select Callsign from Journal where ContestNumber="_s + contest + u" group by Callsign"_s);
    q.open();
    QCOMPARE(q.recordCount(), correspondents);
    q.close();
    q.setSql(u"select KI from Journal where ContestNumber="_s + contest + u" group by KI"_s);
    q.open();
    QCOMPARE(q.recordCount(), regions);
    q.close();
    QCOMPARE(q.recordCount(), 0);
}

void TestDialect::queryReportsEngineErrors()
{
    Query q(*m_db);
    q.setSql(u"select KI from Journal where ContestNumber=1 group by KI"_s); // no Journal yet
    QVERIFY_THROWS_EXCEPTION(StoreError, q.open());
    QVERIFY(!q.isOpen());
}

void TestDialect::alterAndUpdateUpgradeJournal()
{
    QVERIFY(RunSql(*m_db,
                   u"Create Table Journal (ID AutoInc, RecvText Char(10), Commentary Char(255), "
                   "primary key(ID))"_s));
    QVERIFY(RunSql(*m_db, u"insert into Journal (RecvText) values ('22 001')"_s));
    QVERIFY(RunSql(*m_db, u"insert into Journal (RecvText) values (null)"_s));
    QVERIFY(RunSql(*m_db, u"insert into Journal (RecvText) values ('Ж')"_s));

    QVERIFY(RunSql(*m_db, u"alter table Journal add KI Char(2)"_s));
    QVERIFY(RunSql(*m_db, u"update Journal set KI=SUBSTRING(RecvText from 1 for 2)"_s));

    RawTableFile file(m_env->path(u"Journal.db"_s));
    const QList<QVariantList> ki = file.rows(u"select KI from Journal order by ID"_s);
    QCOMPARE(ki, QList<QVariantList>({{u"22"_s}, {QVariant()}, {u"Ж"_s}}));
    QCOMPARE(file.rows(u"PRAGMA table_info(Journal)"_s).last().at(2).toString(), u"Char(2)"_s);
}

void TestDialect::substring_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    QTest::newRow("from and for") << u"SUBSTRING('abcdef' from 2 for 3)"_s << u"bcd"_s;
    QTest::newRow("from only") << u"SUBSTRING('abcdef' from 4)"_s << u"def"_s;
    QTest::newRow("lower case") << u"substring('abcdef' from 1 for 2)"_s << u"ab"_s;
    QTest::newRow("keywords inside a literal") << u"SUBSTRING('x from y for z' from 3 for 4)"_s << u"from"_s;
    QTest::newRow("nested") << u"SUBSTRING(SUBSTRING('abcdef' from 2) from 2 for 2)"_s << u"cd"_s;
    QTest::newRow("expression arguments") << u"SUBSTRING('abcdef' from (1+1) for length('ab'))"_s << u"bc"_s;
    QTest::newRow("characters, not bytes") << u"SUBSTRING('Привет' from 2 for 3)"_s << u"рив"_s;
}

void TestDialect::substring()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(QuerySingleValue(*m_db, u"select "_s + expression), QVariant(expected));
}

void TestDialect::rejectedStatementsAreIgnored_data()
{
    QTest::addColumn<QString>("statement");

    QTest::newRow("syntax") << u"delete Callsign where"_s;
    QTest::newRow("unknown table") << u"delete from Nowhere"_s;
    QTest::newRow("table already there") << u"Create Table Contest (ID AutoInc, primary key(ID))"_s;
    QTest::newRow("index already there") << u"Create Index DT on Contest (D, T)"_s;
    QTest::newRow("field already there") << u"alter table Journal add KI Char(2)"_s;
    QTest::newRow("two statements") << u"delete from Callsign; delete from Contest"_s;
    QTest::newRow("unterminated quote") << u"delete from Callsign where CallSign='QQ"_s;
}

void TestDialect::rejectedStatementsAreIgnored()
{
    QFETCH(QString, statement);
    EnsureTables(*m_db);
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQQ')"_s));
    QVERIFY(RunSql(*m_db, u"insert into Contest (CallSign) values ('QQ0QQQ')"_s));

    bool ran = true;
    try {
        ran = RunSql(*m_db, statement);
    } catch (...) {
        QFAIL("RunSql let an engine error through");
    }
    QVERIFY(!ran);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Callsign"_s).toInt(), 1);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), 1);
}

void TestDialect::tableNamesIgnoreCase()
{
    EnsureTables(*m_db);
    QVERIFY(RunSql(*m_db, u"INSERT INTO CALLSIGN (callsign) VALUES ('QQ0QQQ')"_s));
    QCOMPARE(QuerySingleValue(*m_db, u"select CALLSIGN from callsign"_s), QVariant(u"QQ0QQQ"_s));
    QVERIFY(RunSql(*m_db, u"DELETE FROM callSign"_s));
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from CallSign"_s).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"
