#include "shell/ErrorBox.h"
#include "shell/ProfileFile.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kTimeColumn = 1;
constexpr int kReceivedColumn = 3;
constexpr int kScorePanel = 1;
} // namespace

// Corrections, take-backs and deletions of recorded contacts through the window: the journal, the
// score and the report follow at once; a settings file that cannot be written does not nag.
class TestUnit1Corrections : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void correctionAndTakeBackUpdateScoreAndReport();
    void ctrlDeleteKeepsBothTablesAgreeing();
    void unwritableSettingsAreToldOncePerFailure();

private:
    void start();
    void recordTwoContacts();
    // the worked 80 m SSB row of the callsign, made current in its grid at the column given
    void goToWorkedRow(const QString& callsign, int column);
    QByteArray report() const;
    int journalRowsOf(const QString& callsign);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
};

void TestUnit1Corrections::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_errors.clear();
    m_prompter.answers.clear();
    m_prompter.messages.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
}

void TestUnit1Corrections::cleanup()
{
    m_form.reset();
    m_env.reset();
    setErrorReporter({});
}

void TestUnit1Corrections::start()
{
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    m_form->setClock(&m_clock);
    controls(m_form).timer1().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_VERIFY(controls(m_form).bandGrid(0).hasFocus());
}

void TestUnit1Corrections::recordTwoContacts()
{
    DataGrid& grid = controls(m_form).bandGrid(0);
    m_prompter.answers = {u"RA3ABC"_s, u"UA1XYZ"_s};
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Insert);
    for (const QString& call : {u"RA3ABC"_s, u"UA1XYZ"_s}) {
        QVERIFY(controls(m_form).contest80().locate(u"CallSign"_s, {call}, true));
        m_prompter.answers = {call == u"RA3ABC"_s ? u"23 015"_s : u"24 016"_s};
        QTest::keyClick(&grid, Qt::Key_Return);
    }
    QCOMPARE(controls(m_form).journalView().recordCount(), 2);
    QCOMPARE(controls(m_form).statusBar1().panelText(kScorePanel), u"СВ=2  КР=8(2)  РН=6(2)  Всего=16"_s);
}

void TestUnit1Corrections::goToWorkedRow(const QString& callsign, int column)
{
    TableView& view = controls(m_form).contest80();
    for (view.last(); view.text(u"CallSign"_s) != callsign; view.prior()) {
        QVERIFY(!view.bof());
    }
    DataGrid& grid = controls(m_form).bandGrid(0);
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(view.currentRow(), column));
}

QByteArray TestUnit1Corrections::report() const
{
    QFile file(QDir(m_env->workDir()).absoluteFilePath(u"Report.txt"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int TestUnit1Corrections::journalRowsOf(const QString& callsign)
{
    Statement rows = m_form->database().prepare(u"SELECT count(*) FROM Journal WHERE CallSign=?"_s);
    rows.bind(1, callsign);
    return rows.step() ? rows.column(0).toInt() : -1;
}

void TestUnit1Corrections::correctionAndTakeBackUpdateScoreAndReport()
{
    start();
    recordTwoContacts();
    controls(m_form).editing().setChecked(true);
    DataGrid& grid = controls(m_form).bandGrid(0);

    goToWorkedRow(u"UA1XYZ"_s, kReceivedColumn);
    QTest::keyClicks(&grid, u"3"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"5 016"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Up); // leaving the row posts it
    QCOMPARE(m_errors, QStringList());
    Statement journal = m_form->database().prepare(u"SELECT RecvText, KI FROM Journal WHERE CallSign='UA1XYZ'"_s);
    QVERIFY(journal.step());
    QCOMPARE(journal.column(0).toString(), u"35 016"_s);
    QCOMPARE(journal.column(1).toString(), u"35"_s);
    QVERIFY(report().contains("UA1XYZ\t22 002\t35 016\r\n"));
    QVERIFY(!report().contains("24 016"));

    // taking the other contact back: its journal line, its points and its report line go at once
    goToWorkedRow(u"RA3ABC"_s, kTimeColumn);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(m_errors, QStringList());
    QCOMPARE(journalRowsOf(u"RA3ABC"_s), 0);
    QCOMPARE(controls(m_form).statusBar1().panelText(kScorePanel), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
    QVERIFY(!report().contains("RA3ABC"));
}

void TestUnit1Corrections::ctrlDeleteKeepsBothTablesAgreeing()
{
    start();
    recordTwoContacts();
    controls(m_form).editing().setChecked(true);
    for (DataGrid* grid : {&controls(m_form).bandGrid(0), &controls(m_form).rxDBGrid3()}) {
        grid->setDeleteConfirmer([](DataGrid&, const QString&) { return true; });
    }

    // a worked planned row takes its journal row with it
    goToWorkedRow(u"RA3ABC"_s, kTimeColumn);
    const int plannedBefore = controls(m_form).contest80().recordCount();
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(controls(m_form).contest80().recordCount(), plannedBefore - 1);
    QCOMPARE(journalRowsOf(u"RA3ABC"_s), 0);
    QVERIFY(!report().contains("RA3ABC"));

    // a deleted journal row takes its planned row back to unworked, so the station can be worked again
    DataGrid& journalGrid = controls(m_form).rxDBGrid3();
    journalGrid.setFocus();
    QVERIFY(controls(m_form).journalView().locate(u"CallSign"_s, {u"UA1XYZ"_s}, false));
    QTest::keyClick(&journalGrid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(controls(m_form).journalView().recordCount(), 0);
    Statement worked = m_form->database().prepare(u"SELECT count(*) FROM Contest WHERE T IS NOT NULL"_s);
    QVERIFY(worked.step());
    QCOMPARE(worked.column(0).toInt(), 0);
    QCOMPARE(controls(m_form).statusBar1().panelText(kScorePanel), u"СВ=0  КР=0(0)  РН=0(0)  Всего=0"_s);
    QCOMPARE(m_errors, QStringList());

    controls(m_form).editing().setChecked(false);
    QVERIFY(controls(m_form).contest80().locate(u"CallSign"_s, {u"UA1XYZ"_s}, true));
    controls(m_form).bandGrid(0).setFocus();
    m_prompter.answers = {u"24 017"_s};
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_prompter.messages, QStringList());
    QCOMPARE(journalRowsOf(u"UA1XYZ"_s), 1);
}

void TestUnit1Corrections::unwritableSettingsAreToldOncePerFailure()
{
    start();
    // a folder where the settings file should be: no save can work
    QVERIFY(QDir().mkpath(settingsFilePath()));
    const auto settingsErrors = [this] { return m_errors.filter(QDir::toNativeSeparators(settingsFilePath())).size(); };
    recordTwoContacts();
    QCOMPARE(settingsErrors(), 1);
    QCOMPARE(controls(m_form).nppEdit().value(), 3);

    // a save that works in between makes the next failure worth telling
    QVERIFY(QDir().rmdir(settingsFilePath()));
    m_prompter.answers = {u"RA3ABD"_s, u"25 001"_s};
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QVERIFY(controls(m_form).contest80().locate(u"CallSign"_s, {u"RA3ABD"_s}, true));
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(settingsErrors(), 1);
    QVERIFY(QFile::remove(settingsFilePath()));
    QVERIFY(QDir().mkpath(settingsFilePath()));
    m_prompter.answers = {u"25 002"_s};
    QVERIFY(controls(m_form).contest80().locate(u"CallSign"_s, {u"RA3ABD"_s}, true));
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    QCOMPARE(settingsErrors(), 2);

    // closing the window still says that the settings were not saved
    m_form->close();
    QCOMPARE(settingsErrors(), 3);
}

QTEST_MAIN(TestUnit1Corrections)
#include "test_unit1corrections.moc"
