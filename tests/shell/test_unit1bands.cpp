#include "shell/CallsignSearch.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Panel.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QAction>
#include <QCheckBox>
#include <QSignalSpy>

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
    void cleanup() { m_w.reset(); }
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
    void typedCallsignShowsInTheStatusBar_data();
    void typedCallsignShowsInTheStatusBar();

private:
    void showAndActivate();
    void addRows();
    void addJournalRow(const QString& call);
    CellParams paramsOf(DataGrid& grid, int row, int column);
    std::array<int, kBandCount> marks() const;
    QVariant storedTime(const QString& call, int band, int tour);

    std::unique_ptr<WindowFixture> m_w;
};

void TestUnit1Bands::init()
{
    // not shown yet, so that a case sees the marks of the design; no answers are queued, so prompts are
    // cancelled, and the stopped timer does not refilter the views under the test
    m_w = std::make_unique<WindowFixture>();
    m_w->create();
    addRows();
}

void TestUnit1Bands::addRows()
{
    static const std::array<std::pair<int, const char*>, kBandCount> bands = {
        {{80, "SSB"}, {80, "CW"}, {160, "SSB"}, {160, "CW"}}};
    for (int band = 0; band < kBandCount; ++band) {
        TableView& view = m_w->ui().bandView(band);
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
    TableView& journal = m_w->ui().journalView();
    journal.append();
    journal.setValue(u"CallSign"_s, call);
    journal.setValue(u"RecvText"_s, u"22 001"_s);
    journal.post();
}

void TestUnit1Bands::showAndActivate()
{
    m_w->show();
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
        result.at(band) = m_w->ui().titlePanel(band).tag();
    }
    return result;
}

QVariant TestUnit1Bands::storedTime(const QString& call, int band, int tour)
{
    const TableView& view = m_w->ui().bandView(band);
    Statement query = m_w->form->database().prepare(
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
    QCOMPARE(m_w->form->activeBand(), 0);
    QCOMPARE(m_w->ui().titlePanel(0).background(), kGreen);
    QCOMPARE(m_w->ui().titlePanel(0).captionColor(), kLime);
    for (int band = 1; band < kBandCount; ++band) {
        QCOMPARE(m_w->ui().titlePanel(band).background(), m_w->form->palette().color(QPalette::Button));
        QCOMPARE(m_w->ui().titlePanel(band).captionColor(), kPurple);
    }
    // the grids colour their text by their own panel's mark, not by the colours shown
    QCOMPARE(paramsOf(m_w->ui().bandGrid(0), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(m_w->ui().bandGrid(1), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(m_w->ui().bandGrid(2), 1, 0).text, kBlue);
    QCOMPARE(paramsOf(m_w->ui().bandGrid(3), 1, 0).text, kPurple);
}

void TestUnit1Bands::firstActivationMarksOnly80Ssb()
{
    showAndActivate();
    QCOMPARE(marks(), (std::array<int, kBandCount>{1, 0, 0, 0}));
    QCOMPARE(m_w->form->activeBand(), 0);
    QCOMPARE(paramsOf(m_w->ui().bandGrid(0), 1, 0).text, kBlue);
    for (int band = 1; band < kBandCount; ++band) {
        QCOMPARE(paramsOf(m_w->ui().bandGrid(band), 1, 0).text, kPurple);
    }
}

void TestUnit1Bands::tabFromThe80SsbGridActivates160Cw()
{
    showAndActivate();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedControl(), u"DBGrid160CW"_s);
    QCOMPARE(marks(), (std::array<int, kBandCount>{0, 0, 0, 1}));
    QCOMPARE(m_w->form->activeBand(), 3);
    QCOMPARE(m_w->ui().titlePanel(3).background(), kGreen);
    QCOMPARE(m_w->ui().titlePanel(3).captionColor(), kLime);
    for (int band = 0; band < 3; ++band) {
        QCOMPARE(m_w->ui().titlePanel(band).background(), m_w->form->palette().color(QPalette::Button));
        QCOMPARE(m_w->ui().titlePanel(band).captionColor(), kPurple);
        QCOMPARE(paramsOf(m_w->ui().bandGrid(band), 1, 0).text, kPurple);
    }
    QCOMPARE(paramsOf(m_w->ui().bandGrid(3), 1, 0).text, kBlue);
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
    m_w->ui().editing().setChecked(editMode);
    showAndActivate();
    m_w->ui().bandGrid(0).setFocus();
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
    m_w->ui().kiEdit().setFocus();
    for (int click = 0; click < 2; ++click) { // the second click, on the active panel, changes nothing
        QTest::mouseClick(&m_w->ui().titlePanel(band), Qt::LeftButton);
        QCOMPARE(m_w->form->activeBand(), band);
        QCOMPARE(focusedControl(), m_w->ui().bandGrid(band).objectName());
        for (int other = 0; other < kBandCount; ++other) {
            QCOMPARE(m_w->ui().titlePanel(other).tag(), other == band ? 1 : 0);
            QCOMPARE(m_w->ui().titlePanel(other).background(),
                     other == band ? kGreen : m_w->form->palette().color(QPalette::Button));
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
    m_w->ui().tour().setValue(2); // start from another filter, so every case is a change
    for (int band = 0; band < kBandCount; ++band) {
        m_w->ui().bandView(band).last();
    }
    m_w->ui().tour().setValue(tour);
    QVERIFY2(m_w->errors.isEmpty(), qPrintable(m_w->errors.join(u'\n')));
    for (int band = 0; band < kBandCount; ++band) {
        TableView& view = m_w->ui().bandView(band);
        QCOMPARE(view.recordCount(), rows);
        QCOMPARE(view.currentRow(), rows > 0 ? 0 : -1);
        for (int row = 0; row < rows; ++row) {
            const int rowTour = view.valueAt(row, view.fieldIndex(u"TourNumber"_s)).toInt();
            QVERIFY(tour == 0 || rowTour == tour);
        }
        DataGrid& grid = m_w->ui().bandGrid(band);
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
    m_w->ui().editing().setChecked(editMode);
    showAndActivate();
    auto* target = m_w->form->findChild<QWidget*>(control);
    QVERIFY(target);
    target->setFocus();
    QTRY_COMPARE(focusedControl(), control);
    QSignalSpy triggered(&m_w->ui().newCallsign1(), &QAction::triggered);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
    QCOMPARE(triggered.size(), 1);
    for (int band = 0; band < kBandCount; ++band) {
        QCOMPARE(m_w->ui().bandView(band).recordCount(), kCalls.size() * kTours);
        QVERIFY(!m_w->ui().bandView(band).isEditing());
        QCOMPARE(m_w->ui().bandGrid(band).model()->rowCount(), kCalls.size() * kTours);
    }
    QCOMPARE(m_w->ui().journalView().recordCount(), 1);
    QVERIFY(!m_w->ui().journalView().isEditing());
}

void TestUnit1Bands::editModeTogglesSelectionAndEditing()
{
    showAndActivate();
    QCheckBox& editing = m_w->ui().editing();
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(m_w->ui().editing().isChecked());
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid& grid = m_w->ui().bandGrid(band);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectItems);
        QVERIFY(!grid.isReadOnly());
        QVERIFY(grid.editTriggers() & QAbstractItemView::AnyKeyPressed);
        QVERIFY(grid.model()->flags(grid.model()->index(0, kTimeColumn)) & Qt::ItemIsEditable);
        QVERIFY(!grid.tabKeyNavigation());
    }
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(!m_w->ui().editing().isChecked());
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid& grid = m_w->ui().bandGrid(band);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(grid.isReadOnly());
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, kTimeColumn)) & Qt::ItemIsEditable));
        QVERIFY(!grid.tabKeyNavigation());
    }
    // the journal grid is never edited in place
    QCOMPARE(m_w->ui().rxDBGrid3().editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestUnit1Bands::badTimeTypedInEditModeIsRefused()
{
    m_w->ui().editing().setChecked(true);
    showAndActivate();
    DataGrid& grid = m_w->ui().bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.currentIndex(), grid.model()->index(0, kTimeColumn));
    const QString call = m_w->ui().contest80().value(u"CallSign"_s).toString();
    const int tour = m_w->ui().contest80().value(u"TourNumber"_s).toInt();
    QTest::keyClicks(&grid, u"1"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"9:7x"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(m_w->errors.size(), 1);
    QVERIFY2(m_w->errors.first().contains(u"19:7x"_s), qPrintable(m_w->errors.first()));
    QTest::keyClick(&grid, Qt::Key_Down);
    QVERIFY(!m_w->ui().contest80().isEditing());
    QVERIFY(storedTime(call, 0, tour).isNull());
    QCOMPARE(grid.model()->index(0, kTimeColumn).data().toString(), QString());
}

void TestUnit1Bands::changeIsPostedBeforeEditModeIsSwitchedOff()
{
    // what is typed in edit mode is a correction: the change must not wait for the mode to end
    m_w->ui().editing().setChecked(true);
    showAndActivate();
    QList<bool> editModeAtPost;
    const TableView* contest80 = &m_w->ui().contest80();
    connect(&m_w->form->database(), &Database::rowChanged, this, [&](FolderTable, qint64, const QObject* origin) {
        if (origin == contest80) {
            editModeAtPost << m_w->ui().editing().isChecked();
        }
    });
    DataGrid& grid = m_w->ui().bandGrid(0);
    QTest::keyClick(&grid, Qt::Key_Right);
    const QString call = m_w->ui().contest80().value(u"CallSign"_s).toString();
    const int tour = m_w->ui().contest80().value(u"TourNumber"_s).toInt();
    QTest::keyClicks(&grid, u"1"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"2:34:56"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    QCheckBox& editing = m_w->ui().editing();
    QTest::mouseClick(&editing, Qt::LeftButton, {}, QPoint(5, editing.height() / 2));
    QVERIFY(!m_w->ui().editing().isChecked());
    QCOMPARE(editModeAtPost, QList<bool>{true});
    QCOMPARE(storedTime(call, 0, tour).toString(), u"12:34:56.000"_s);
    QVERIFY(m_w->errors.isEmpty());
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
    TableView& view = m_w->ui().contest80();
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
        m_w->ui().kiEdit().setFocus();
        QTRY_COMPARE(focusedControl(), u"KIEdit"_s);
    }
    DataGrid& grid = m_w->ui().bandGrid(0);
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        const CellParams params = paramsOf(grid, row, column);
        QCOMPARE(params.background, background.isValid() ? background : grid.palette().color(QPalette::Base));
        QCOMPARE(params.font.bold(), bold);
        QCOMPARE(params.text, kBlue);
    }
}

void TestUnit1Bands::editModeHighlightsOnlyTheCurrentCell()
{
    m_w->ui().editing().setChecked(true);
    showAndActivate();
    DataGrid& grid = m_w->ui().bandGrid(0);
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
    m_w->ui().journalView().first();
    showAndActivate();
    DataGrid& journal = m_w->ui().rxDBGrid3();
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
    QCOMPARE(m_w->ui().journalView().currentRow(), 1);
    // the bold row keeps the grid's own selection colours
    QCOMPARE(paramsOf(journal, 1, 0).background, journal.palette().color(QPalette::Highlight));
    QCOMPARE(paramsOf(journal, 0, 0).text, QColor(0, 0, 128));
    m_w->ui().kiEdit().setFocus();
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
    m_w->ui().editing().setChecked(editMode);
    showAndActivate();
    auto* target = m_w->form->findChild<DataGrid*>(grid);
    const WindowControls ui = m_w->ui();
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
    QVERIFY(m_w->errors.isEmpty());
}

void TestUnit1Bands::begDateReadsTwoDigitYearsAsThisCentury()
{
    DateField& begDate = m_w->ui().begDate();
    QVERIFY(begDate.setText(u"15.03.07"_s));
    QCOMPARE(begDate.date(), QDate(2007, 3, 15));
    QCOMPARE(begDate.text(), u"15.03.07"_s);
    QCOMPARE(begDate.displayFormat(), u"dd.MM.yy"_s);
}

void TestUnit1Bands::typedCallsignShowsInTheStatusBar_data()
{
    QTest::addColumn<int>("band"); // -1: the journal grid
    for (int band = -1; band < kBandCount; ++band) {
        QTest::addRow("grid %d", band) << band;
    }
}

void TestUnit1Bands::typedCallsignShowsInTheStatusBar()
{
    QFETCH(int, band);
    for (const QString& call : kCalls) {
        addJournalRow(call);
    }
    m_w->ui().journalView().first();
    showAndActivate();
    DataGrid& grid = band < 0 ? m_w->ui().rxDBGrid3() : m_w->ui().bandGrid(band);
    TableView& view = band < 0 ? m_w->ui().journalView() : m_w->ui().bandView(band);
    grid.setFocus();
    QTRY_VERIFY(grid.hasFocus());
    QStatusBar& statusBar = m_w->ui().statusBar1();

    QTest::keyClicks(&grid, u"cc"_s);
    QCOMPARE(view.text(u"CallSign"_s), kCalls.at(2));
    QCOMPARE(statusBar.currentMessage(), CallsignSearch::noticeText(u"cc"_s, true));
    QTest::keyClick(&grid, Qt::Key_Z);
    QCOMPARE(statusBar.currentMessage(), CallsignSearch::noticeText(u"ccz"_s, false));
    QTest::keyClick(&grid, Qt::Key_Escape);
    QCOMPARE(statusBar.currentMessage(), QString());
    QCOMPARE(view.text(u"CallSign"_s), kCalls.at(2));
}

QTEST_MAIN(TestUnit1Bands)
#include "test_unit1bands.moc"
