#include "contest/LogExport.h"
#include "shell/FormStorage.h"
#include "shell/ProfileFile.h"
#include "shell/RadioSettings.h"
#include "shell/RigFollower.h"
#include "store/TableView.h"
#include "support/FreePort.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kPanel80 = 0;
constexpr int kPanel80CW = 1;
constexpr int kPanel160 = 2;
constexpr int kPanel160CW = 3;
// the radio is read twice a second: a change shows within one second
constexpr int kWithinASecond = 1000;
// the band follows a reading once it is read twice in a row; room for a loaded machine
constexpr int kFollowsMs = 3000;
// a radio that comes back is found again after at most the longest back-off
constexpr int kReconnectMs = 5000;

} // namespace

// The window follows a real rigctld serving hamlib's dummy rig. The test starts and stops rigctld itself
// (scripts/setup.sh installs it), so the test command needs nothing running beforehand.
class TestRigFollower : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void followsTheRadioAndSurvivesItsLoss();
    void bandHoldsUnderAnOpenPrompt();
    void newFrequencyWithTheModeBefore();
    void stopsPromptlyWhileTheRadioHangs();
    void radioDialogKeepsItsSection();
    void radioGoesToTheColumnChosen();
    void contactsGoOutWithTheRadiosFrequency();

private:
    void startRigctld();
    void stopRigctld();
    bool rigctl(const QStringList& commands) const;
    bool setRig(const QString& hz, const QString& mode);
    // the dummy rig's frequency and mode, as "1832500 CW"
    QString rigReading() const;
    void startWindow(bool tuneToColumn = false);
    QLabel* radioLabel() const { return m_w->form->findChild<QLabel*>(u"RadioLabel"_s); }

    int m_port = 0;
    std::unique_ptr<QProcess> m_rigctld;
    std::unique_ptr<WindowFixture> m_w;
};

void TestRigFollower::initTestCase()
{
    if (QStandardPaths::findExecutable(u"rigctld"_s).isEmpty()) {
        QSKIP("rigctld (libhamlib-utils) is not installed");
    }
    m_port = freeLocalPort();
}

void TestRigFollower::init()
{
    m_w = std::make_unique<WindowFixture>();
    startRigctld();
}

void TestRigFollower::cleanup()
{
    m_w->form.reset();
    stopRigctld();
    m_w.reset();
}

void TestRigFollower::startRigctld()
{
    m_rigctld = std::make_unique<QProcess>();
    m_rigctld->start(u"rigctld"_s, {u"-m"_s, u"1"_s, u"-t"_s, QString::number(m_port)});
    QVERIFY(m_rigctld->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(rigctl({u"f"_s}), kReconnectMs);
}

void TestRigFollower::stopRigctld()
{
    if (m_rigctld) {
        m_rigctld->kill();
        m_rigctld->waitForFinished();
        m_rigctld.reset();
    }
}

bool TestRigFollower::rigctl(const QStringList& commands) const
{
    QProcess process;
    process.start(u"rigctl"_s, QStringList{u"-m"_s, u"2"_s, u"-r"_s, u"localhost:%1"_s.arg(m_port)} + commands);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestRigFollower::setRig(const QString& hz, const QString& mode)
{
    return rigctl({u"F"_s, hz, u"M"_s, mode, u"0"_s});
}

QString TestRigFollower::rigReading() const
{
    QProcess process;
    process.start(u"rigctl"_s, {u"-m"_s, u"2"_s, u"-r"_s, u"localhost:%1"_s.arg(m_port), u"f"_s, u"m"_s});
    process.waitForFinished();
    const QStringList lines = QString::fromLatin1(process.readAllStandardOutput()).split(u'\n');
    return lines.size() < 2 ? QString() : lines.at(0) + u' ' + lines.at(1);
}

void TestRigFollower::startWindow(bool tuneToColumn)
{
    RadioSettings radio;
    radio.connection = RadioSettings::Connection::Network;
    radio.port = m_port;
    radio.tuneToColumn = tuneToColumn;
    saveRadioSettings(radio);
    m_w->start();
    QVERIFY(radioLabel()->isVisible());
    // connected: the dummy rig's own frequency is outside both bands and picks nothing
    QTRY_VERIFY_WITH_TIMEOUT(radioLabel()->text().endsWith(u"MHz"_s), kReconnectMs);
    QCOMPARE(m_w->form->activeBand(), kPanel80);
}

void TestRigFollower::followsTheRadioAndSurvivesItsLoss()
{
    startWindow();
    QVERIFY(setRig(u"1830000"_s, u"CW"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel160CW, kFollowsMs);
    QVERIFY(m_w->ui().bandGrid(kPanel160CW).hasFocus());
    QCOMPARE(radioLabel()->text(), u"160 m CW 1.830 MHz"_s);
    QVERIFY(setRig(u"3650000"_s, u"LSB"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel80, kFollowsMs);

    // the operator's own choice holds while the radio stays where it is, or leaves the contest's bands
    QTest::mouseClick(&m_w->ui().titlePanel(kPanel160), Qt::LeftButton);
    QCOMPARE(m_w->form->activeBand(), kPanel160);
    QTest::qWait(1200);
    QCOMPARE(m_w->form->activeBand(), kPanel160);
    QCOMPARE(rigReading(), u"3650000 LSB"_s);
    QVERIFY(setRig(u"7050000"_s, u"CW"_s));
    QTRY_COMPARE(radioLabel()->text(), u"CW 7.050 MHz"_s);
    QTest::qWait(600);
    QCOMPARE(m_w->form->activeBand(), kPanel160);

    // without the radio the window keeps answering at once, says so, and finds the radio again
    stopRigctld();
    QTRY_COMPARE_WITH_TIMEOUT(radioLabel()->text(), u"no radio"_s, kWithinASecond * 2);
    QElapsedTimer sinceLastTick;
    qint64 longestGap = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, sinceLastTick.restart()); });
    sinceLastTick.start();
    ticker.start(10);
    QTest::qWait(2500);
    ticker.stop();
    QVERIFY2(longestGap < 200, qPrintable(u"the window stalled for %1 ms"_s.arg(longestGap)));
    QTest::mouseClick(&m_w->ui().titlePanel(kPanel80), Qt::LeftButton);
    QCOMPARE(m_w->form->activeBand(), kPanel80);

    startRigctld();
    QVERIFY(setRig(u"1830000"_s, u"CWR"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel160CW, kReconnectMs);
    QCOMPARE(m_w->errors, QStringList());
}

void TestRigFollower::bandHoldsUnderAnOpenPrompt()
{
    startWindow();
    // the received code's prompt stays open while the radio moves to 160 m CW
    QDialog prompt(m_w->form.get());
    prompt.setModal(true);
    m_w->prompter.whilePrompting = [&] {
        prompt.show();
        QVERIFY(setRig(u"1830000"_s, u"CW"_s));
        QTRY_COMPARE(radioLabel()->text(), u"160 m CW 1.830 MHz"_s);
        QTest::qWait(600);
        QCOMPARE(m_w->form->activeBand(), kPanel80);
        prompt.hide();
    };
    m_w->prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&m_w->ui().bandGrid(kPanel80), Qt::Key_Insert);
    QTest::keyClick(&m_w->ui().bandGrid(kPanel80), Qt::Key_Return);
    m_w->prompter.whilePrompting = {};

    QCOMPARE(m_w->ui().journalView().recordCount(), 1);
    m_w->ui().journalView().first();
    QCOMPARE(m_w->ui().journalView().value(u"Diapasone"_s).toInt(), 80);
    QCOMPARE(m_w->ui().journalView().value(u"Modulation"_s).toString(), u"SSB"_s);
    // once the prompt is gone the radio's band follows
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel160CW, kFollowsMs);
    QCOMPARE(m_w->errors, QStringList());
}

void TestRigFollower::newFrequencyWithTheModeBefore()
{
    startWindow();
    QVERIFY(setRig(u"3520000"_s, u"CWR"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel80CW, kFollowsMs);
    // 1.9 MHz read with the CW-R before it would be 160 m CW; rounds, as how often that happens is timing
    for (int round = 0; round < 5; ++round) {
        QVERIFY(rigctl({u"F"_s, u"10100000"_s, u"M"_s, u"FM"_s, u"0"_s, u"F"_s, u"1900000"_s}));
        QTRY_COMPARE(radioLabel()->text(), u"160 m FM 1.900 MHz"_s);
        QCOMPARE(m_w->form->activeBand(), kPanel80CW);
        QVERIFY(setRig(u"3520000"_s, u"CWR"_s));
        QTRY_COMPARE(radioLabel()->text(), u"80 m CW 3.520 MHz"_s);
    }
    QCOMPARE(m_w->errors, QStringList());
}

void TestRigFollower::stopsPromptlyWhileTheRadioHangs()
{
    RigFollower follower;
    RadioSettings radio;
    radio.connection = RadioSettings::Connection::Network;
    radio.port = m_port;
    QSignalSpy reads(&follower, &RigFollower::radioRead);
    follower.start(radio);
    QTRY_VERIFY_WITH_TIMEOUT(!reads.isEmpty(), kReconnectMs);
    // a rigctld that stops answering: every call into hamlib now waits for its timeout
    QCOMPARE(QProcess::execute(u"kill"_s, {u"-STOP"_s, QString::number(m_rigctld->processId())}), 0);
    QTest::qWait(700);
    QElapsedTimer stopping;
    stopping.start();
    follower.stop();
    QVERIFY2(stopping.elapsed() < 2000, qPrintable(u"stopping took %1 ms"_s.arg(stopping.elapsed())));
    QVERIFY(!follower.isFollowing());
    QCOMPARE(QProcess::execute(u"kill"_s, {u"-CONT"_s, QString::number(m_rigctld->processId())}), 0);
}

void TestRigFollower::radioDialogKeepsItsSection()
{
    m_w->start();
    QVERIFY(!radioLabel()->isVisible());
    m_w->form->formStorage1().save();
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(qobject_cast<QDialog*>(QApplication::activeModalWidget()));
        QWidget* dialog = QApplication::activeModalWidget();
        QCOMPARE(dialog->objectName(), u"RadioDialog"_s);
        const auto closeOnFailure = qScopeGuard([dialog] { dialog->close(); });
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        auto* host = dialog->findChild<QLineEdit*>(u"Host"_s);
        QTRY_VERIFY(host->isEnabled());
        host->clear();
        // an empty host is told in the dialog, which stays open with what was entered
        QTest::keyClick(host, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->findChild<QLabel*>(u"Problem"_s)->isVisible());
        QTest::keyClicks(host, u"localhost"_s);
        dialog->findChild<QSpinBox*>(u"Port"_s)->setValue(m_port);
        QTest::keyClick(host, Qt::Key_Return);
        answered = true;
    });
    m_w->form->findChild<QAction*>(u"Radio1"_s)->trigger();
    QVERIFY(answered);
    QVERIFY(radioLabel()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(radioLabel()->text().endsWith(u"MHz"_s), kReconnectMs);

    // the radio's save keeps the window's section, and the window's own save at closing the radio's
    ProfileFile saved(settingsFilePath());
    QVERIFY(saved.load());
    QCOMPARE(saved.value(u"TForm1"_s, u"NppEdit_Value"_s, QString()), u"1"_s);
    m_w->ui().nppEdit().setValue(7);
    m_w->form->close();
    m_w->form.reset();
    QVERIFY(saved.load());
    QCOMPARE(saved.value(u"TForm1"_s, u"NppEdit_Value"_s, QString()), u"7"_s);
    QCOMPARE(saved.value(u"Radio"_s, u"Connection"_s, QString()), u"Network"_s);
    QCOMPARE(saved.value(u"Radio"_s, u"Port"_s, QString()), QString::number(m_port));
    const RadioSettings loaded = loadRadioSettings();
    QCOMPARE(loaded.host, u"localhost"_s);
    QCOMPARE(int(loaded.connection), int(RadioSettings::Connection::Network));
    QCOMPARE(m_w->errors, QStringList());
}

void TestRigFollower::radioGoesToTheColumnChosen()
{
    startWindow(true);
    QVERIFY(setRig(u"1832500"_s, u"CW"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel160CW, kFollowsMs);
    QVERIFY(setRig(u"3650400"_s, u"LSB"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), kPanel80, kFollowsMs);

    // back to where the radio was last on that band and mode, and the column stays as chosen
    QTest::mouseClick(&m_w->ui().titlePanel(kPanel160CW), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(rigReading(), u"1832500 CW"_s, kWithinASecond);
    QTRY_COMPARE_WITH_TIMEOUT(radioLabel()->text(), u"160 m CW 1.833 MHz"_s, kFollowsMs);
    QTest::qWait(1500);
    QCOMPARE(m_w->form->activeBand(), kPanel160CW);
    // a column the radio has not been on yet: it reads back as that column
    QTest::mouseClick(&m_w->ui().titlePanel(kPanel160), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(radioLabel()->text().startsWith(u"160 m SSB"_s), kFollowsMs);
    QTest::qWait(1500);
    QCOMPARE(m_w->form->activeBand(), kPanel160);
    QCOMPARE(m_w->errors, QStringList());
}

void TestRigFollower::contactsGoOutWithTheRadiosFrequency()
{
    startWindow();
    m_w->prompter.answers = {u"RA3ABC"_s};
    QTest::keyClick(&m_w->ui().bandGrid(kPanel80), Qt::Key_Insert);
    for (const auto& [hz, mode, band, reading] : {std::tuple{u"3650400"_s, u"LSB"_s, kPanel80, u"80 m SSB 3.650 MHz"_s},
                                                  {u"1832500"_s, u"CW"_s, kPanel160CW, u"160 m CW 1.833 MHz"_s}}) {
        QVERIFY(setRig(hz, mode));
        QTRY_COMPARE_WITH_TIMEOUT(radioLabel()->text(), reading, kFollowsMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_w->form->activeBand(), band, kFollowsMs);
        m_w->prompter.answers = {u"23 015"_s};
        QTest::keyClick(&m_w->ui().bandGrid(band), Qt::Key_Return);
    }
    QCOMPARE(m_w->ui().journalView().recordCount(), 2);
    Station station;
    station.callsign = u"UA3ABC"_s;
    const ExportHeader header{u"1.03"_s, QDateTime::currentDateTimeUtc(), 0};
    const QString cabrillo = m_w->env.path(u"UA3ABC.log"_s);
    const QString adif = m_w->env.path(u"UA3ABC.adi"_s);
    exportLog(m_w->ui().journalView(), 1, station, header, LogFormat::Cabrillo, cabrillo);
    exportLog(m_w->ui().journalView(), 1, station, header, LogFormat::Adif, adif);
    QFile cabrilloFile(cabrillo);
    QFile adifFile(adif);
    QVERIFY(cabrilloFile.open(QIODevice::ReadOnly) && adifFile.open(QIODevice::ReadOnly));
    const QByteArray cabrilloText = cabrilloFile.readAll();
    const QByteArray adifText = adifFile.readAll();
    QVERIFY2(cabrilloText.contains("QSO:  3650 PH") && cabrilloText.contains("QSO:  1832 CW"),
             cabrilloText.constData());
    QVERIFY2(adifText.contains("<FREQ:6>3.6504") && adifText.contains("<FREQ:6>1.8325"), adifText.constData());
    QCOMPARE(m_w->errors, QStringList());
}

QTEST_MAIN(TestRigFollower)
#include "test_rigfollower.moc"
