#include "support/WindowFixture.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"

#include <QProcess>

// The window is killed with SIGKILL right after a contact, or after the schedule was set before the first one;
// the next start sends the next serial and keeps the schedule.
class TestKilledWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restartsWhereItWasKilled_data();
    void restartsWhereItWasKilled();
};

void TestKilledWindow::restartsWhereItWasKilled_data()
{
    QTest::addColumn<QString>("doing");
    QTest::addColumn<int>("serial");
    QTest::addColumn<QString>("schedule"); // tours, tour length, Begin, start time
    QTest::newRow("a contact") << QString() << 2 << QStringLiteral("8 30 22.10.06 16:43:19");
    QTest::newRow("the schedule set") << QStringLiteral("setup") << 1 << QStringLiteral("5 45 16.11.24 07:05:30");
}

void TestKilledWindow::restartsWhereItWasKilled()
{
    QFETCH(QString, doing);
    QFETCH(int, serial);
    QFETCH(QString, schedule);
    WindowFixture w;
    QProcess window;
    window.setWorkingDirectory(w.env.workDir());
    window.start(QStringLiteral(WINDOW_DRIVER_PATH), doing.isEmpty() ? QStringList() : QStringList{doing});
    QVERIFY(window.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += window.readAllStandardOutput()).contains("DONE"), 30000);
    QVERIFY2(output.contains(QByteArray("DONE ").append(QByteArray::number(serial))), output.constData());
    window.kill();
    QVERIFY(window.waitForFinished());

    w.start();
    QCOMPARE(w.ui().nppEdit().value(), serial);
    QCOMPARE(w.ui().sendTextPanel().caption(), QStringLiteral("22 %1").arg(serial, 3, 10, QLatin1Char('0')));
    const WindowControls ui = w.ui();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(ui.tours().value())
                 .arg(ui.tourMinutes().value())
                 .arg(ui.begDate().text(), ui.begTime().time().toString(QStringLiteral("HH:mm:ss"))),
             schedule);
    QCOMPARE(w.errors, QStringList());
}

QTEST_MAIN(TestKilledWindow)
#include "test_killedwindow.moc"
