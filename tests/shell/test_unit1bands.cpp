#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QAction>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kPurple(128, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kWorked(255, 215, 255);
const QColor kWorkedHighlighted(255, 147, 255);
constexpr int kTimeColumn = 1;
constexpr int kTours = 3;
const QStringList kCalls = {u"AA1AA"_s, u"BB2BB"_s, u"CC3CC"_s};

const QStringList kTabOrder = {u"DBGrid80"_s,  u"DBGrid160CW"_s, u"KIEdit"_s,        u"NppEdit"_s,
                               u"Tours"_s,     u"Tour"_s,        u"TourMinutes"_s,   u"BegDate"_s,
                               u"BegTime"_s,   u"Editing"_s,     u"ContestNumber"_s, u"AutoChangeTour"_s,
                               u"RxDBGrid3"_s, u"DBGrid80CW"_s,  u"DBGrid160"_s};

// the control that owns the focus widget: spin and date fields hand the focus to their line edit
QString focusedControl()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (kTabOrder.contains(widget->objectName())) {
            return widget->objectName();
        }
    }
    return u"<none>"_s;
}
} // namespace

class TestUnit1Bands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void designMarksUntilTheFirstActivation();
    void firstActivationMarksOnly80Ssb();
    void tabFromThe80SsbGridActivates160Cw();
    void tabOrder_data();
    void tabOrder();
    void panelClick_data();
    void panelClick();
    void tourFilter_data();
    void tourFilter();
    void insOpensNewCallsignWhereverTheFocusIs_data();
    void insOpensNewCallsignWhereverTheFocusIs();
    void editModeTogglesSelectionAndEditing();
    void badTimeTypedInEditModeIsRefused();
    void changeIsPostedBeforeEditModeIsSwitchedOff();
    void bandCellColours_data();
    void bandCellColours();
    void editModeHighlightsOnlyTheCurrentCell();
    void journalBoldRowFollowsTheCursorWhileFocused();
    void ctrlDeleteAsksFirst_data();
    void ctrlDeleteAsksFirst();
    void begDateReadsTwoDigitYearsAsThisCentury();

private:
    void showAndActivate();
    void addRows();
    void addJournalRow(const QString& call);
    CellParams paramsOf(DataGrid& grid, int row, int column);
    std::array<int, kBandCount> marks() const;
    QVariant storedTime(const QString& call, int band, int tour);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    QStringList m_errors;
};

void TestUnit1Bands::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_errors.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
    m_form = std::make_unique<TForm1>();
    // prompts are cancelled, and the tour clock does not refilter the views under the test
    m_prompter.answers.clear();
    m_form->setPrompter(&m_prompter);
    controls(m_form).timer1().stop();
    addRows();
}

void TestUnit1Bands::cleanup()
{
    m_form.reset();
    m_env.reset();
    setErrorReporter({});
}

void TestUnit1Bands::addRows()
{
    static const std::array<std::pair<int, const char*>, kBandCount> bands = {
        {{80, "SSB"}, {80, "CW"}, {160, "SSB"}, {160, "CW"}}};
    for (int band = 0; band < kBandCount; ++band) {
        TableView& view = controls(m_form).bandView(band);
        for (int tour = 1; tour <= kTours; ++tour) {
            for (const QString& call : kCalls) {
                view.append();
                view.setValue(u"CallSign"_s, call);
                view.setValue(u"Diapasone"_s, bands.at(band).first);
                view.setValue(u"Modulation"_s, QString::fromLatin1(bands.at(band).second));
                view.setValue(u"TourNumber"_s, tour);
                view.post();
            }
        }
        view.first();
    }
}

void TestUnit1Bands::addJournalRow(const QString& call)
{
    TableView& journal = controls(m_form).journalView();
    journal.append();
    journal.setValue(u"CallSign"_s, call);
    journal.setValue(u"RecvText"_s, u"22 001"_s);
    journal.post();
}

void TestUnit1Bands::showAndActivate()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_COMPARE(focusedControl(), u"DBGrid80"_s);
}

CellParams TestUnit1Bands::paramsOf(DataGrid& grid, int row, int column)
{
    const QModelIndex index = grid.model()->index(row, column);
    return grid.cellParams(index, grid.isHighlighted(index));
}

std::array<int, kBandCount> TestUnit1Bands::marks() const
{
    std::array<int, kBandCount> result{};
    for (int band = 0; band < kBandCount; ++band) {
        result.at(band) = controls(m_form).titlePanel(band).tag();
    }
    return result;
}

QVariant TestUnit1Bands::storedTime(const QString& call, int band, int tour)
{
    const TableView& view = controls(m_form).bandView(band);
    Statement query = m_form->database().prepare(
        u"SELECT T FROM Contest.Contest WHERE CallSign=? AND TourNumber=? AND Diapasone=? AND Modulation=?"_s);
    query.bind(1, call);
    query.bind(2, tour);
    query.bind(3, band < 2 ? 80 : 160);
    query.bind(4, view.name().endsWith(u"CW"_s) ? u"CW"_s : u"SSB"_s);
    return query.step() ? query.column(0) : QVariant(u"<no row>"_s);
}

void TestUnit1Bands::designMarksUntilTheFirstActivation()
{
    QCOMPARE(marks(), (std::array<int, kBandCount>{1, 1, 1, 0}));
    QCOMPARE(m_form->activeBand(), 0);
    QCOMPARE(controls(m_form).titlePanel(0).background(), kGreen);
    QCOMPARE(controls(m_form).titlePanel(0).captionColor(), kLime);
    for (int band = 1; band < kBandCount; ++band) {
        QCOMPARE(controls(m_form).titlePanel(band).background(), m_form->palette().color(QPalette::Button));
        QCOMPARE(controls(m_form).titlePanel(band).captionColor(), kPurple);
    }
    // the grids colour their text by their own panel's mark, not by the colours shown
    QCOMPARE(paramsOf(controls(m_form).bandGrid(0), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(controls(m_form).bandGrid(1), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(controls(m_form).bandGrid(2), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(controls(m_form).bandGrid(3), 1, 0).text, kPurple);
}

void TestUnit1Bands::firstActivationMarksOnly80Ssb()
{
    showAndActivate();
    QCOMPARE(marks(), (std::array<int, kBandCount>{1, 0, 0, 0}));
    QCOMPARE(m_form->activeBand(), 0);
    QCOMPARE(paramsOf(controls(m_form).bandGrid(0), 1, 0).text, kBlue);
    for (int band = 1; band < kBandCount; ++band) {
        QCOMPARE(paramsOf(controls(m_form).bandGrid(band), 1, 0).text, kPurple);
    }
}

void TestUnit1Bands::tabFromThe80SsbGridActivates160Cw()
{
    showAndActivate();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedControl(), u"DBGrid160CW"_s);
    QCOMPARE(marks(), (std::array<int, kBandCount>{0, 0, 0, 1}));
    QCOMPARE(m_form->activeBand(), 3);
    QCOMPARE(controls(m_form).titlePanel(3).background(), kGreen);
    QCOMPARE(controls(m_form).titlePanel(3).captionColor(), kLime);
    for (int band = 0; band < 3; ++band) {
        QCOMPARE(controls(m_form).titlePanel(band).background(), m_form->palette().color(QPalette::Button));
        QCOMPARE(controls(m_form).titlePanel(band).captionColor(), kPurple);
        QCOMPARE(paramsOf(controls(m_form).bandGrid(band), 1, 0).text, kPurple);
    }
    QCOMPARE(paramsOf(controls(m_form).bandGrid(3), 1, 0).text, kBlue);
}

void TestUnit1Bands::tabOrder_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<bool>("backwards");
    QTest::newRow("read-only, Tab") << false << false;
    QTest::newRow("read-only, Shift+Tab") << false << true;
    QTest::newRow("edit mode, Tab") << true << false;
    QTest::newRow("edit mode, Shift+Tab") << true << true;
}

void TestUnit1Bands::tabOrder()
{
    QFETCH(bool, editMode);
    QFETCH(bool, backwards);
    controls(m_form).editing().setChecked(editMode);
    showAndActivate();
    controls(m_form).bandGrid(0).setFocus();
    QStringList visited;
    for (int step = 0; step < kTabOrder.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        visited << focusedControl();
    }
    QStringList expected;
    const qsizetype count = kTabOrder.size();
    for (qsizetype step = 1; step <= count; ++step) {
        expected << kTabOrder.at(backwards ? (count - step) % count : step % count);
    }
    QCOMPARE(visited, expected);
}

void TestUnit1Bands::panelClick_data()
{
    QTest::addColumn<int>("band");
    for (int band = 0; band < kBandCount; ++band) {
        QTest::addRow("band %d", band) << band;
    }
}

void TestUnit1Bands::panelClick()
{
    QFETCH(int, band);
    showAndActivate();
    controls(m_form).kiEdit().setFocus();
    for (int click = 0; click < 2; ++click) { // the second click, on the active panel, changes nothing
        QTest::mouseClick(&controls(m_form).titlePanel(band), Qt::LeftButton);
        QCOMPARE(m_form->activeBand(), band);
        QCOMPARE(focusedControl(), controls(m_form).bandGrid(band).objectName());
        for (int other = 0; other < kBandCount; ++other) {
            QCOMPARE(controls(m_form).titlePanel(other).tag(), other == band ? 1 : 0);
            QCOMPARE(controls(m_form).titlePanel(other).background(),
                     other == band ? kGreen : m_form->palette().color(QPalette::Button));
        }
    }
}

void TestUnit1Bands::tourFilter_data()
{
    QTest::addColumn<int>("tour");
    QTest::addColumn<int>("rows");
    QTest::newRow("tour 3") << 3 << kCalls.size();
    QTest::newRow("all tours") << 0 << kCalls.size() * kTours;
    QTest::newRow("a tour without rows") << 7 << 0;
    QTest::newRow("negative tour") << -1 << 0;
}

void TestUnit1Bands::tourFilter()
{
    QFETCH(int, tour);
    QFETCH(int, rows);
    showAndActivate();
    controls(m_form).tour().setValue(2); // start from another filter, so every case is a change
    for (int band = 0; band < kBandCount; ++band) {
        controls(m_form).bandView(band).last();
    }
    controls(m_form).tour().setValue(tour);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    for (int band = 0; band < kBandCount; ++band) {
        TableView& view = controls(m_form).bandView(band);
        QCOMPARE(view.recordCount(), rows);
        QCOMPARE(view.currentRow(), rows > 0 ? 0 : -1);
        for (int row = 0; row < rows; ++row) {
            const int rowTour = view.valueAt(row, view.fieldIndex(u"TourNumber"_s)).toInt();
            QVERIFY(tour == 0 || rowTour == tour);
        }
        DataGrid& grid = controls(m_form).bandGrid(band);
        QCOMPARE(grid.model()->rowCount(), rows);
        QCOMPARE(grid.isColumnHidden(4), tour != 0);
        QCOMPARE(grid.currentIndex().row(), rows > 0 ? 0 : -1);
    }
}

void TestUnit1Bands::insOpensNewCallsignWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("editMode");
    for (const QString& control : kTabOrder) {
        QTest::newRow(qPrintable(control)) << control << false;
    }
    for (const char* grid : {"DBGrid80", "DBGrid160CW", "RxDBGrid3"}) {
        QTest::addRow("%s in edit mode", grid) << QString::fromLatin1(grid) << true;
    }
}

void TestUnit1Bands::insOpensNewCallsignWhereverTheFocusIs()
{
    QFETCH(QString, control);
    QFETCH(bool, editMode);
    addJournalRow(u"AA1AA"_s);
    controls(m_form).editing().setChecked(editMode);
    showAndActivate();
    auto* target = m_form->findChild<QWidget*>(control);
    QVERIFY(target);
    target->setFocus();
    QTRY_COMPARE(focusedControl(), control);
    QSignalSpy triggered(&controls(m_form).newCallsign1(), &QAction::triggered);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
    QCOMPARE(triggered.size(), 1);
    for (int band = 0; band < kBandCount; ++band) {
        QCOMPARE(controls(m_form).bandView(band).recordCount(), kCalls.size() * kTours);
        QVERIFY(!controls(m_form).bandView(band).isEditing());
        QCOMPARE(controls(m_form).bandGrid(band).model()->rowCount(), kCalls.size() * kTours);
    }
    QCOMPARE(controls(m_form).journalView().recordCount(), 1);
    QVERIFY(!controls(m_form).journalView().isEditing());
}

void TestUnit1Bands::editModeTogglesSelectionAndEditing()
{
    showAndActivate();
    QCheckBox& editing = controls(m_form).editing();
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(controls(m_form).editing().isChecked());
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid& grid = controls(m_form).bandGrid(band);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectItems);
        QVERIFY(!grid.isReadOnly());
        QVERIFY(grid.editTriggers() & QAbstractItemView::AnyKeyPressed);
        QVERIFY(grid.model()->flags(grid.model()->index(0, kTimeColumn)) & Qt::ItemIsEditable);
        QVERIFY(!grid.tabKeyNavigation());
    }
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(!controls(m_form).editing().isChecked());
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid& grid = controls(m_form).bandGrid(band);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(grid.isReadOnly());
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, kTimeColumn)) & Qt::ItemIsEditable));
        QVERIFY(!grid.tabKeyNavigation());
    }
    // the journal grid is never edited in place
    QCOMPARE(controls(m_form).rxDBGrid3().editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestUnit1Bands::badTimeTypedInEditModeIsRefused()
{
    controls(m_form).editing().setChecked(true);
    showAndActivate();
    DataGrid& grid = controls(m_form).bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.currentIndex(), grid.model()->index(0, kTimeColumn));
    const QString call = controls(m_form).contest80().value(u"CallSign"_s).toString();
    const int tour = controls(m_form).contest80().value(u"TourNumber"_s).toInt();
    QTest::keyClicks(&grid, u"1"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"9:7x"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(u"19:7x"_s), qPrintable(m_errors.first()));
    QTest::keyClick(&grid, Qt::Key_Down);
    QVERIFY(!controls(m_form).contest80().isEditing());
    QVERIFY(storedTime(call, 0, tour).isNull());
    QCOMPARE(grid.model()->index(0, kTimeColumn).data().toString(), QString());
}

void TestUnit1Bands::changeIsPostedBeforeEditModeIsSwitchedOff()
{
    // the journal follow-up of a post only runs in edit mode: the change must not wait for the mode to end
    controls(m_form).editing().setChecked(true);
    showAndActivate();
    QList<bool> editModeAtPost;
    controls(m_form).contest80().setAfterPost(
        [&](TableView&) { editModeAtPost << controls(m_form).editing().isChecked(); });
    DataGrid& grid = controls(m_form).bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Right);
    const QString call = controls(m_form).contest80().value(u"CallSign"_s).toString();
    const int tour = controls(m_form).contest80().value(u"TourNumber"_s).toInt();
    QTest::keyClicks(&grid, u"1"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"2:34:56"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QCheckBox& editing = controls(m_form).editing();
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(!controls(m_form).editing().isChecked());
    QCOMPARE(editModeAtPost, QList<bool>{true});
    QCOMPARE(storedTime(call, 0, tour).toString(), u"12:34:56.000"_s);
    QVERIFY(m_errors.isEmpty());
}

void TestUnit1Bands::bandCellColours_data()
{
    QTest::addColumn<bool>("worked");
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<QColor>("background"); // invalid: the grid's own
    QTest::addColumn<bool>("bold");
    QTest::newRow("planned") << false << false << true << QColor() << false;
    QTest::newRow("planned, current, focused") << false << true << true << kYellow << true;
    QTest::newRow("planned, current, not focused") << false << true << false << QColor() << false;
    QTest::newRow("worked") << true << false << true << kWorked << false;
    QTest::newRow("worked, current, focused") << true << true << true << kWorkedHighlighted << true;
    QTest::newRow("worked, current, not focused") << true << true << false << kWorked << false;
}

void TestUnit1Bands::bandCellColours()
{
    QFETCH(bool, worked);
    QFETCH(bool, current);
    QFETCH(bool, focused);
    QFETCH(QColor, background);
    QFETCH(bool, bold);
    TableView& view = controls(m_form).contest80();
    view.moveTo(1);
    if (worked) {
        view.edit();
        view.setValue(u"T"_s, QTime(12, 0));
        view.post();
    }
    const int row = view.currentRow();
    view.moveTo(current ? row : (row == 0 ? 1 : 0));
    showAndActivate();
    if (!focused) {
        controls(m_form).kiEdit().setFocus();
        QTRY_COMPARE(focusedControl(), u"KIEdit"_s);
    }
    DataGrid& grid = controls(m_form).bandGrid(0);
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        const CellParams params = paramsOf(grid, row, column);
        QCOMPARE(params.background, background.isValid() ? background : grid.palette().color(QPalette::Base));
        QCOMPARE(params.font.bold(), bold);
        QCOMPARE(params.text, kBlue);
    }
}

void TestUnit1Bands::editModeHighlightsOnlyTheCurrentCell()
{
    controls(m_form).editing().setChecked(true);
    showAndActivate();
    DataGrid& grid = controls(m_form).bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Right);
    const int row = grid.currentIndex().row();
    QCOMPARE(paramsOf(grid, row, kTimeColumn).background, kYellow);
    QVERIFY(paramsOf(grid, row, kTimeColumn).font.bold());
    QCOMPARE(paramsOf(grid, row, 0).background, grid.palette().color(QPalette::Base));
    QVERIFY(!paramsOf(grid, row, 0).font.bold());
}

void TestUnit1Bands::journalBoldRowFollowsTheCursorWhileFocused()
{
    for (const QString& call : kCalls) {
        addJournalRow(call);
    }
    controls(m_form).journalView().first();
    showAndActivate();
    DataGrid& journal = controls(m_form).rxDBGrid3();
    const auto boldRows = [&] {
        QList<int> rows;
        for (int row = 0; row < journal.model()->rowCount(); ++row) {
            const bool first = paramsOf(journal, row, 0).font.bold();
            for (int column = 1; column < journal.model()->columnCount(); ++column) {
                if (paramsOf(journal, row, column).font.bold() != first) {
                    return QList<int>{-1}; // a row is bold as a whole or not at all
                }
            }
            if (first) {
                rows << row;
            }
        }
        return rows;
    };
    QCOMPARE(boldRows(), QList<int>());
    journal.setFocus();
    QTRY_COMPARE(focusedControl(), u"RxDBGrid3"_s);
    QCOMPARE(boldRows(), QList<int>{0});
    QTest::keyClick(&journal, Qt::Key_Down);
    QCOMPARE(boldRows(), QList<int>{1});
    QCOMPARE(controls(m_form).journalView().currentRow(), 1);
    // the bold row keeps the grid's own selection colours
    QCOMPARE(paramsOf(journal, 1, 0).background, journal.palette().color(QPalette::Highlight));
    QCOMPARE(paramsOf(journal, 0, 0).text, QColor(0, 0, 128));
    controls(m_form).kiEdit().setFocus();
    QTRY_COMPARE(focusedControl(), u"KIEdit"_s);
    QCOMPARE(boldRows(), QList<int>());
}

void TestUnit1Bands::ctrlDeleteAsksFirst_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("journal, Yes") << u"RxDBGrid3"_s << false << true << true << true;
    QTest::newRow("journal, No") << u"RxDBGrid3"_s << false << false << true << false;
    QTest::newRow("band grid, read-only") << u"DBGrid80"_s << false << true << false << false;
    QTest::newRow("band grid, edit mode, Yes") << u"DBGrid80"_s << true << true << true << true;
    QTest::newRow("band grid, edit mode, No") << u"DBGrid80"_s << true << false << true << false;
}

void TestUnit1Bands::ctrlDeleteAsksFirst()
{
    QFETCH(QString, grid);
    QFETCH(bool, editMode);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, deleted);
    for (const QString& call : kCalls) {
        addJournalRow(call);
    }
    controls(m_form).editing().setChecked(editMode);
    showAndActivate();
    auto* target = m_form->findChild<DataGrid*>(grid);
    const WindowControls ui = controls(m_form);
    TableView& view = target == &ui.rxDBGrid3() ? ui.journalView() : ui.contest80();
    const int before = view.recordCount();
    bool wasAsked = false;
    target->setDeleteConfirmer([&](DataGrid&, const QString&) {
        wasAsked = true;
        return answer;
    });
    target->setFocus();
    QTRY_COMPARE(focusedControl(), grid);
    QTest::keyClick(target, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(wasAsked, asked);
    QCOMPARE(view.recordCount(), before - (deleted ? 1 : 0));
    QVERIFY(m_errors.isEmpty());
}

void TestUnit1Bands::begDateReadsTwoDigitYearsAsThisCentury()
{
    DateField& begDate = controls(m_form).begDate();
    QVERIFY(begDate.setText(u"15.03.07"_s));
    QCOMPARE(begDate.date(), QDate(2007, 3, 15));
    QCOMPARE(begDate.text(), u"15.03.07"_s);
    QCOMPARE(begDate.displayFormat(), u"dd.MM.yy"_s);
}

QTEST_MAIN(TestUnit1Bands)
#include "test_unit1bands.moc"
