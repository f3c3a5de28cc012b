#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/Gauge.h"
#include "widgets/PanelStatusBar.h"

using namespace Qt::Literals::StringLiterals;

// Clear Contest-Table through the window: a copy first, told without a box; no copy, no clear.
class TestUnit1Clear : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clearCopiesFirstOrDoesNothing();
};

void TestUnit1Clear::clearCopiesFirstOrDoesNothing()
{
    WindowFixture w;
    w.start();
    w.prompter.answers = {u"RA3ABC"_s};
    QTest::keyClick(&w.ui().bandGrid(0), Qt::Key_Insert);
    QCOMPARE(w.ui().callsignView().recordCount(), 1);

    // a file where the backup folder should be: nothing is cleared, and the operator is told why
    QFile blocker(w.env.path(u"backup"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w.ui().clearContestTable1().trigger();
    QCOMPARE(w.errors.size(), 1);
    QVERIFY2(w.errors.first().contains(u"Clear Contest-Table did nothing"_s), qPrintable(w.errors.first()));
    QCOMPARE(w.ui().callsignView().recordCount(), 1);
    QCOMPARE(w.ui().contest80().recordCount(), 8);

    QVERIFY(QFile::remove(w.env.path(u"backup"_s)));
    w.ui().clearContestTable1().trigger();
    QCOMPARE(w.errors.size(), 1);
    QCOMPARE(w.ui().callsignView().recordCount(), 0);
    QVERIFY(QFile::exists(w.env.path(u"backup/2006-10-22_200513/Callsign.db"_s)));
    QVERIFY(w.ui().statusBar1().currentMessage().contains(u"backup/2006-10-22_200513"_s));
    QVERIFY(!w.ui().gauge1().isVisible());
}

QTEST_MAIN(TestUnit1Clear)
#include "test_unit1clear.moc"
