#include "store/Database.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QTest>
#include <QTime>

#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

// A contact writes a Contest row and a Journal row; all of it lands or none of it.
class TestTransaction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void failureBetweenTwoPostsLeavesNeitherRow_data();
    void failureBetweenTwoPostsLeavesNeitherRow();
    void committedContactReachesTheFiles();
    void innerTransactionRollsBackAlone();
    void viewsReadAgainAfterRollback();

private:
    int countIn(const QString& table) const;
    // a connection of its own, as the next start of the program would open
    int countFromAnotherConnection(const QString& table) const;

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TableView> m_contest;
    std::unique_ptr<TableView> m_journal;
};

void TestTransaction::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
    QVERIFY(RunSql(*m_db,
                   u"insert into Contest (CallSign, Diapasone, Modulation, TourNumber) values "
                   "('QQ0AAA', 80, 'SSB', 1), ('QQ0BBB', 80, 'SSB', 1), ('QQ0CCC', 80, 'SSB', 1)"_s));
    m_contest = std::make_unique<TableView>(*m_db, contestViewDefinition(u"Contest80"_s));
    m_journal = std::make_unique<TableView>(*m_db, journalViewDefinition());
    m_contest->open();
    m_journal->open();
}

void TestTransaction::cleanup()
{
    m_contest.reset();
    m_journal.reset();
    m_db.reset();
    m_env.reset();
}

int TestTransaction::countIn(const QString& table) const
{
    return QuerySingleValue(*m_db, u"select count(*) from %1 where T is not null"_s.arg(table)).toInt();
}

int TestTransaction::countFromAnotherConnection(const QString& table) const
{
    Database other(m_env->workDir());
    return QuerySingleValue(other, u"select count(*) from %1 where T is not null"_s.arg(table)).toInt();
}

void TestTransaction::failureBetweenTwoPostsLeavesNeitherRow_data()
{
    QTest::addColumn<bool>("failingStatement");
    QTest::newRow("exception between the posts") << false;
    QTest::newRow("the second post fails in the engine") << true;
}

void TestTransaction::failureBetweenTwoPostsLeavesNeitherRow()
{
    QFETCH(bool, failingStatement);
    if (failingStatement) {
        m_db->prepare(u"CREATE TRIGGER Journal.refuse BEFORE INSERT ON Journal "
                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s)
            .run();
    }
    QVERIFY(m_contest->locate(u"Callsign"_s, {u"QQ0BBB"_s}, true));

    bool failed = false;
    try {
        Transaction transaction(*m_db);
        m_contest->edit();
        m_contest->setValue(u"T"_s, QTime(16, 45));
        m_contest->setValue(u"RecvText"_s, u"22 001"_s);
        m_contest->post();
        if (!failingStatement) {
            throw std::runtime_error("operator's machine gave up");
        }
        m_journal->append();
        m_journal->setValue(u"CallSign"_s, u"QQ0BBB"_s);
        m_journal->setValue(u"T"_s, QTime(16, 45));
        m_journal->post();
        transaction.commit();
    } catch (const std::exception&) {
        failed = true;
    }

    QVERIFY(failed);
    QCOMPARE(countIn(u"Contest"_s), 0);
    QCOMPARE(countIn(u"Journal"_s), 0);
    QCOMPARE(countFromAnotherConnection(u"Contest"_s), 0);
    QVERIFY(!m_db->inTransaction());
}

void TestTransaction::committedContactReachesTheFiles()
{
    {
        Transaction transaction(*m_db);
        QVERIFY(m_contest->locate(u"Callsign"_s, {u"QQ0BBB"_s}, true));
        m_contest->edit();
        m_contest->setValue(u"T"_s, QTime(16, 45));
        m_contest->post();
        m_journal->append();
        m_journal->setValue(u"T"_s, QTime(16, 45));
        m_journal->post();
        transaction.commit();
    }
    QCOMPARE(countFromAnotherConnection(u"Contest"_s), 1);
    QCOMPARE(countFromAnotherConnection(u"Journal"_s), 1);
}

void TestTransaction::innerTransactionRollsBackAlone()
{
    {
        Transaction outer(*m_db);
        m_journal->append();
        m_journal->setValue(u"T"_s, QTime(10, 0));
        m_journal->post();
        {
            Transaction inner(*m_db);
            m_journal->append();
            m_journal->setValue(u"T"_s, QTime(11, 0));
            m_journal->post();
        }
        QVERIFY(m_db->inTransaction());
        QCOMPARE(m_journal->recordCount(), 1);
        outer.commit();
    }
    QCOMPARE(countFromAnotherConnection(u"Journal"_s), 1);
    QCOMPARE(QuerySingleValue(*m_db, u"select T from Journal"_s), QVariant(u"10:00:00.000"_s));
}

void TestTransaction::viewsReadAgainAfterRollback()
{
    QVERIFY(m_contest->locate(u"Callsign"_s, {u"QQ0CCC"_s}, true));
    const qint64 current = m_contest->currentId();
    {
        Transaction transaction(*m_db);
        // rows that move in the view's order, a new row and a removed one, all undone
        m_contest->first();
        m_contest->edit();
        m_contest->setValue(u"CallSign"_s, u"QQ0ZZZ"_s);
        m_contest->post();
        m_contest->append();
        m_contest->setValue(u"CallSign"_s, u"QQ0000"_s);
        m_contest->post();
        m_journal->append();
        m_journal->setValue(u"CallSign"_s, u"QQ0ZZZ"_s);
        m_journal->post();
        QVERIFY(m_contest->locate(u"Callsign"_s, {u"QQ0BBB"_s}, true));
        m_contest->remove();
        QVERIFY(m_contest->locateId(current));
    }
    QCOMPARE(m_contest->currentId(), current);
    QCOMPARE(m_contest->text(u"CallSign"_s), u"QQ0CCC"_s);

    QStringList callsigns;
    for (m_contest->first(); !m_contest->eof(); m_contest->next()) {
        callsigns.append(m_contest->text(u"CallSign"_s));
    }
    QCOMPARE(callsigns, QStringList({u"QQ0AAA"_s, u"QQ0BBB"_s, u"QQ0CCC"_s}));
    QCOMPARE(m_journal->recordCount(), 0);
    QVERIFY(m_journal->eof());

    // the views go on working after the rollback
    QVERIFY(m_contest->locateId(current));
    m_contest->edit();
    m_contest->setValue(u"T"_s, QTime(17, 0));
    m_contest->post();
    QCOMPARE(countFromAnotherConnection(u"Contest"_s), 1);
}

QTEST_GUILESS_MAIN(TestTransaction)
#include "test_transaction.moc"
