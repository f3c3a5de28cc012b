#include "shell/DialogPrompter.h"
#include "shell/ProfileFile.h"
#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"
#include "widgets/TypedSearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The contest operations driven through the window with the keyboard, as the operator works.
class TestUnit1Contacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_w = std::make_unique<WindowFixture>(); }
    void cleanup() { m_w.reset(); }
    void insThenEnterRecordsAContact();
    void clearTellsWhyOrWhereTheCopyWent();
    void newCallsignThroughTheRealDialog();
    void keysTypedWhileARefusalIsUpReachNoRow();
    void reportFailureIsShownAndTheSerialStillAdvances();
    void restoredValuesRunTheirHandlers();
    void serialContinuesAfterTheLastContactAfterACrash();
    void tourClockSetsPanelGaugeAndTour();

private:
    void writeSettings(const QList<QPair<QString, QString>>& values);

    std::unique_ptr<WindowFixture> m_w;
};

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
    m_w->start();
    m_w->prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QCOMPARE(m_w->ui().contest80().recordCount(), 8);
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);

    QCOMPARE(m_w->errors, QStringList());
    QCOMPARE(m_w->prompter.labels.last(), u"Код (диапазон 80 м - SSB:"_s);
    QCOMPARE(m_w->ui().nppEdit().value(), 2);
    QCOMPARE(m_w->ui().sendTextPanel().caption(), u"22 002"_s);
    QCOMPARE(m_w->ui().statusBar1().panelText(1), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
    // the serial is on disk before the next contact, not only at exit
    ProfileFile saved(settingsFilePath());
    saved.load();
    QCOMPARE(saved.value(u"TForm1"_s, u"NppEdit_Value"_s, QString()), u"2"_s);
    // the same row again is refused with the message of a repeated contact
    m_w->ui().contest80().last();
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_w->prompter.messages.size(), 1);
    QVERIFY(m_w->prompter.messages.first().startsWith(u"Повторная связь в пределах одного тура не разрешена !\n"_s));
}

// what Clear tells: why it did nothing in a box, where its copy went without one
void TestUnit1Contacts::clearTellsWhyOrWhereTheCopyWent()
{
    m_w->start();
    m_w->prompter.answers = {u"RA3ABC"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    // a file where the backup folder should be
    QFile blocker(m_w->env.path(u"backup"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_w->ui().clearContestTable1().trigger();
    QCOMPARE(m_w->errors.size(), 1);
    QVERIFY2(m_w->errors.first().contains(u"Clear Contest-Table did nothing"_s), qPrintable(m_w->errors.first()));

    QVERIFY(QFile::remove(m_w->env.path(u"backup"_s)));
    m_w->ui().clearContestTable1().trigger();
    QCOMPARE(m_w->errors.size(), 1);
    QVERIFY(m_w->ui().statusBar1().currentMessage().contains(u"backup/2006-10-22_200513"_s));
    QVERIFY(!m_w->ui().gauge1().isVisible());
}

void TestUnit1Contacts::newCallsignThroughTheRealDialog()
{
    // the window's own prompter, not the fixture's
    m_w->form = std::make_unique<TForm1>();
    m_w->ui().timer1().stop();
    m_w->show();
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
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QVERIFY(answered);
    QCOMPARE(m_w->ui().callsignView().recordCount(), 1);
    QCOMPARE(m_w->ui().contest160CW().recordCount(), 8);
}

// Enter on a worked row, then the code typed at once as on the air: the refusal takes the keys and Enter, and
// neither the space nor a digit leaves a row found and one Enter away from logging another station.
void TestUnit1Contacts::keysTypedWhileARefusalIsUpReachNoRow()
{
    m_w->form = std::make_unique<TForm1>();
    m_w->ui().timer1().stop();
    m_w->show();
    m_w->form->setPrompter(&m_w->prompter);
    m_w->prompter.answers = {u"RA3ABC"_s, u"R7AB"_s, u"23 015"_s};
    DataGrid& grid = m_w->ui().bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Insert);
    QVERIFY(m_w->ui().contest80().locate(u"CallSign"_s, {u"RA3ABC"_s}, true));
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(m_w->ui().journalView().recordCount(), 1);
    m_w->ui().contest80().last(); // the worked row

    DialogPrompter dialogs(m_w->form.get());
    m_w->form->setPrompter(&dialogs);
    bool openAfterTyping = false;
    QTimer::singleShot(0, this, [&openAfterTyping] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget* box = QApplication::activeModalWidget();
        const auto closeOnFailure = qScopeGuard([box] { box->close(); });
        QVERIFY(qobject_cast<QMessageBox*>(box));
        QTRY_COMPARE(QApplication::activeWindow(), box);
        const auto keysTo = [box] { return QApplication::focusWidget() ? QApplication::focusWidget() : box; };
        QTest::keyClicks(keysTo(), u"06 7"_s);
        openAfterTyping = box->isVisible();
        // an Enter with the box gone would open a prompt here, on whatever row the keys found
        if (openAfterTyping) {
            QTest::keyClick(keysTo(), Qt::Key_Return);
            QTRY_VERIFY(!box->isVisible());
        }
    });
    QTest::keyClick(&grid, Qt::Key_Return);
    m_w->form->setPrompter(&m_w->prompter);
    QVERIFY(openAfterTyping);
    QCOMPARE(grid.typedSearch()->typed(), QString());
    QCOMPARE(m_w->ui().contest80().text(u"CallSign"_s), u"RA3ABC"_s);
    QCOMPARE(m_w->ui().journalView().recordCount(), 1);
}

void TestUnit1Contacts::reportFailureIsShownAndTheSerialStillAdvances()
{
    QVERIFY(QDir(m_w->env.workDir()).mkdir(u"Report.txt"_s));
    m_w->start();
    m_w->prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_w->errors.size(), 1);
    QVERIFY(m_w->errors.first().contains(u"Report.txt"_s));
    QCOMPARE(m_w->ui().nppEdit().value(), 2);
}

void TestUnit1Contacts::restoredValuesRunTheirHandlers()
{
    m_w->form = std::make_unique<TForm1>();
    TableView& journal = m_w->ui().journalView();
    journal.append();
    journal.setValue(u"CallSign"_s, u"RA3ABC"_s);
    journal.setValue(u"ContestNumber"_s, 3);
    journal.setValue(u"KI"_s, u"23"_s);
    journal.setValue(u"SentText"_s, u"7 011"_s);
    journal.post();
    m_w->form.reset();
    writeSettings({{u"ContestNumber_Value"_s, u"3"_s},
                   {u"Tour_Value"_s, u"2"_s},
                   {u"KIEdit_Value"_s, u"7"_s},
                   {u"NppEdit_Value"_s, u"12"_s},
                   {u"AutoChangeTour_Checked"_s, u"false"_s}});
    m_w->start();
    QCOMPARE(m_w->ui().statusBar1().panelText(1), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
    QCOMPARE(m_w->ui().tour().value(), 2);
    QCOMPARE(m_w->ui().contest80().filter(), bandFilter(bandViews().at(0), 2));
    // the restored KI and serial, which the journal's "7 011" is not past
    QCOMPARE(m_w->ui().sendTextPanel().caption(), u"07 012"_s);
    QVERIFY(!m_w->ui().autoChangeTour().isChecked());
}

void TestUnit1Contacts::serialContinuesAfterTheLastContactAfterACrash()
{
    m_w->form = std::make_unique<TForm1>();
    TableView& journal = m_w->ui().journalView();
    for (const QString& sent : {u"22 004"_s, u"22 005"_s}) {
        journal.append();
        journal.setValue(u"ContestNumber"_s, 1);
        journal.setValue(u"SentText"_s, sent);
        journal.post();
    }
    m_w->form.reset();
    // the settings were last saved before the last two contacts: the serial moves past the journal after
    // the settings are restored, not before
    writeSettings({{u"NppEdit_Value"_s, u"4"_s}});
    m_w->start();
    QCOMPARE(m_w->ui().nppEdit().value(), 6);
    QCOMPARE(m_w->ui().sendTextPanel().caption(), u"22 006"_s);
}

void TestUnit1Contacts::tourClockSetsPanelGaugeAndTour()
{
    m_w->start();
    m_w->ui().begDate().setDate(QDate(2006, 10, 22));
    m_w->ui().begTime().setTime(QTime(20, 0));
    m_w->clock.now = QDateTime(QDate(2006, 10, 22), QTime(20, 30, 1));
    m_w->ui().tick();
    QCOMPARE(m_w->ui().statusBar1().panelText(0), u"Tour 2 of 8"_s);
    QCOMPARE(m_w->ui().gauge1().maxValue(), 1800);
    QCOMPARE(m_w->ui().gauge1().progress(), 1);
    QCOMPARE(m_w->ui().tour().value(), 2);
    QCOMPARE(m_w->ui().contest160CW().filter(), bandFilter(bandViews().at(3), 2));

    m_w->ui().autoChangeTour().setChecked(false);
    m_w->clock.now = QDateTime(QDate(2006, 10, 23), QTime(0, 0, 1));
    m_w->ui().tick();
    QCOMPARE(m_w->ui().statusBar1().panelText(0), u"After..."_s);
    QCOMPARE(m_w->ui().gauge1().progress(), 1800);
    QCOMPARE(m_w->ui().tour().value(), 2);
}

QTEST_MAIN(TestUnit1Contacts)
#include "test_unit1contacts.moc"
