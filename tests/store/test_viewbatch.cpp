#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QSignalSpy>
#include <QTest>
#include <QTime>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
void appendContestRow(TableView& view, const QVariant& d, const QVariant& callsign, int diapasone = 80)
{
    view.append();
    view.setValue(u"D"_s, d);
    view.setValue(u"CallSign"_s, callsign);
    view.setValue(u"Diapasone"_s, diapasone);
    view.setValue(u"Modulation"_s, u"SSB"_s);
    view.post();
}

QList<qint64> idsInOrder(const TableView& view)
{
    QList<qint64> ids;
    for (int row = 0; row < view.recordCount(); ++row) {
        ids.append(view.idAt(row));
    }
    return ids;
}
} // namespace

// Posts in bulk and the places new rows take in a view's order without being read back.
class TestViewBatch : public QObject
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

    void batchShowsOneResetInsteadOfARowSignalEach()
    {
        TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
        view.open();
        QSignalSpy aboutToReset(&view, &TableView::aboutToReset);
        QSignalSpy resetDone(&view, &TableView::resetDone);
        QSignalSpy inserted(&view, &TableView::aboutToInsertRow);
        QSignalSpy current(&view, &TableView::currentRowChanged);
        {
            const TableView::BatchUpdate outer(view);
            {
                const TableView::BatchUpdate inner(view);
                appendContestRow(view, {}, u"UA3CCC"_s);
                appendContestRow(view, {}, u"UA3AAA"_s);
            }
            QCOMPARE(resetDone.count(), 0); // the outer batch still runs
            appendContestRow(view, {}, u"UA3BBB"_s);
            QCOMPARE(view.recordCount(), 3);
        }
        QCOMPARE(aboutToReset.count(), 1);
        QCOMPARE(resetDone.count(), 1);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(current.count(), 1);
        // a follower that re-reads after the reset finds the last posted row current
        QCOMPARE(current.last().at(0).toInt(), 1);
        QCOMPARE(view.text(u"CallSign"_s), u"UA3BBB"_s);
    }

    void rowsPostedInABatchAreUndoneWithTheTransaction()
    {
        TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
        view.open();
        {
            const TableView::BatchUpdate batch(view);
            Transaction transaction(*m_db);
            appendContestRow(view, {}, u"UA3AAA"_s);
            appendContestRow(view, {}, u"UA3BBB"_s);
        }
        QCOMPARE(view.recordCount(), 0);
        QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), 0);
    }

    void newRowTakesThePlaceTheTableGivesIt_data()
    {
        QTest::addColumn<bool>("filtered");
        QTest::newRow("no filter: placed from the values written") << false;
        QTest::newRow("filter: read back through it") << true;
    }

    // The view's order after posts equals the order SQLite gives the same rows when read afresh: dates
    // written as dates, texts and nulls sort as the table sorts them.
    void newRowTakesThePlaceTheTableGivesIt()
    {
        QFETCH(bool, filtered);
        TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
        view.setFilter({{u"Diapasone"_s, 80}});
        view.setFiltered(filtered);
        view.open();
        const QList<std::pair<QVariant, QVariant>> rows = {
            {QDate(2006, 10, 22), u"UA3BBB"_s}, {QVariant(), u"UA3ZZZ"_s},
            {QDate(2006, 10, 21), u"ua3aaa"_s}, {QVariant(), u"UA3AAA"_s},
            {QDate(2006, 10, 22), u"UA3AAA"_s}, {u"2006-10-22"_s, u"UA3ABC"_s},
            {QVariant(), QVariant()},           {QDate(2006, 1, 2), u"1234567890X"_s},
            {QDate(2006, 10, 22), u"UA3BBB"_s},
        };
        for (const auto& [d, callsign] : rows) {
            appendContestRow(view, d, callsign);
            QCOMPARE(view.text(u"CallSign"_s), cutToCharacters(callsign.toString(), 10));
        }
        appendContestRow(view, QDate(2006, 10, 23), u"UA9XXX"_s, 160);

        TableView fresh(*m_db, contestViewDefinition(u"Contest80"_s));
        fresh.setFilter({{u"Diapasone"_s, 80}});
        fresh.setFiltered(filtered);
        fresh.open();
        QCOMPARE(idsInOrder(view), idsInOrder(fresh));
        QCOMPARE(view.recordCount(), filtered ? int(rows.size()) : int(rows.size()) + 1);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestViewBatch)
#include "test_viewbatch.moc"
