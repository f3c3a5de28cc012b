#include "shell/ErrorBox.h"
#include "shell/ProfileFile.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The contest operations driven through the window with the keyboard, as the operator works.
class TestUnit1Contacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void insThenEnterRecordsAContact();
    void newCallsignThroughTheRealDialog();
    void reportFailureIsToldOnceAndTheSerialStillAdvances();
    void restoredValuesRunTheirHandlers();
    void serialContinuesAfterTheLastContactAfterACrash();
    void tourClockSetsPanelGaugeAndTour();

private:
    void start();
    void writeSettings(const QList<QPair<QString, QString>>& values);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
};

void TestUnit1Contacts::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_errors.clear();
    m_prompter.answers.clear();
    m_prompter.messages.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
}

void TestUnit1Contacts::cleanup()
{
    m_form.reset();
    m_env.reset();
    setErrorReporter({});
}

void TestUnit1Contacts::start()
{
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    m_form->setClock(&m_clock);
    controls(m_form).timer1().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_VERIFY(controls(m_form).bandGrid(0).hasFocus());
}

void TestUnit1Contacts::writeSettings(const QList<QPair<QString, QString>>& values)
{
    ProfileFile profile(settingsFilePath());
    profile.load();
    for (const auto& [key, value] : values) {
        profile.setValue(u"TForm1"_s, key, value);
    }
    profile.save();
}

void TestUnit1Contacts::insThenEnterRecordsAContact()
{
    start();
    m_prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QCOMPARE(controls(m_form).contest80().recordCount(), 8);
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);

    QCOMPARE(m_errors, QStringList());
    QCOMPARE(m_prompter.labels.last(), u"Код (диапазон 80 м - SSB:"_s);
    QCOMPARE(controls(m_form).journalView().recordCount(), 1);
    QCOMPARE(controls(m_form).nppEdit().value(), 2);
    QCOMPARE(controls(m_form).sendTextPanel().caption(), u"22 002"_s);
    QCOMPARE(controls(m_form).statusBar1().panelText(1), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
    QFile report(QDir(m_env->workDir()).absoluteFilePath(u"Report.txt"_s));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().contains("RA3ABC\t22 001\t23 015\r\n"));
    // the serial is on disk before the next contact, not only at exit
    ProfileFile saved(settingsFilePath());
    saved.load();
    QCOMPARE(saved.value(u"TForm1"_s, u"NppEdit_Value"_s, QString()), u"2"_s);
    // the same row again is refused with the message of a repeated contact
    controls(m_form).contest80().last();
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_prompter.messages, QStringList{u"Повторная связь в пределах одного тура не разрешена !"_s});
}

void TestUnit1Contacts::newCallsignThroughTheRealDialog()
{
    m_form = std::make_unique<TForm1>();
    controls(m_form).timer1().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    bool answered = false;
    QTimer::singleShot(0, this, [&answered] {
        QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QCOMPARE(dialog->windowTitle(), u"Ввод нового позывного..."_s);
        QCOMPARE(dialog->labelText(), u"Позывной:"_s);
        auto* line = dialog->findChild<QLineEdit*>();
        QVERIFY(line);
        QCOMPARE(line->text(), QString());
        QTest::keyClicks(line, u"UA1XYZ"_s);
        QTest::keyClick(line, Qt::Key_Return);
        answered = true;
    });
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QVERIFY(answered);
    QCOMPARE(controls(m_form).callsignView().recordCount(), 1);
    QCOMPARE(controls(m_form).contest160CW().recordCount(), 8);
}

void TestUnit1Contacts::reportFailureIsToldOnceAndTheSerialStillAdvances()
{
    QVERIFY(QDir(m_env->workDir()).mkdir(u"Report.txt"_s));
    start();
    m_prompter.answers = {u"RA3ABC"_s, u"23 015"_s, u"23 016"_s};
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(u"Report.txt"_s));
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(controls(m_form).journalView().recordCount(), 2);
    QCOMPARE(controls(m_form).nppEdit().value(), 3);
}

void TestUnit1Contacts::restoredValuesRunTheirHandlers()
{
    m_form = std::make_unique<TForm1>();
    TableView& journal = controls(m_form).journalView();
    journal.append();
    journal.setValue(u"CallSign"_s, u"RA3ABC"_s);
    journal.setValue(u"ContestNumber"_s, 3);
    journal.setValue(u"KI"_s, u"23"_s);
    journal.setValue(u"SentText"_s, u"7 011"_s);
    journal.post();
    m_form.reset();
    writeSettings({{u"ContestNumber_Value"_s, u"3"_s},
                   {u"Tour_Value"_s, u"2"_s},
                   {u"KIEdit_Value"_s, u"7"_s},
                   {u"NppEdit_Value"_s, u"12"_s},
                   {u"AutoChangeTour_Checked"_s, u"false"_s}});
    start();
    QCOMPARE(controls(m_form).statusBar1().panelText(1), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
    QCOMPARE(controls(m_form).tour().value(), 2);
    QCOMPARE(controls(m_form).contest80().filter(), u"Diapasone=80 and Modulation='SSB' and TourNumber=2"_s);
    // the journal's "7 011" predates the leading zero and still counts as this KI's serial
    QCOMPARE(controls(m_form).sendTextPanel().caption(), u"07 012"_s);
    QVERIFY(!controls(m_form).autoChangeTour().isChecked());
}

void TestUnit1Contacts::serialContinuesAfterTheLastContactAfterACrash()
{
    m_form = std::make_unique<TForm1>();
    TableView& journal = controls(m_form).journalView();
    for (const QString& sent : {u"22 004"_s, u"22 005"_s}) {
        journal.append();
        journal.setValue(u"ContestNumber"_s, 1);
        journal.setValue(u"SentText"_s, sent);
        journal.post();
    }
    m_form.reset();
    // the settings were last saved before the last two contacts
    writeSettings({{u"NppEdit_Value"_s, u"4"_s}});
    start();
    QCOMPARE(controls(m_form).nppEdit().value(), 6);
    QCOMPARE(controls(m_form).sendTextPanel().caption(), u"22 006"_s);
}

void TestUnit1Contacts::tourClockSetsPanelGaugeAndTour()
{
    start();
    controls(m_form).begDate().setDate(QDate(2006, 10, 22));
    controls(m_form).begTime().setTime(QTime(20, 0));
    m_clock.now = QDateTime(QDate(2006, 10, 22), QTime(20, 30, 1));
    controls(m_form).tick();
    QCOMPARE(controls(m_form).statusBar1().panelText(0), u"Tour 2 of 8"_s);
    QCOMPARE(controls(m_form).gauge1().maxValue(), 1800);
    QCOMPARE(controls(m_form).gauge1().progress(), 1);
    QCOMPARE(controls(m_form).tour().value(), 2);
    QCOMPARE(controls(m_form).contest160CW().filter(), u"Diapasone=160 and Modulation='CW' and TourNumber=2"_s);

    controls(m_form).autoChangeTour().setChecked(false);
    m_clock.now = QDateTime(QDate(2006, 10, 23), QTime(0, 0, 1));
    controls(m_form).tick();
    QCOMPARE(controls(m_form).statusBar1().panelText(0), u"After..."_s);
    QCOMPARE(controls(m_form).gauge1().progress(), 1800);
    QCOMPARE(controls(m_form).tour().value(), 2);
}

QTEST_MAIN(TestUnit1Contacts)
#include "test_unit1contacts.moc"
