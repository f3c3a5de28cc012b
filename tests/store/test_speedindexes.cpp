#include "store/Database.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "support/TestEnvironment.h"

#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
QString queryPlan(Database& db, const QString& table, const QString& sql)
{
    Statement plan = db.prepareOn(table, u"EXPLAIN QUERY PLAN "_s + sql);
    QStringList steps;
    while (plan.step()) {
        steps.append(plan.column(3).toString());
    }
    return steps.join(u" | "_s);
}
} // namespace

// The indexes that keep a band view of one tour and the score quick on a large contest.
class TestSpeedIndexes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<Database>(m_env->workDir());
        EnsureTables(*m_db);
    }

    void cleanup()
    {
        m_db.reset();
        m_env.reset();
    }

    void queriesReadTheirRowsThroughAnIndex_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("index");
        // a view binds its filter's band, mode and tour
        QTest::newRow("band view of one tour")
            << u"Contest"_s
            << u"SELECT ID, D, CallSign FROM Contest.Contest WHERE Diapasone=? AND Modulation=? AND "
               "TourNumber=? ORDER BY D, CallSign, ID"_s
            << u"Contest$Band"_s;
        QTest::newRow("band view of all tours")
            << u"Contest"_s
            << u"SELECT ID, D, CallSign FROM Contest.Contest WHERE Diapasone=? AND Modulation=? "
               "ORDER BY D DESC, CallSign DESC, ID DESC LIMIT 128"_s
            << u"Contest$BandAllTours"_s;
        QTest::newRow("correspondents")
            << u"Journal"_s << u"select Callsign from Journal.Journal where ContestNumber=1 group by Callsign"_s
            << u"Journal$ContestCallSign"_s;
        QTest::newRow("regions") << u"Journal"_s
                                 << u"select KI from Journal.Journal where ContestNumber=1 group by KI"_s
                                 << u"Journal$ContestKI"_s;
    }

    // in the index's order, so that nothing is sorted afterwards, and without visiting the table's rows
    void queriesReadTheirRowsThroughAnIndex()
    {
        QFETCH(QString, table);
        QFETCH(QString, sql);
        QFETCH(QString, index);
        for (int start = 0; start < 2; ++start) {
            const QString plan = queryPlan(*m_db, table, sql);
            QVERIFY2(plan.contains(u"COVERING INDEX "_s + index), qPrintable(plan));
            QVERIFY2(!plan.contains(u"TEMP B-TREE"_s), qPrintable(plan));
            // a folder made before the index gets it at its next start
            m_db->prepareOn(table, u"DROP INDEX %1.\"%2\""_s.arg(table, index)).run();
            EnsureTables(*m_db);
        }
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestSpeedIndexes)
#include "test_speedindexes.moc"
