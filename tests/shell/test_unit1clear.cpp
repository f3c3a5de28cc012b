#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/Gauge.h"
#include "widgets/PanelStatusBar.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <memory>

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
    TestEnvironment env;
    QStringList errors;
    setErrorReporter([&errors](const QString& message) { errors << message; });
    FakePrompter prompter;
    FakeClock clock;
    auto form = std::make_unique<TForm1>();
    form->setPrompter(&prompter);
    form->setClock(&clock);
    controls(form).timer1().stop();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    prompter.answers = {u"RA3ABC"_s};
    QTest::keyClick(&controls(form).bandGrid(0), Qt::Key_Insert);
    QCOMPARE(controls(form).callsignView().recordCount(), 1);

    // a file where the backup folder should be: nothing is cleared, and the operator is told why
    QFile blocker(env.path(u"backup"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    controls(form).clearContestTable1().trigger();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(u"Clear Contest-Table did nothing"_s), qPrintable(errors.first()));
    QCOMPARE(controls(form).callsignView().recordCount(), 1);
    QCOMPARE(controls(form).contest80().recordCount(), 8);

    QVERIFY(QFile::remove(env.path(u"backup"_s)));
    controls(form).clearContestTable1().trigger();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(controls(form).callsignView().recordCount(), 0);
    QVERIFY(QFile::exists(env.path(u"backup/2006-10-22_200513/Callsign.db"_s)));
    QVERIFY(controls(form).statusBar1().currentMessage().contains(u"backup/2006-10-22_200513"_s));
    QVERIFY(!controls(form).gauge1().isVisible());
    form.reset();
    setErrorReporter({});
}

QTEST_MAIN(TestUnit1Clear)
#include "test_unit1clear.moc"
