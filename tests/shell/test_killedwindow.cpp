#include "support/WindowFixture.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"

#include <QProcess>

// The window is killed with SIGKILL right after a contact; the next start sends the next serial.
class TestKilledWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restartsWithTheNextSerial();
};

void TestKilledWindow::restartsWithTheNextSerial()
{
    WindowFixture w;
    QProcess window;
    window.setWorkingDirectory(w.env.workDir());
    window.start(QStringLiteral(WINDOW_DRIVER_PATH), {});
    QVERIFY(window.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += window.readAllStandardOutput()).contains("DONE"), 30000);
    QVERIFY2(output.contains("DONE 2"), output.constData());
    window.kill();
    QVERIFY(window.waitForFinished());

    w.start();
    QCOMPARE(w.ui().nppEdit().value(), 2);
    QCOMPARE(w.ui().sendTextPanel().caption(), QStringLiteral("22 002"));
    QCOMPARE(w.errors, QStringList());
}

QTEST_MAIN(TestKilledWindow)
#include "test_killedwindow.moc"
