#include "store/Database.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "store/ViewStatements.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDate>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kRows = 3000;
const ViewFilter kBandFilter{{u"Diapasone"_s, 80}, {u"Modulation"_s, u"SSB"_s}};

// one row in ten is planned (no date), the rest worked on one of five days: the order puts the nulls
// first, which reads on from a row must step over in both directions
QVariant dateOfRow(int i)
{
    return i % 10 == 1 ? QVariant() : QVariant(QDate(2006, 10, 20 + i % 5));
}
} // namespace

// A view reads its order as far as it is used; these cases reach the rows it has not read yet.
class TestLazyView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void boundaryConditionsBindWhatTheyMark();
    void readingBothWaysGivesTheTablesOrder();
    void locateFindsARowNotRead();
    void postLandsInAPartNotRead();
    void endOfViewFollowsAnotherViewsWrites();
    void rollbackWhilePartlyRead();
    void removingARowReadAloneKeepsTheOrder();
    void rowBeingAppendedHidesNoOtherRow();

private:
    std::unique_ptr<TableView> openedView();
    QList<qint64> tableOrder();
    RowOrder::Entry keysOf(qint64 id);
    // the first column of every row the statement gives
    QList<qint64> firstColumn(const BoundSql& statement);
    static QList<qint64> walkedOrder(TableView& view);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestLazyView::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
    m_db->attachExisting(u"Contest"_s);
    Transaction transaction(*m_db);
    Statement insert = m_db->prepare(u"INSERT INTO Contest.Contest (D, CallSign, TourNumber, Diapasone, "
                                     "Modulation) VALUES (?, ?, 1, ?, 'SSB')"_s);
    for (int i = 0; i < kRows; ++i) {
        const QVariant date = dateOfRow(i);
        insert.bindAll({date.isNull() ? date : QVariant(date.toDate().toString(Qt::ISODate)),
                        u"R%1"_s.arg((i * 7919) % kRows, 4, 10, QChar(u'0')), i % 10 == 0 ? 160 : 80});
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

void TestLazyView::cleanup()
{
    m_db.reset();
    m_env.reset();
}

std::unique_ptr<TableView> TestLazyView::openedView()
{
    auto view = std::make_unique<TableView>(*m_db, contestViewDefinition(u"Contest80"_s));
    view->setFilter(kBandFilter);
    view->setFiltered(true);
    view->open();
    return view;
}

QList<qint64> TestLazyView::tableOrder()
{
    return firstColumn(
        {u"SELECT ID FROM Contest.Contest WHERE Diapasone=80 AND Modulation='SSB' ORDER BY D, CallSign, ID"_s, {}});
}

RowOrder::Entry TestLazyView::keysOf(qint64 id)
{
    Statement query = m_db->prepare(u"SELECT D, CallSign FROM Contest.Contest WHERE ID=?"_s);
    query.bind(1, id);
    RowOrder::Entry entry;
    entry.id = id;
    if (query.step()) {
        entry.key = {query.column(0), query.column(1)};
    }
    return entry;
}

QList<qint64> TestLazyView::firstColumn(const BoundSql& statement)
{
    Statement query = m_db->prepare(statement.sql);
    query.bindAll(statement.values);
    QList<qint64> values;
    while (query.step()) {
        values.append(query.column(0).toLongLong());
    }
    return values;
}

QList<qint64> TestLazyView::walkedOrder(TableView& view)
{
    QList<qint64> ids;
    for (int row = 0; row < view.recordCount(); ++row) {
        ids.append(view.idAt(row));
    }
    return ids;
}

void TestLazyView::boundaryConditionsBindWhatTheyMark()
{
    // the filter's values and the boundary's go to their own marks: the rows on either side of a row, and
    // the count before it, are those of the table's order
    const QList<qint64> expected = tableOrder();
    ViewStatements statements(u"Contest"_s, {u"D"_s, u"CallSign"_s});
    statements.setFilter(kBandFilter);
    constexpr qsizetype kStep = 10;
    // a planned row (the nulls come first) and a dated one
    for (const qsizetype position : {qsizetype(20), expected.size() / 2}) {
        const RowOrder::Entry entry = keysOf(expected.at(position));
        QVERIFY(entry.key.first().isNull() == (position == 20));
        const BoundSql after = statements.keys(ViewStatements::Direction::Forward, kStep, &entry);
        QCOMPARE(after.sql.count(u'?'), after.values.size());
        QCOMPARE(firstColumn(after), expected.mid(position + 1, kStep));
        QList<qint64> nearestFirst = expected.mid(position - kStep, kStep);
        std::reverse(nearestFirst.begin(), nearestFirst.end());
        QCOMPARE(firstColumn(statements.keys(ViewStatements::Direction::Backward, kStep, &entry)), nearestFirst);
        const BoundSql before = statements.countBefore(entry);
        QCOMPARE(before.sql.count(u'?'), before.values.size());
        QCOMPARE(firstColumn(before), QList<qint64>{position});
    }
}

void TestLazyView::readingBothWaysGivesTheTablesOrder()
{
    const QList<qint64> expected = tableOrder();
    std::unique_ptr<TableView> forward = openedView();
    QCOMPARE(forward->recordCount(), expected.size());
    QVERIFY(forward->readOrderCount() < expected.size());
    // a read that finds fewer rows than counted reads the whole order again and resets the grids: it
    // must never be needed while nothing changes
    QSignalSpy forwardResets(forward.get(), &TableView::aboutToReset);
    // a read on from the first screen that passes from the planned rows to the dated ones, and one back
    // from a located row that passes the other way: each reads its stretch, not the whole order
    QCOMPARE(forward->idAt(400), expected.at(400));
    QVERIFY(forward->readOrderCount() < expected.size());
    std::unique_ptr<TableView> island = openedView();
    QVERIFY(island->locateId(expected.at(400)));
    QCOMPARE(island->idAt(250), expected.at(250));
    QVERIFY(island->readOrderCount() < expected.size());
    QCOMPARE(walkedOrder(*forward), expected);

    std::unique_ptr<TableView> backward = openedView();
    QSignalSpy backwardResets(backward.get(), &TableView::aboutToReset);
    QList<qint64> ids;
    for (backward->last(); !backward->bof(); backward->prior()) {
        ids.prepend(backward->currentId());
    }
    QCOMPARE(ids, expected);
    QCoreApplication::processEvents();
    QCOMPARE(forwardResets.count(), 0);
    QCOMPARE(backwardResets.count(), 0);
}

void TestLazyView::locateFindsARowNotRead()
{
    const QList<qint64> expected = tableOrder();
    std::unique_ptr<TableView> view = openedView();
    const qint64 wanted = expected.at(expected.size() / 2);
    Statement callsign = m_db->prepare(u"SELECT CallSign FROM Contest.Contest WHERE ID=?"_s);
    callsign.bind(1, wanted);
    QVERIFY(callsign.step());
    QVERIFY(view->locate(u"CallSign"_s, {callsign.column(0).toString().toLower()}, true));
    QCOMPARE(view->currentId(), wanted);
    QCOMPARE(view->currentRow(), expected.size() / 2);
    QVERIFY(view->readOrderCount() < expected.size() / 2);
    view->next();
    QCOMPARE(view->currentId(), expected.at(expected.size() / 2 + 1));

    std::unique_ptr<TableView> byId = openedView();
    QVERIFY(byId->locateId(expected.at(expected.size() - 300)));
    QCOMPARE(byId->currentRow(), expected.size() - 300);
    QVERIFY(!byId->locateId(-5));
}

void TestLazyView::postLandsInAPartNotRead()
{
    std::unique_ptr<TableView> view = openedView();
    // a worked row in the middle of the dated ones, far from the first screen and from the end
    view->append();
    view->setValue(u"D"_s, QDate(2006, 10, 22));
    view->setValue(u"CallSign"_s, u"R1500X"_s);
    view->setValue(u"Diapasone"_s, 80);
    view->setValue(u"Modulation"_s, u"SSB"_s);
    view->post();
    const QList<qint64> expected = tableOrder();
    QCOMPARE(view->recordCount(), expected.size());
    QCOMPARE(view->currentRow(), expected.indexOf(view->currentId()));
    QCOMPARE(view->text(u"CallSign"_s), u"R1500X"_s);

    // a planned row of the first screen worked: it moves among the dated rows, which are not read yet
    view->first();
    const qint64 worked = view->currentId();
    view->edit();
    view->setValue(u"D"_s, QDate(2006, 10, 21));
    view->post();
    QCOMPARE(view->currentId(), worked);
    QCOMPARE(view->currentRow(), tableOrder().indexOf(worked));
    QCOMPARE(walkedOrder(*view), tableOrder());
}

void TestLazyView::endOfViewFollowsAnotherViewsWrites()
{
    std::unique_ptr<TableView> shown = openedView();
    shown->last();
    const qint64 lastRow = shown->currentId();
    std::unique_ptr<TableView> writer = openedView();
    QSignalSpy resets(shown.get(), &TableView::aboutToReset);
    const QList<qint64> before = tableOrder();
    for (int step = 0; step < 60; ++step) {
        const qint64 target = before.at((step * 97) % (before.size() - 1));
        if (target == lastRow) {
            continue;
        }
        QVERIFY(writer->locateId(target));
        if (step % 3 == 0) {
            writer->remove();
        } else if (step % 3 == 1) {
            // worked, taken back or moved to another band: rows not read leave, move and stay
            writer->edit();
            writer->setValue(u"D"_s, step % 2 ? QVariant(QDate(2006, 10, 30)) : QVariant());
            writer->setValue(u"Diapasone"_s, step % 5 == 1 ? 160 : 80);
            writer->post();
        } else {
            writer->append();
            writer->setValue(u"D"_s, QDate(2006, 10, 20 + step % 12));
            writer->setValue(u"CallSign"_s, u"N%1"_s.arg(step));
            writer->setValue(u"Diapasone"_s, 80);
            writer->setValue(u"Modulation"_s, u"SSB"_s);
            writer->post();
        }
        QCOMPARE(shown->recordCount(), int(tableOrder().size()));
        QCOMPARE(shown->currentId(), lastRow);
    }
    QCOMPARE(walkedOrder(*shown), tableOrder());
    QCoreApplication::processEvents();
    QCOMPARE(resets.count(), 0);
}

void TestLazyView::rollbackWhilePartlyRead()
{
    std::unique_ptr<TableView> shown = openedView();
    shown->last();
    shown->prior();
    const qint64 current = shown->currentId();
    std::unique_ptr<TableView> writer = openedView();
    {
        Transaction undone(*m_db);
        for (int i = 0; i < 20; ++i) {
            writer->append();
            writer->setValue(u"CallSign"_s, u"U%1"_s.arg(i));
            writer->setValue(u"Diapasone"_s, 80);
            writer->setValue(u"Modulation"_s, u"SSB"_s);
            writer->post();
        }
        writer->first();
        writer->remove();
        QCOMPARE(shown->recordCount(), int(tableOrder().size()));
    }
    const QList<qint64> expected = tableOrder();
    QCOMPARE(shown->recordCount(), expected.size());
    QCOMPARE(shown->currentId(), current);
    QCOMPARE(shown->currentRow(), expected.indexOf(current));
    QCOMPARE(walkedOrder(*shown), expected);
}

// a located row is read as a stretch of its own; when it goes, so does its stretch, and the rows read after
// it move up by one
void TestLazyView::removingARowReadAloneKeepsTheOrder()
{
    std::unique_ptr<TableView> view = openedView();
    view->last();
    const QList<qint64> before = tableOrder();
    QCOMPARE(view->currentId(), before.last());
    QVERIFY(view->locateId(before.at(before.size() / 2)));
    QSignalSpy resets(view.get(), &TableView::aboutToReset);
    view->remove();
    // asked of the rows read before any read of those not read, which would put a wrong order right
    const QList<qint64> after = tableOrder();
    QCOMPARE(view->idAt(view->recordCount() - 1), after.last());
    QCOMPARE(view->idAt(0), after.first());
    QCOMPARE(walkedOrder(*view), after);
    // right by itself, not by reading the whole order again once it was found out of step
    QCoreApplication::processEvents();
    QCOMPARE(resets.count(), 0);
}

// the buffer of a row being appended belongs to no row shown: the current row still shows its own values
void TestLazyView::rowBeingAppendedHidesNoOtherRow()
{
    std::unique_ptr<TableView> view = openedView();
    view->moveTo(5);
    const QString shown = view->text(u"CallSign"_s);
    view->append();
    view->setValue(u"CallSign"_s, u"NEW1"_s);
    QCOMPARE(view->valueAt(5, view->fieldIndex(u"CallSign"_s)).toString(), shown);
    view->cancel();
}

QTEST_GUILESS_MAIN(TestLazyView)
#include "test_lazyview.moc"
