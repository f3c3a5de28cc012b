#include "store/Database.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kRows = 64000;
constexpr int kScreenRows = 40;
constexpr int kBands = 4;

QString numberedCallsign(int number)
{
    return u"QQ%1"_s.arg(number, 5, 10, QChar(u'0'));
}
} // namespace

// A contest of 2,000 participants and eight tours makes 64,000 Contest rows; a view of them must open and
// show its first screen by reading one page of field values, not the whole table.
class TestLargeView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void firstScreenFetchesOnePage();
    void jumpingFarFetchesOnePageMore();
    void filteredViewReadsOnlyItsRows();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestLargeView::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
    m_db->attachExisting(u"Contest"_s);
    Transaction transaction(*m_db);
    Statement insert = m_db->prepare(u"INSERT INTO Contest.Contest (CallSign, ContestNumber, TourNumber, Diapasone, "
                                     "Modulation) VALUES (?, 1, ?, ?, ?)"_s);
    for (int i = 0; i < kRows; ++i) {
        const int band = i % kBands;
        insert.bindAll(
            {numberedCallsign(kRows - i), 1 + (i / kBands) % 8, band < 2 ? 80 : 160, band % 2 ? u"CW"_s : u"SSB"_s});
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

void TestLargeView::cleanupTestCase()
{
    m_db.reset();
    m_env.reset();
}

void TestLargeView::firstScreenFetchesOnePage()
{
    TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
    view.open();
    QCOMPARE(view.recordCount(), kRows);
    QCOMPARE(view.fetchedRowCount(), 0);

    QStringList screen;
    for (int row = 0; row < kScreenRows; ++row) {
        screen.append(view.valueAt(row, view.fieldIndex(u"CallSign"_s)).toString());
    }
    QVERIFY(view.fetchedRowCount() <= TableView::kPageSize);
    // the view's order is by callsign here (no row has a date), so the screen starts at the lowest one
    QCOMPARE(screen.first(), u"QQ00001"_s);
    QCOMPARE(screen.at(kScreenRows - 1), u"QQ00040"_s);
}

void TestLargeView::jumpingFarFetchesOnePageMore()
{
    TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
    view.open();
    view.first();
    QCOMPARE(view.text(u"CallSign"_s), u"QQ00001"_s);
    const qint64 afterFirst = view.fetchedRowCount();

    view.last();
    QCOMPARE(view.text(u"CallSign"_s), u"QQ64000"_s);
    view.moveTo(kRows / 2);
    QCOMPARE(view.text(u"CallSign"_s), numberedCallsign(kRows / 2 + 1));
    QVERIFY(view.fetchedRowCount() - afterFirst <= 2 * TableView::kPageSize);
}

void TestLargeView::filteredViewReadsOnlyItsRows()
{
    TableView view(*m_db, contestViewDefinition(u"Contest160CW"_s));
    view.setFilter({{u"Diapasone"_s, 160}, {u"Modulation"_s, u"CW"_s}, {u"TourNumber"_s, 3}});
    view.setFiltered(true);
    view.open();
    QCOMPARE(view.recordCount(), kRows / kBands / 8);
    int walked = 0;
    for (view.first(); !view.eof() && walked < kScreenRows; view.next()) {
        QCOMPARE(view.value(u"TourNumber"_s), QVariant(3));
        QCOMPARE(view.text(u"Modulation"_s), u"CW"_s);
        ++walked;
    }
    QCOMPARE(walked, kScreenRows);
    QVERIFY(view.fetchedRowCount() <= TableView::kPageSize);
}

QTEST_GUILESS_MAIN(TestLargeView)
#include "test_largeview.moc"
