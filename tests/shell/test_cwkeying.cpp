#include "shell/CwSettings.h"
#include "shell/DialogPrompter.h"
#include "shell/MessagesDialog.h"
#include "shell/ProfileFile.h"
#include "shell/RadioSettings.h"
#include "shell/StationSettings.h"
#include "support/FreePort.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kSsb80 = 0;
constexpr int kCw80 = 1;
// keyed at a slow speed, a message lasts long enough to be stopped half-way
constexpr int kSlowWpm = 20;
constexpr int kFastWpm = 40;
constexpr int kPartnerMs = 10000;

enum class Lost
{
    CwdaemonHalfWay,
    NothingOnThePort,
    RigctldHalfWay,
};
} // namespace

Q_DECLARE_METATYPE(Lost)
Q_DECLARE_METATYPE(CwSettings::Keyer)

// The window keys CW through a real cwdaemon and a real rigctld serving hamlib's dummy rig, each started
// by the test on a free port and read back through its debug output.
class TestCwKeying : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void exchangeIsTheOneLogged();
    void callIsTheRowEntered();
    void speedSignsNeverReachCwdaemon_data();
    void speedSignsNeverReachCwdaemon();
    void messagesDialogRefusesSpeedSigns_data();
    void messagesDialogRefusesSpeedSigns();
    void escStopsWhatIsKeyedAndWhatWaits();
    void radioKeysTheMorseTwins();
    void lostKeyerNeverHoldsTheWindow_data();
    void lostKeyerNeverHoldsTheWindow();
    void messagesDialogKeepsItsSection();

private:
    void startPartner(const QString& program, const QStringList& arguments);
    void stopPartner();
    void signalPartner(const char* signal) const;
    // what the partner has printed so far
    QString keyed();
    void startWindow(CwSettings::Keyer keyer, int wpm, bool exchangeOnEntry = false);
    void startCwdaemon()
    {
        startPartner(u"cwdaemon"_s,
                     {u"-n"_s, u"-d"_s, u"null"_s, u"-x"_s, u"n"_s, u"-y"_s, u"i"_s, u"-p"_s, QString::number(m_port)});
    }
    void press(int band, Qt::Key key) { QTest::keyClick(&m_w->ui().bandGrid(band), key); }
    void addParticipant(const QString& call);
    int notices(const QString& start) const
    {
        return int(std::count_if(m_notices.cbegin(), m_notices.cend(),
                                 [&start](const QString& notice) { return notice.startsWith(start); }));
    }

    int m_port = 0;
    std::unique_ptr<QProcess> m_partner;
    QString m_output;
    std::unique_ptr<WindowFixture> m_w;
    QStringList m_notices;
};

void TestCwKeying::initTestCase()
{
    if (QStandardPaths::findExecutable(u"cwdaemon"_s).isEmpty()
        || QStandardPaths::findExecutable(u"rigctld"_s).isEmpty()) {
        QSKIP("cwdaemon or rigctld (libhamlib-utils) is not installed");
    }
}

void TestCwKeying::init()
{
    m_w = std::make_unique<WindowFixture>();
    m_notices.clear();
}

void TestCwKeying::cleanup()
{
    m_w->form.reset();
    stopPartner();
    m_w.reset();
}

void TestCwKeying::startPartner(const QString& program, const QStringList& arguments)
{
    m_output.clear();
    m_partner = std::make_unique<QProcess>();
    m_partner->setProcessChannelMode(QProcess::MergedChannels);
    m_partner->start(program, arguments);
    QVERIFY(m_partner->waitForStarted());
}

void TestCwKeying::stopPartner()
{
    if (m_partner) {
        signalPartner("-CONT");
        m_partner->kill();
        m_partner->waitForFinished();
        m_partner.reset();
    }
}

void TestCwKeying::signalPartner(const char* signal) const
{
    QCOMPARE(QProcess::execute(u"kill"_s, {QString::fromLatin1(signal), QString::number(m_partner->processId())}), 0);
}

QString TestCwKeying::keyed()
{
    m_output += QString::fromLocal8Bit(m_partner->readAll());
    return m_output;
}

void TestCwKeying::startWindow(CwSettings::Keyer keyer, int wpm, bool exchangeOnEntry)
{
    CwSettings cw;
    cw.keyer = keyer;
    cw.port = m_port;
    cw.wpm = wpm;
    cw.exchangeOnEntry = exchangeOnEntry;
    saveCwSettings(cw);
    m_w->start();
    connect(&m_w->ui().statusBar1(), &QStatusBar::messageChanged, this, [this](const QString& notice) {
        if (!notice.isEmpty()) {
            m_notices << notice;
        }
    });
    m_w->ui().bandGrid(kCw80).setFocus();
    QTRY_COMPARE(m_w->form->activeBand(), kCw80);
}

void TestCwKeying::addParticipant(const QString& call)
{
    const int rows = m_w->ui().bandView(kCw80).recordCount();
    m_w->prompter.answers = {call};
    press(kCw80, Qt::Key_Insert);
    QTRY_COMPARE(m_w->ui().bandView(kCw80).recordCount(), rows + 8);
}

void TestCwKeying::exchangeIsTheOneLogged()
{
    m_port = freeLocalPort(SOCK_DGRAM);
    startCwdaemon();
    startWindow(CwSettings::Keyer::Cwdaemon, kFastWpm, true);
    addParticipant(u"RA3ABC"_s);
    // the prompt sends the exchange as it opens; F2 pressed meanwhile waits for it, and goes after the
    // contact is logged and the serial has moved on: both carry the contact's own
    m_w->prompter.whilePrompting = [this] { press(kCw80, Qt::Key_F2); };
    m_w->prompter.answers = {u"23 015"_s};
    press(kCw80, Qt::Key_Return);
    m_w->prompter.whilePrompting = {};
    QCOMPARE(m_w->ui().nppEdit().value(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(keyed().count(u"request: \"22 001\""_s), 2, kPartnerMs);
    QCOMPARE(m_w->rows(u"select SentText from Journal"_s), QStringList{u"22 001"_s});
    // a message carries the serial shown when its key was pressed, changed by hand or not
    press(kCw80, Qt::Key_F3);
    press(kCw80, Qt::Key_F8);
    m_w->ui().nppEdit().setValue(7);
    press(kCw80, Qt::Key_F8);
    QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"22 007\""_s), kPartnerMs);
    QVERIFY(keyed().indexOf(u"request: \"22 002\""_s) >= 0);
    QVERIFY(keyed().indexOf(u"request: \"22 002\""_s) < keyed().indexOf(u"request: \"22 007\""_s));
    QCOMPARE(notices(u"CW not sent"_s), 0);
    QCOMPARE(m_w->errors, QStringList());
    // in edit mode F2 opens the cell of a CW column, as it always has, and sends nothing
    m_w->ui().editing().setChecked(true);
    press(kCw80, Qt::Key_F2);
    auto* cell = m_w->ui().bandGrid(kCw80).findChild<QLineEdit*>();
    QVERIFY(cell && cell->isVisible());
    QTest::keyClick(cell, Qt::Key_Escape);
}

void TestCwKeying::callIsTheRowEntered()
{
    m_port = freeLocalPort(SOCK_DGRAM);
    startCwdaemon();
    startWindow(CwSettings::Keyer::Cwdaemon, kFastWpm);
    addParticipant(u"RA3ABC"_s);
    addParticipant(u"RA3XYZ"_s);
    TableView& cw80 = m_w->ui().bandView(kCw80);
    cw80.last();
    // a tour starts while the prompt is open: the column shows that tour from its first row, another station's
    m_w->prompter.whilePrompting = [&] {
        m_w->ui().tour().setValue(cw80.value(u"TourNumber"_s).toInt());
        QCOMPARE(cw80.value(u"CallSign"_s).toString(), u"RA3ABC"_s);
        press(kCw80, Qt::Key_F5);
    };
    m_w->prompter.answers = {u"23 015"_s};
    press(kCw80, Qt::Key_Return);
    m_w->prompter.whilePrompting = {};
    QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"RA3XYZ\""_s), kPartnerMs);
    QVERIFY(!keyed().contains(u"request: \"RA3ABC\""_s));
    QCOMPARE(m_w->rows(u"select CallSign from Journal"_s), QStringList{u"RA3XYZ"_s});
    QCOMPARE(m_w->errors, QStringList());
}

void TestCwKeying::speedSignsNeverReachCwdaemon_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("ki");
    QTest::addColumn<int>("serial");
    QTest::addColumn<QString>("myCall");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<bool>("told");
    QTest::newRow("serial set below 1") << Qt::Key_F2 << 22 << -5 << QString() << u"22 001"_s << false;
    QTest::newRow("KI below 0") << Qt::Key_F2 << -5 << 1 << QString() << u"5 001"_s << true;
    QTest::newRow("callsign with a hyphen") << Qt::Key_F4 << 22 << 1 << u"UA3A-P"_s << u"UA3AP"_s << true;
}

// cwdaemon takes + and - in a text as speed changes: whatever fills a message in, none of them go
void TestCwKeying::speedSignsNeverReachCwdaemon()
{
    QFETCH(Qt::Key, key);
    QFETCH(int, ki);
    QFETCH(int, serial);
    QFETCH(QString, myCall);
    QFETCH(QString, sent);
    QFETCH(bool, told);
    m_port = freeLocalPort(SOCK_DGRAM);
    startCwdaemon();
    Station station;
    station.callsign = myCall;
    saveStation(station);
    startWindow(CwSettings::Keyer::Cwdaemon, kFastWpm);
    m_w->ui().kiEdit().setValue(ki);
    m_w->ui().nppEdit().setValue(serial);
    press(kCw80, key);
    QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"%1\""_s.arg(sent)), kPartnerMs);
    QCOMPARE(notices(u"Left out of the CW, cwdaemon takes them as speed changes: -"_s), told ? 1 : 0);
    QCOMPARE(m_w->errors, QStringList());
}

void TestCwKeying::messagesDialogRefusesSpeedSigns_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<CwSettings::Keyer>("keyer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("AR for cwdaemon") << u"TU +"_s << CwSettings::Keyer::Cwdaemon << false;
    QTest::newRow("hyphen for cwdaemon") << u"{CALL} 5NN-{NR}"_s << CwSettings::Keyer::Cwdaemon << false;
    QTest::newRow("AR for the radio") << u"TU +"_s << CwSettings::Keyer::Radio << true;
    QTest::newRow("fields for cwdaemon") << u"TU {CALL} {EXCH}"_s << CwSettings::Keyer::Cwdaemon << true;
}

void TestCwKeying::messagesDialogRefusesSpeedSigns()
{
    QFETCH(QString, message);
    QFETCH(CwSettings::Keyer, keyer);
    QFETCH(bool, accepted);
    CwSettings settings;
    settings.keyer = keyer;
    settings.messages.at(2) = message;
    MessagesDialog dialog(settings);
    dialog.accept();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    // told which message, and why
    QCOMPARE(dialog.findChild<QLabel*>(u"Problem"_s)->text().startsWith(u"F3: cwdaemon takes + and -"_s), !accepted);
}

void TestCwKeying::escStopsWhatIsKeyedAndWhatWaits()
{
    m_port = freeLocalPort(SOCK_DGRAM);
    startCwdaemon();
    startWindow(CwSettings::Keyer::Cwdaemon, kSlowWpm, true);
    addParticipant(u"RA3ABC"_s);
    // the real prompt: the exchange goes as it opens, F3 typed in it waits, Esc stops both and cancels it
    DialogPrompter dialogs(m_w->form.get());
    m_w->form->setPrompter(&dialogs);
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget* prompt = QApplication::activeModalWidget();
        const auto closeOnFailure = qScopeGuard([prompt] { prompt->close(); });
        QTRY_COMPARE(QApplication::activeWindow(), prompt);
        QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"22 001\""_s), kPartnerMs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(m_w->form->findChild<QLabel*>(u"CwSpeedLabel"_s)->text(), u"CW 22 wpm"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"<ESC>4"_s), kPartnerMs);
        answered = true;
    });
    press(kCw80, Qt::Key_Return);
    m_w->form->setPrompter(&m_w->prompter);
    QVERIFY(answered);
    QCOMPARE(m_w->ui().journalView().recordCount(), 0);
    // the keyer is free again, and Esc in a column stops it as well
    press(kCw80, Qt::Key_F1);
    press(kCw80, Qt::Key_F7);
    QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"CQ TEST\""_s), kPartnerMs);
    press(kCw80, Qt::Key_Escape);
    QTRY_COMPARE_WITH_TIMEOUT(keyed().count(u"<ESC>4"_s), 2, kPartnerMs);
    // CQ TEST lasts under 4 s at this speed: what waited behind it would have gone by then
    QTest::qWait(4000);
    QVERIFY(!keyed().contains(u"request: \"TU\""_s));
    QVERIFY(!keyed().contains(u"request: \"AGN\""_s));
    QCOMPARE(notices(u"CW not sent"_s), 0);
    QCOMPARE(m_w->errors, QStringList());
}

void TestCwKeying::radioKeysTheMorseTwins()
{
    m_port = freeLocalPort(SOCK_STREAM);
    startPartner(u"rigctld"_s, {u"-m"_s, u"1"_s, u"-t"_s, QString::number(m_port), u"-vvvvv"_s});
    RadioSettings radio;
    radio.connection = RadioSettings::Connection::Network;
    radio.port = m_port;
    saveRadioSettings(radio);
    Station station;
    station.callsign = u"ра3абц/ч"_s;
    saveStation(station);
    startWindow(CwSettings::Keyer::Radio, kFastWpm);
    QTRY_VERIFY_WITH_TIMEOUT(m_w->form->findChild<QLabel*>(u"RadioLabel"_s)->text().endsWith(u"MHz"_s), kPartnerMs);
    QCOMPARE(m_w->form->findChild<QLabel*>(u"CwSpeedLabel"_s)->text(), u"CW 40 wpm"_s);
    press(kCw80, Qt::Key_F4);
    press(kCw80, Qt::Key_F4);
    QTRY_VERIFY_WITH_TIMEOUT(keyed().count(u"' RA3ABC/'"_s) == 2, kPartnerMs);
    // told once, not at every message
    QCOMPARE(notices(u"Left out of the CW, no Morse code for: ч"_s), 1);
    // in an SSB column the keys play the radio's voice memories instead
    press(kSsb80, Qt::Key_F7);
    QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"'currVFO' '7'"_s), kPartnerMs);
    QVERIFY(!keyed().contains(u"' AGN'"_s));
    QCOMPARE(notices(u"CW not sent"_s), 0);
    QCOMPARE(m_w->errors, QStringList());
}

void TestCwKeying::lostKeyerNeverHoldsTheWindow_data()
{
    QTest::addColumn<Lost>("lost");
    QTest::newRow("cwdaemon stopped half-way") << Lost::CwdaemonHalfWay;
    QTest::newRow("nothing on cwdaemon's port") << Lost::NothingOnThePort;
    QTest::newRow("rigctld stopped half-way") << Lost::RigctldHalfWay;
}

void TestCwKeying::lostKeyerNeverHoldsTheWindow()
{
    QFETCH(Lost, lost);
    const bool rig = lost == Lost::RigctldHalfWay;
    m_port = freeLocalPort(rig ? SOCK_STREAM : SOCK_DGRAM);
    if (rig) {
        startPartner(u"rigctld"_s, {u"-m"_s, u"1"_s, u"-t"_s, QString::number(m_port)});
        RadioSettings radio;
        radio.connection = RadioSettings::Connection::Network;
        radio.port = m_port;
        saveRadioSettings(radio);
    } else if (lost == Lost::CwdaemonHalfWay) {
        startCwdaemon();
    }
    startWindow(rig ? CwSettings::Keyer::Radio : CwSettings::Keyer::Cwdaemon, kSlowWpm);
    if (rig) {
        QTRY_VERIFY_WITH_TIMEOUT(m_w->form->findChild<QLabel*>(u"RadioLabel"_s)->text().endsWith(u"MHz"_s), kPartnerMs);
    }
    press(kCw80, Qt::Key_F1);
    if (lost == Lost::CwdaemonHalfWay) {
        QTRY_VERIFY_WITH_TIMEOUT(keyed().contains(u"request: \"CQ TEST\""_s), kPartnerMs);
    }
    if (m_partner) {
        signalPartner("-STOP");
    }
    press(kCw80, Qt::Key_F2);
    press(kCw80, Qt::Key_F7);

    QElapsedTimer sinceLastTick;
    qint64 longestGap = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, sinceLastTick.restart()); });
    sinceLastTick.start();
    ticker.start(10);
    QTRY_COMPARE_WITH_TIMEOUT(notices(u"CW not sent"_s), 1, kPartnerMs);
    QTest::qWait(1000);
    ticker.stop();
    QVERIFY2(longestGap < 200, qPrintable(u"the window stalled for %1 ms"_s.arg(longestGap)));
    // told once for the text and all that waited behind it
    QCOMPARE(notices(u"CW not sent"_s), 1);
    QCOMPARE(m_w->errors, QStringList());
}

void TestCwKeying::messagesDialogKeepsItsSection()
{
    m_port = freeLocalPort(SOCK_DGRAM);
    m_w->start();
    auto* speed = m_w->form->findChild<QLabel*>(u"CwSpeedLabel"_s);
    QVERIFY(!speed->isVisible());
    // without a keyer F1 says why nothing goes
    press(kCw80, Qt::Key_F1);
    QVERIFY(m_w->ui().statusBar1().currentMessage().startsWith(u"CW not sent"_s));
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(qobject_cast<QDialog*>(QApplication::activeModalWidget()));
        QWidget* dialog = QApplication::activeModalWidget();
        QCOMPARE(dialog->objectName(), u"MessagesDialog"_s);
        const auto closeOnFailure = qScopeGuard([dialog] { dialog->close(); });
        auto* f3 = dialog->findChild<QLineEdit*>(u"F3"_s);
        QCOMPARE(f3->text(), u"TU"_s);
        f3->setText(u"TU {CALL}"_s);
        // the README's picture, taken where no window manager activates the window
        if (const QByteArray shot = qgetenv("TOURLOG_SCREENSHOT"); !shot.isEmpty()) {
            dialog->findChild<QRadioButton*>(u"Cwdaemon"_s)->setChecked(true);
            dialog->grab().save(QString::fromLocal8Bit(shot));
        }
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        auto* host = dialog->findChild<QLineEdit*>(u"Host"_s);
        QTRY_VERIFY(host->isEnabled());
        dialog->findChild<QSpinBox*>(u"Port"_s)->setValue(m_port);
        QTest::keyClick(host, Qt::Key_Return);
        answered = true;
    });
    m_w->form->findChild<QAction*>(u"Messages1"_s)->trigger();
    QVERIFY(answered);
    QVERIFY(speed->isVisible());
    QCOMPARE(speed->text(), u"CW 24 wpm"_s);
    // PgUp in a CW column sets the speed; in an SSB column it pages the rows as it always has
    press(kCw80, Qt::Key_PageUp);
    press(kSsb80, Qt::Key_PageUp);
    QCOMPARE(speed->text(), u"CW 26 wpm"_s);

    ProfileFile saved(settingsFilePath());
    QVERIFY(saved.load());
    QCOMPARE(saved.value(u"Messages"_s, u"F3"_s, QString()), u"TU {CALL}"_s);
    QCOMPARE(saved.value(u"Messages"_s, u"Keyer"_s, QString()), u"Cwdaemon"_s);
    QCOMPARE(saved.value(u"Messages"_s, u"Wpm"_s, QString()), u"26"_s);
    const CwSettings loaded = loadCwSettings();
    QCOMPARE(loaded.port, m_port);
    QCOMPARE(loaded.messages.at(5), u"?"_s);
    QCOMPARE(m_w->errors, QStringList());
}

QTEST_MAIN(TestCwKeying)
#include "test_cwkeying.moc"
