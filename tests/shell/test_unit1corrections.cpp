#include "shell/ProfileFile.h"
#include "store/RowDeletion.h"
#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kCallsignColumn = 0;
constexpr int kTimeColumn = 1;
constexpr int kReceivedColumn = 3;
constexpr int kScorePanel = 1;
const QString kFirstContact = u"SELECT CallSign, T FROM Journal ORDER BY ID LIMIT 1"_s;
} // namespace

// Corrections, take-backs and deletions of recorded contacts through the window's keys: the change typed
// lands on the contact the operator chose, however the row is left, the status bar follows, and a settings
// file that cannot be written does not nag.
class TestUnit1Corrections : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typedCorrectionAndTakeBackAreStored();
    void ctrlDeleteInEitherGridIsShown();
    void deletionTakesTheRowItWasAskedFor_data();
    void deletionTakesTheRowItWasAskedFor();
    void typedChangeIsStoredOrToldWhenLeft_data();
    void typedChangeIsStoredOrToldWhenLeft();
    void unwritableSettingsAreToldOncePerFailure();
    void enterInTheCellConfirmsTheCellOnly();

private:
    void start() { m_w->start(); }
    void recordTwoContacts();
    // AA1AAA and BB1BBB worked in tour 1 of a contest of 1-minute tours begun at 20:00 (20:00:20, 20:00:30)
    void workTwoOnTheTourClock();
    void setClock(QTime time);
    // the last 80 m SSB row of the callsign (its worked one, where it has one), current in its grid at the column
    void goToRowOf(const QString& callsign, int column);
    // F2 in the current cell, its text replaced by the one given, Enter
    void retypeCell(const QString& text);

    std::unique_ptr<WindowFixture> m_w;
};

void TestUnit1Corrections::init()
{
    m_w = std::make_unique<WindowFixture>();
}

void TestUnit1Corrections::cleanup()
{
    m_w.reset();
}

void TestUnit1Corrections::recordTwoContacts()
{
    DataGrid& grid = m_w->ui().bandGrid(0);
    m_w->prompter.answers = {u"RA3ABC"_s, u"UA1XYZ"_s};
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Insert);
    for (const QString& call : {u"RA3ABC"_s, u"UA1XYZ"_s}) {
        QVERIFY(m_w->ui().contest80().locate(u"CallSign"_s, {call}, true));
        m_w->prompter.answers = {call == u"RA3ABC"_s ? u"23 015"_s : u"24 016"_s};
        QTest::keyClick(&grid, Qt::Key_Return);
    }
    QCOMPARE(m_w->ui().journalView().recordCount(), 2);
    QCOMPARE(m_w->ui().statusBar1().panelText(kScorePanel), u"СВ=2  КР=8(2)  РН=6(2)  Всего=16"_s);
}

void TestUnit1Corrections::setClock(QTime time)
{
    m_w->clock.now = QDateTime(QDate(2022, 10, 6), time);
    m_w->ui().tick();
}

void TestUnit1Corrections::workTwoOnTheTourClock()
{
    const WindowControls ui = m_w->ui();
    ui.begDate().setText(u"06.10.22"_s);
    ui.begTime().setTime(QTime(20, 0));
    ui.tourMinutes().setValue(1);
    setClock(QTime(20, 0, 20));
    QCOMPARE(ui.tour().value(), 1);
    DataGrid& grid = ui.bandGrid(0);
    m_w->prompter.answers = {u"AA1AAA"_s, u"BB1BBB"_s};
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Insert);
    for (const auto& [call, code] : {std::pair{u"AA1AAA"_s, u"23 015"_s}, std::pair{u"BB1BBB"_s, u"22  1"_s}}) {
        QVERIFY(ui.contest80().locate(u"CallSign"_s, {call}, true));
        m_w->prompter.answers = {code};
        QTest::keyClick(&grid, Qt::Key_Return);
        setClock(QTime(20, 0, 30));
    }
    QCOMPARE(m_w->rows(u"SELECT CallSign, RecvText FROM Journal ORDER BY ID"_s),
             QStringList({u"AA1AAA 23 015"_s, u"BB1BBB 22 1"_s}));
    ui.editing().setChecked(true);
}

void TestUnit1Corrections::retypeCell(const QString& text)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // the editor hands its text over once the key is done, as the event loop goes on
    QTRY_VERIFY(qobject_cast<DataGrid*>(QApplication::focusWidget()));
}

void TestUnit1Corrections::goToRowOf(const QString& callsign, int column)
{
    TableView& view = m_w->ui().contest80();
    for (view.last(); view.text(u"CallSign"_s) != callsign; view.prior()) {
        QVERIFY(!view.bof());
    }
    DataGrid& grid = m_w->ui().bandGrid(0);
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(view.currentRow(), column));
}

void TestUnit1Corrections::typedCorrectionAndTakeBackAreStored()
{
    start();
    recordTwoContacts();
    m_w->ui().editing().setChecked(true);
    DataGrid& grid = m_w->ui().bandGrid(0);

    goToRowOf(u"UA1XYZ"_s, kReceivedColumn);
    QTest::keyClicks(&grid, u"3"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"5 016"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Up); // leaving the row posts it
    QCOMPARE(m_w->errors, QStringList());
    // the digit typed on the grid opens the editor with it
    QCOMPARE(m_w->rows(u"SELECT RecvText FROM Journal WHERE CallSign='UA1XYZ'"_s), QStringList{u"35 016"_s});

    // taking the other contact back: its points go at once
    goToRowOf(u"RA3ABC"_s, kTimeColumn);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(m_w->errors, QStringList());
    QCOMPARE(m_w->ui().statusBar1().panelText(kScorePanel), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);
}

void TestUnit1Corrections::ctrlDeleteInEitherGridIsShown()
{
    start();
    recordTwoContacts();
    m_w->ui().editing().setChecked(true);
    for (DataGrid* grid : {&m_w->ui().bandGrid(0), &m_w->ui().rxDBGrid3()}) {
        grid->setDeleteConfirmer([](DataGrid&, const QString&) { return true; });
    }
    goToRowOf(u"RA3ABC"_s, kTimeColumn);
    const int plannedBefore = m_w->ui().contest80().recordCount();
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_w->ui().contest80().recordCount(), plannedBefore - 1);
    QCOMPARE(m_w->ui().statusBar1().panelText(kScorePanel), u"СВ=1  КР=4(1)  РН=3(1)  Всего=8"_s);

    DataGrid& journalGrid = m_w->ui().rxDBGrid3();
    journalGrid.setFocus();
    QVERIFY(m_w->ui().journalView().locate(u"CallSign"_s, {u"UA1XYZ"_s}, false));
    QTest::keyClick(&journalGrid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_w->ui().journalView().recordCount(), 0);
    QCOMPARE(m_w->ui().statusBar1().panelText(kScorePanel), u"СВ=0  КР=0(0)  РН=0(0)  Всего=0"_s);
    QCOMPARE(m_w->errors, QStringList());
}

void TestUnit1Corrections::deletionTakesTheRowItWasAskedFor_data()
{
    QTest::addColumn<bool>("inJournal");
    QTest::addColumn<bool>("goneMeanwhile");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<QStringList>("aa1aaaIn80Ssb");
    const QString worked = u"AA1AAA, 80 m SSB, tour 1, worked at 20:00:20."_s;
    QTest::newRow("band grid") << false << false << worked + u" Its journal line goes too."_s
                               << QStringList{u"BB1BBB"_s} << QStringList{u"2 "_s};
    QTest::newRow("journal grid") << true << false << worked + u" Its planned contact becomes workable again."_s
                                  << QStringList{u"BB1BBB"_s} << QStringList{u"1 "_s, u"2 "_s};
    QTest::newRow("band row gone meanwhile") << false << true << worked + u" Its journal line goes too."_s
                                             << QStringList{u"AA1AAA"_s, u"BB1BBB"_s} << QStringList{u"2 "_s};
}

// The tour clock refilters the views while "Delete record?" is open: the answer still deletes the row the
// question was about, or nothing when that row has gone meanwhile.
void TestUnit1Corrections::deletionTakesTheRowItWasAskedFor()
{
    QFETCH(bool, inJournal);
    QFETCH(bool, goneMeanwhile);
    QFETCH(QString, details);
    QFETCH(QStringList, journal);
    QFETCH(QStringList, aa1aaaIn80Ssb);
    start();
    workTwoOnTheTourClock();
    const WindowControls ui = m_w->ui();
    DataGrid& grid = inJournal ? ui.rxDBGrid3() : ui.bandGrid(0);
    TableView& view = inJournal ? ui.journalView() : ui.contest80();
    goToRowOf(u"AA1AAA"_s, kTimeColumn);
    if (inJournal) {
        grid.setFocus();
        QVERIFY(view.locate(u"CallSign"_s, {u"AA1AAA"_s}, false));
    }
    const qint64 asked = view.currentId();
    QString shown;
    grid.setDeleteConfirmer([&](DataGrid&, const QString& text) {
        shown = text;
        setClock(QTime(20, 1, 5));
        if (goneMeanwhile) {
            deleteRowById(m_w->form->database(), view.table(), asked);
        }
        return true;
    });
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(shown, details);
    QCOMPARE(ui.tour().value(), 2);
    QCOMPARE(m_w->rows(u"SELECT CallSign FROM Journal ORDER BY ID"_s), journal);
    QCOMPARE(m_w->rows(u"SELECT TourNumber, substr(T, 1, 8) FROM Contest WHERE CallSign='AA1AAA' AND "
                       "Diapasone=80 AND Modulation='SSB' AND TourNumber<3 ORDER BY TourNumber"_s),
             aa1aaaIn80Ssb);
    QCOMPARE(ui.statusBar1().currentMessage().startsWith(u"Nothing was deleted"_s), goneMeanwhile);
    QCOMPARE(m_w->errors, QStringList());
}

using LeaveAction = std::function<void(TestUnit1Corrections&, WindowFixture&)>;
Q_DECLARE_METATYPE(LeaveAction)

void TestUnit1Corrections::typedChangeIsStoredOrToldWhenLeft_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<LeaveAction>("leave");
    QTest::addColumn<QString>("firstContact");
    QTest::addColumn<bool>("refused");
    const LeaveAction up = [](TestUnit1Corrections&, WindowFixture& w) {
        QTest::keyClick(&w.ui().bandGrid(0), Qt::Key_Up);
    };
    const LeaveAction untick = [](TestUnit1Corrections&, WindowFixture& w) { w.ui().editing().setChecked(false); };
    const LeaveAction close = [](TestUnit1Corrections&, WindowFixture& w) { w.form->close(); };
    const LeaveAction tourChange = [](TestUnit1Corrections& test, WindowFixture&) { test.setClock(QTime(20, 1, 5)); };
    const QString corrected = u"AA1AAA 20:00:50.000"_s;
    const QString asBefore = u"AA1AAA 20:00:20.000"_s;
    QTest::newRow("Up on the top row") << kTimeColumn << u"20:00:50"_s << up << corrected << false;
    QTest::newRow("Edit Enabled unticked") << kTimeColumn << u"20:00:50"_s << untick << corrected << false;
    QTest::newRow("window closed") << kTimeColumn << u"20:00:50"_s << close << corrected << false;
    QTest::newRow("tour changed") << kTimeColumn << u"20:00:50"_s << tourChange << corrected << false;
    QTest::newRow("renamed onto a worked contact, Up") << kCallsignColumn << u"BB1BBB"_s << up << asBefore << true;
    QTest::newRow("renamed onto a worked contact, closed")
        << kCallsignColumn << u"BB1BBB"_s << close << asBefore << true;
    QTest::newRow("renamed onto a worked contact, tour changed")
        << kCallsignColumn << u"BB1BBB"_s << tourChange << asBefore << true;
    const LeaveAction enter = [](TestUnit1Corrections&, WindowFixture& w) {
        QTest::keyClick(&w.ui().bandGrid(0), Qt::Key_Return);
    };
    QTest::newRow("Enter on the row") << kTimeColumn << u"20:00:50"_s << enter << corrected << false;
    QTest::newRow("renamed onto a worked contact, Enter")
        << kCallsignColumn << u"BB1BBB"_s << enter << asBefore << true;
}

// A change typed in edit mode is stored however the operator leaves it; one that cannot be stored says why
// and stays on screen, the window open, until it is mended or undone with Esc.
void TestUnit1Corrections::typedChangeIsStoredOrToldWhenLeft()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(LeaveAction, leave);
    QFETCH(QString, firstContact);
    QFETCH(bool, refused);
    start();
    workTwoOnTheTourClock();
    goToRowOf(u"AA1AAA"_s, column);
    retypeCell(typed);
    leave(*this, *m_w);
    QCOMPARE(m_w->rows(kFirstContact), QStringList{firstContact});
    QCOMPARE(m_w->rows(u"SELECT RecvText FROM Journal WHERE CallSign='BB1BBB'"_s), QStringList{u"22 1"_s});
    QCOMPARE(m_w->errors.size(), refused ? 1 : 0);
    if (!refused) {
        return;
    }
    QVERIFY(m_w->errors.first().contains(u"BB1BBB, 80 m SSB, tour 1 is worked already, at 20:00:30"_s));
    QVERIFY(m_w->form->isVisible());
    TableView& view = m_w->ui().contest80();
    QVERIFY(view.isEditing());
    QCOMPARE(view.text(u"CallSign"_s), u"BB1BBB"_s);
    // Esc undoes the change; the tour clock's refilter held back for it then follows
    m_w->ui().bandGrid(0).setFocus();
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Escape);
    QVERIFY(!view.isEditing());
    QTRY_VERIFY(view.filter() == bandFilter(bandViews().at(0), m_w->ui().tour().value()));
    m_w->form->close();
    QVERIFY(!m_w->form->isVisible());
    QCOMPARE(m_w->rows(kFirstContact), QStringList{firstContact});
}

// Enter in a cell's editor confirms the cell and opens no prompt; Enter on the row then stores the change first,
// and a planned row renamed onto a worked station is not worked a second time.
void TestUnit1Corrections::enterInTheCellConfirmsTheCellOnly()
{
    start();
    workTwoOnTheTourClock();
    m_w->prompter.answers = {u"CC1CCC"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    const qsizetype prompts = m_w->prompter.subjects.size();
    goToRowOf(u"CC1CCC"_s, kCallsignColumn);
    retypeCell(u"AA1AAA"_s);
    QCOMPARE(m_w->prompter.subjects.size(), prompts);
    QVERIFY(m_w->ui().contest80().isEditing());
    m_w->prompter.answers = {u"25 001"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(m_w->prompter.subjects.size(), prompts);
    QVERIFY(m_w->prompter.messages.last().contains(u"AA1AAA, 80 m SSB, tour 1 is worked already"_s));
    QCOMPARE(m_w->rows(u"SELECT CallSign FROM Journal ORDER BY ID"_s), QStringList({u"AA1AAA"_s, u"BB1BBB"_s}));
}

void TestUnit1Corrections::unwritableSettingsAreToldOncePerFailure()
{
    start();
    // a folder where the settings file should be: no save can work
    QVERIFY(QDir().mkpath(settingsFilePath()));
    const auto settingsErrors = [this] {
        return m_w->errors.filter(QDir::toNativeSeparators(settingsFilePath())).size();
    };
    recordTwoContacts();
    QCOMPARE(settingsErrors(), 1);
    QCOMPARE(m_w->ui().nppEdit().value(), 3);

    // a save that works in between makes the next failure worth telling
    QVERIFY(QDir().rmdir(settingsFilePath()));
    m_w->prompter.answers = {u"RA3ABD"_s, u"25 001"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QVERIFY(m_w->ui().contest80().locate(u"CallSign"_s, {u"RA3ABD"_s}, true));
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(settingsErrors(), 1);
    QVERIFY(QFile::remove(settingsFilePath()));
    QVERIFY(QDir().mkpath(settingsFilePath()));
    m_w->prompter.answers = {u"25 002"_s};
    QVERIFY(m_w->ui().contest80().locate(u"CallSign"_s, {u"RA3ABD"_s}, true));
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(settingsErrors(), 2);

    // closing the window still says that the settings were not saved
    m_w->form->close();
    QCOMPARE(settingsErrors(), 3);
}

QTEST_MAIN(TestUnit1Corrections)
#include "test_unit1corrections.moc"
