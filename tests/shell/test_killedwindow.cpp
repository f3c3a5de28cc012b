#include "shell/Unit1.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"

#include <QProcess>
#include <QTest>
#include <QTimer>

// The window is killed with SIGKILL right after a contact; the next start sends the next serial.
class TestKilledWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restartsWithTheNextSerial();
};

void TestKilledWindow::restartsWithTheNextSerial()
{
    TestEnvironment env;
    QProcess window;
    window.setWorkingDirectory(env.workDir());
    window.start(QStringLiteral(WINDOW_DRIVER_PATH), {});
    QVERIFY(window.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += window.readAllStandardOutput()).contains("DONE"), 30000);
    QVERIFY2(output.contains("DONE 2"), output.constData());
    window.kill();
    QVERIFY(window.waitForFinished());

    TForm1 form;
    controls(form).timer1().stop();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(controls(form).nppEdit().value(), 2);
    QCOMPARE(controls(form).sendTextPanel().caption(), QStringLiteral("22 002"));
}

QTEST_MAIN(TestKilledWindow)
#include "test_killedwindow.moc"
