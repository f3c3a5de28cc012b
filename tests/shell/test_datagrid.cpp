#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"
#include "widgets/DataGrid.h"
#include "widgets/RowIndicator.h"
#include "widgets/TableViewModel.h"
#include "widgets/TypedSearch.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const ViewFilter kFilter80{{u"Diapasone"_s, 80}, {u"Modulation"_s, u"SSB"_s}};

// the band filter narrowed to one more field
ViewFilter filter80And(const QString& field, const QVariant& value)
{
    ViewFilter filter = kFilter80;
    filter.add(field, value);
    return filter;
}
constexpr int kCallColumn = 0;
constexpr int kTimeColumn = 1;

QList<GridColumn> columns()
{
    return {{u"CallSign"_s, 54, Qt::AlignCenter, {}},
            {u"T"_s, 50, Qt::AlignCenter, {}},
            {u"RecvText"_s, 38, Qt::AlignCenter, {}}};
}

// typed as an operator would: the first key reaches the grid, the rest whatever then has the focus
void typeText(QWidget* start, const QString& text)
{
    QTest::keyClicks(start, text.left(1));
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
}

// the editor hands its text to the grid once the event loop runs
void confirmEditor(QWidget* grid)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), grid);
}

// each character typed as its key; ⌫ is Backspace, ⎋ Esc, ⏎ Enter, ↓ the down arrow and ⇧ Shift alone
void pressKeys(QWidget* grid, const QString& keys)
{
    static const QHash<QChar, Qt::Key> special = {{u'⌫', Qt::Key_Backspace},
                                                  {u'⎋', Qt::Key_Escape},
                                                  {u'⏎', Qt::Key_Return},
                                                  {u'↓', Qt::Key_Down},
                                                  {u'⇧', Qt::Key_Shift}};
    for (const QChar ch : keys) {
        if (special.contains(ch)) {
            QTest::keyClick(grid, special.value(ch));
            continue;
        }
        // QTest types Latin-1 only; a Cyrillic layout sends the letter's own key code
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(grid, &event);
        }
    }
}

QStringList callsIn(const TableView& view)
{
    QStringList calls;
    for (int row = 0; row < view.recordCount(); ++row) {
        calls << view.valueAt(row, view.fieldIndex(u"CallSign"_s)).toString();
    }
    return calls;
}
} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void modelFollowsEveryViewChange();
    void gridFollowsViewCursor_data();
    void gridFollowsViewCursor();
    void viewFollowsGridCursor();
    void indicatorArrowIsDrawnAtTheCurrentRow_data();
    void indicatorArrowIsDrawnAtTheCurrentRow();
    void editIsPostedWhenLeavingTheRow();
    void rowMovedByPostKeepsTheCursorOnTheRowAskedFor();
    void badTimeIsRefusedAndNothingPosted();
    void clearingTheTimeCellStoresNull();
    void pendingEditIsPostedWhenTheFocusGoesToAnotherControl();
    void pendingEditStaysWhileAMessageBoxIsOpen();
    void readOnlyGridCannotEdit();
    void tabLeavesTheGrid_data();
    void tabLeavesTheGrid();
    void ctrlDelete_data();
    void ctrlDelete();
    void ctrlDeleteThroughTheRealDialog();
    void aQuestionAnsweredElsewhereLeavesNoRowMarked();
    void enteredOnlyWhenFocusComesFromAnotherControl();
    void typingFindsACallsign_data();
    void typingFindsACallsign();

private:
    void addRow(const QString& call, const QVariant& time = {}, int tour = 1);
    QString storedTime(const QString& call);
    void showHost();

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TableView> m_view;
    std::unique_ptr<QWidget> m_host;
    DataGrid* m_grid = nullptr;
    QLineEdit* m_before = nullptr;
    QLineEdit* m_after = nullptr;
    TableViewModel* m_model = nullptr;
    QStringList m_errors;
};

void TestDataGrid::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
    m_view = std::make_unique<TableView>(*m_db, contestViewDefinition(u"Contest80"_s));
    m_view->setFilter(kFilter80);
    m_view->setFiltered(true);
    m_view->open();
    // AA1AA, the first row, is of another tour: a tour filter leaves it out
    addRow(u"AA1AA"_s, {}, 2);
    for (const char* call : {"BB2BB", "CC3CC", "DD4DD", "EE5EE"}) {
        addRow(QString::fromLatin1(call));
    }
    m_view->first();

    m_errors.clear();
    m_host = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_host.get());
    m_before = new QLineEdit(m_host.get());
    m_grid = new DataGrid(m_host.get());
    m_after = new QLineEdit(m_host.get());
    layout->addWidget(m_before);
    layout->addWidget(m_grid);
    layout->addWidget(m_after);
    m_model = new TableViewModel(
        *m_view, columns(),
        [this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const StoreError& e) {
                m_errors << e.message();
            }
        },
        m_grid);
    m_grid->setTableModel(m_model);
}

void TestDataGrid::cleanup()
{
    m_host.reset();
    m_view.reset();
    m_db.reset();
    m_env.reset();
}

void TestDataGrid::addRow(const QString& call, const QVariant& time, int tour)
{
    m_view->append();
    m_view->setValue(u"CallSign"_s, call);
    m_view->setValue(u"Diapasone"_s, 80);
    m_view->setValue(u"Modulation"_s, u"SSB"_s);
    m_view->setValue(u"TourNumber"_s, tour);
    m_view->setValue(u"T"_s, time);
    m_view->post();
}

QString TestDataGrid::storedTime(const QString& call)
{
    Statement query = m_db->prepare(u"SELECT T FROM Contest.Contest WHERE CallSign=?"_s);
    query.bind(1, call);
    return query.step() ? query.column(0).toString() : u"<no row>"_s;
}

void TestDataGrid::showHost()
{
    m_host->show();
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->hasFocus());
}

void TestDataGrid::modelFollowsEveryViewChange()
{
    QAbstractItemModelTester tester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto sameAsView = [this] {
        QCOMPARE(m_model->rowCount(), m_view->recordCount());
        QStringList shown;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            shown << m_model->index(row, kCallColumn).data().toString();
        }
        QCOMPARE(shown, callsIn(*m_view));
    };

    addRow(u"BA0AA"_s); // lands between two rows
    sameAsView();
    m_view->locate(u"CallSign"_s, {u"AA1AA"_s}, false);
    m_view->edit();
    m_view->setValue(u"D"_s, QDate(2006, 10, 22)); // a dated row moves behind every planned one
    m_view->post();
    sameAsView();
    QCOMPARE(m_model->index(m_model->rowCount() - 1, kCallColumn).data().toString(), u"AA1AA"_s);
    m_view->first();
    m_view->remove();
    sameAsView();
    m_view->setFilter(filter80And(u"CallSign"_s, u"CC3CC"_s));
    sameAsView();
    QCOMPARE(m_model->rowCount(), 1);
    m_view->close();
    QCOMPARE(m_model->rowCount(), 0);
    m_view->open();
    sameAsView();
}

void TestDataGrid::gridFollowsViewCursor_data()
{
    QTest::addColumn<int>("moves");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("next twice") << 2 << 2;
    QTest::newRow("last") << -1 << 4;
    QTest::newRow("none") << 0 << 0;
}

void TestDataGrid::gridFollowsViewCursor()
{
    QFETCH(int, moves);
    QFETCH(int, expectedRow);
    if (moves < 0) {
        m_view->last();
    }
    for (int i = 0; i < moves; ++i) {
        m_view->next();
    }
    QCOMPARE(m_grid->currentIndex().row(), expectedRow);
    QVERIFY(m_grid->selectionModel()->isRowSelected(expectedRow, {}));
    auto* indicator = qobject_cast<RowIndicator*>(m_grid->verticalHeader());
    QVERIFY(indicator);
    QCOMPARE(indicator->markedRow(), expectedRow);
}

void TestDataGrid::indicatorArrowIsDrawnAtTheCurrentRow_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<bool>("refiltered");
    QTest::newRow("read-only") << false << false;
    QTest::newRow("edit mode") << true << false;
    QTest::newRow("after a new filter") << false << true;
}

void TestDataGrid::indicatorArrowIsDrawnAtTheCurrentRow()
{
    QFETCH(bool, editMode);
    QFETCH(bool, refiltered);
    m_grid->setReadOnly(!editMode);
    m_grid->setInPlaceEditing(editMode);
    showHost();
    if (refiltered) {
        m_view->setFilter(filter80And(u"TourNumber"_s, 1));
    }
    m_view->moveTo(2);
    const QImage image = m_grid->verticalHeader()->grab().toImage();
    const auto darkPixelsInRow = [&](int row) {
        const int top = m_grid->verticalHeader()->sectionViewportPosition(row);
        int dark = 0;
        for (int y = top + 2; y < top + DataGrid::kRowHeight - 2; ++y) {
            for (int x = 2; x < image.width() - 2; ++x) {
                dark += image.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        return dark;
    };
    QVERIFY(darkPixelsInRow(2) > 4);
    QCOMPARE(darkPixelsInRow(1), 0);
}

void TestDataGrid::viewFollowsGridCursor()
{
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(m_view->currentRow(), 1);
    QTest::keyClick(m_grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_view->currentRow(), 4);
    const QRect cell = m_grid->visualRect(m_model->index(2, kCallColumn));
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(m_view->currentRow(), 2);
    QCOMPARE(m_view->value(u"CallSign"_s).toString(), u"CC3CC"_s);
}

void TestDataGrid::editIsPostedWhenLeavingTheRow()
{
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right); // onto the time cell of AA1AA
    typeText(m_grid, u"12:30:05"_s);
    confirmEditor(m_grid);
    QVERIFY(m_view->isModified());
    QCOMPARE(storedTime(u"AA1AA"_s), QString()); // not yet: the row is still being edited
    QCOMPARE(m_model->index(0, kTimeColumn).data().toString(), u"12:30:05"_s);

    QTest::keyClick(m_grid, Qt::Key_Down);
    QVERIFY(!m_view->isEditing());
    QCOMPARE(storedTime(u"AA1AA"_s), u"12:30:05.000"_s);
    QCOMPARE(m_view->currentRow(), 1);
}

void TestDataGrid::rowMovedByPostKeepsTheCursorOnTheRowAskedFor()
{
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    // renaming the first row sends it to the end of the order once it is posted
    typeText(m_grid, u"ZZ9ZZ"_s);
    confirmEditor(m_grid);
    QTest::keyClick(m_grid, Qt::Key_Down); // asks for BB2BB, which moves up when ZZ9ZZ is posted
    QCOMPARE(callsIn(*m_view), QStringList({u"BB2BB"_s, u"CC3CC"_s, u"DD4DD"_s, u"EE5EE"_s, u"ZZ9ZZ"_s}));
    QCOMPARE(m_view->value(u"CallSign"_s).toString(), u"BB2BB"_s);
    QCOMPARE(m_grid->currentIndex().row(), m_view->currentRow());
}

void TestDataGrid::badTimeIsRefusedAndNothingPosted()
{
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right);
    typeText(m_grid, u"25:99"_s);
    confirmEditor(m_grid);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(u"25:99"_s) && m_errors.first().contains(u"time"_s),
             qPrintable(m_errors.first()));
    QVERIFY(!m_view->isEditing());
    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(storedTime(u"AA1AA"_s), QString());
    QCOMPARE(m_model->index(0, kTimeColumn).data().toString(), QString());
}

void TestDataGrid::clearingTheTimeCellStoresNull()
{
    m_view->first();
    m_view->edit();
    m_view->setValue(u"T"_s, QTime(9, 5));
    m_view->post();
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right);
    QTest::keyClick(m_grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    confirmEditor(m_grid);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(storedTime(u"AA1AA"_s), QString());
}

void TestDataGrid::pendingEditIsPostedWhenTheFocusGoesToAnotherControl()
{
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right);
    typeText(m_grid, u"7:15"_s);
    confirmEditor(m_grid);
    QVERIFY(m_view->isModified());
    QTest::mouseClick(m_after, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m_after);
    QVERIFY(!m_view->isEditing());
    QCOMPARE(storedTime(u"AA1AA"_s), u"07:15:00.000"_s);
}

void TestDataGrid::pendingEditStaysWhileAMessageBoxIsOpen()
{
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right);
    typeText(m_grid, u"7:15"_s);
    confirmEditor(m_grid);
    bool stillPending = false;
    QTimer::singleShot(0, this, [&] {
        stillPending = m_view->isModified();
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    QMessageBox::information(m_host.get(), u"Note"_s, u"text"_s);
    QVERIFY(stillPending);
    QCOMPARE(storedTime(u"AA1AA"_s), QString());
}

void TestDataGrid::readOnlyGridCannotEdit()
{
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Right);
    typeText(m_grid, u"ZZ"_s);
    QTest::keyClick(m_grid, Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), m_grid);
    QVERIFY(!m_view->isEditing());
    QVERIFY(!m_model->setData(m_model->index(0, kCallColumn), u"ZZ9ZZ"_s));
    QCOMPARE(callsIn(*m_view).first(), u"AA1AA"_s);
}

void TestDataGrid::tabLeavesTheGrid_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<bool>("backwards");
    QTest::newRow("read-only, Tab") << false << false << false;
    QTest::newRow("read-only, Shift+Tab") << false << false << true;
    QTest::newRow("edit mode, Tab") << true << false << false;
    QTest::newRow("edit mode, Shift+Tab") << true << false << true;
    QTest::newRow("edit mode, Tab in the open editor") << true << true << false;
    QTest::newRow("edit mode, Shift+Tab in the open editor") << true << true << true;
}

void TestDataGrid::tabLeavesTheGrid()
{
    QFETCH(bool, editMode);
    QFETCH(bool, editorOpen);
    QFETCH(bool, backwards);
    m_grid->setReadOnly(!editMode);
    m_grid->setInPlaceEditing(editMode);
    showHost();
    if (editorOpen) {
        typeText(m_grid, u"AB"_s);
        QVERIFY(QApplication::focusWidget() != m_grid);
    }
    QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget(), backwards ? m_before : m_after);
    QCOMPARE(m_view->currentRow(), 0);
}

void TestDataGrid::ctrlDelete_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QStringList>("remaining");
    const QStringList all = {u"AA1AA"_s, u"BB2BB"_s, u"CC3CC"_s, u"DD4DD"_s, u"EE5EE"_s};
    QTest::newRow("writable, Yes") << false << true << true
                                   << QStringList({u"AA1AA"_s, u"CC3CC"_s, u"DD4DD"_s, u"EE5EE"_s});
    QTest::newRow("writable, No") << false << false << true << all;
    QTest::newRow("read-only") << true << true << false << all;
}

void TestDataGrid::ctrlDelete()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(QStringList, remaining);
    m_grid->setReadOnly(readOnly);
    bool wasAsked = false;
    m_grid->setDeleteConfirmer([&](DataGrid&, const QString&) {
        wasAsked = true;
        return answer;
    });
    showHost();
    QTest::keyClick(m_grid, Qt::Key_Down);
    QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(wasAsked, asked);
    QCOMPARE(callsIn(*m_view), remaining);
    QCOMPARE(m_model->rowCount(), remaining.size());
    QCOMPARE(m_grid->currentIndex().row(), m_view->currentRow());
}

void TestDataGrid::ctrlDeleteThroughTheRealDialog()
{
    m_grid->setReadOnly(false);
    showHost();
    QString title;
    QString text;
    // the row the question is about stays marked while it is asked
    bool rowMarked = false;
    m_grid->setCellParamsHandler([&](DataGrid&, const QString&, int row, CellParams&, bool highlight) {
        rowMarked = rowMarked || (highlight && row == m_view->currentRow());
    });
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->activateWindow();
        QTRY_VERIFY(!m_grid->hasFocusWithin());
        rowMarked = false;
        m_grid->viewport()->repaint();
        title = box->windowTitle();
        text = box->text();
        QVERIFY(box->button(QMessageBox::No));
        box->button(QMessageBox::Yes)->click();
    });
    QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(title, u"Confirm"_s);
    QCOMPARE(text, u"Delete record?"_s);
    QVERIFY(rowMarked);
    QCOMPARE(callsIn(*m_view).first(), u"BB2BB"_s);
}

// The focus left the grid for a question, then went on to another control of the window without coming
// back: a prompt open from then on is not about the grid's row.
void TestDataGrid::aQuestionAnsweredElsewhereLeavesNoRowMarked()
{
    showHost();
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->hasFocusWithin());
    bool rowMarked = false;
    m_grid->setCellParamsHandler([&](DataGrid&, const QString&, int row, CellParams&, bool highlight) {
        rowMarked = rowMarked || (highlight && row == m_view->currentRow());
    });
    QDialog prompt(m_host.get());
    auto* field = new QLineEdit(&prompt);
    QTimer::singleShot(0, this, [&] {
        prompt.activateWindow();
        field->setFocus();
        QTRY_VERIFY(!m_grid->hasFocusWithin());
        Q_EMIT qApp->focusChanged(field, m_before);
        rowMarked = false;
        m_grid->viewport()->repaint();
        prompt.accept();
    });
    prompt.exec();
    QVERIFY(!rowMarked);
}

void TestDataGrid::enteredOnlyWhenFocusComesFromAnotherControl()
{
    int entries = 0;
    connect(m_grid, &DataGrid::entered, this, [&] { ++entries; });
    m_host->show();
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    m_before->setFocus();
    QTRY_VERIFY(m_before->hasFocus());
    entries = 0;
    QTest::keyClick(m_before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_grid);
    QCOMPARE(entries, 1);

    // a message box opened over the grid gives the focus back without a new entry
    QTimer::singleShot(0, this, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    QMessageBox::information(m_host.get(), u"Note"_s, u"text"_s);
    m_host->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), m_grid);
    QCOMPARE(entries, 1);

    // the in-place editor lies inside the grid: going there and back is no entry either
    m_grid->setReadOnly(false);
    m_grid->setInPlaceEditing(true);
    typeText(m_grid, u"X"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), m_grid);
    QCOMPARE(entries, 1);
}

void TestDataGrid::typingFindsACallsign_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entered"); // the row Enter was pressed on, for the grid's owner; none when not

    QTest::newRow("prefix") << false << u"cc"_s << u"CC3CC"_s << u"cc"_s << QString();
    QTest::newRow("Cyrillic layout") << false << u"ЦЦ3"_s << u"CC3CC"_s << u"ЦЦ3"_s << QString();
    QTest::newRow("contained") << false << u"5E"_s << u"EE5EE"_s << u"5E"_s << QString();
    QTest::newRow("not found stays") << false << u"CD"_s << u"CC3CC"_s << u"CD"_s << QString();
    QTest::newRow("Backspace shortens") << false << u"CD⌫"_s << u"CC3CC"_s << u"C"_s << QString();
    QTest::newRow("Backspace to nothing ends") << false << u"EE⌫⌫B"_s << u"BB2BB"_s << u"B"_s << QString();
    QTest::newRow("Shift alone keeps the text") << false << u"C⇧D"_s << u"CC3CC"_s << u"CD"_s << QString();
    QTest::newRow("Esc ends") << false << u"C⎋D"_s << u"DD4DD"_s << u"D"_s << QString();
    QTest::newRow("arrow ends and moves") << false << u"C↓"_s << u"DD4DD"_s << QString() << QString();
    QTest::newRow("Enter ends on the row found") << false << u"DD⏎"_s << u"DD4DD"_s << QString() << u"DD4DD"_s;
    // the row of the last text that found one is not the station typed: Enter there would log another
    QTest::newRow("Enter after nothing found enters nothing")
        << false << u"CD⏎"_s << u"CC3CC"_s << QString() << QString();
    QTest::newRow("edit mode types into the cell") << true << u"D"_s << u"AA1AA"_s << QString() << QString();
    QTest::newRow("a portable call, slash and all") << false << u"UA3A/P"_s << u"UA3A/P"_s << u"UA3A/P"_s << QString();
}

void TestDataGrid::typingFindsACallsign()
{
    QFETCH(bool, editMode);
    QFETCH(QString, keys);
    QFETCH(QString, current);
    QFETCH(QString, typed);
    QFETCH(QString, entered);
    // last in the order, so that it stands in the way of no other case
    addRow(u"UA3A/P"_s);
    m_view->first();
    m_grid->setSearchField(u"CallSign"_s);
    m_grid->setReadOnly(!editMode);
    m_grid->setInPlaceEditing(editMode);
    QString atEnter;
    connect(m_grid, &DataGrid::keyDown, m_grid, [&](int key) {
        if (key == Qt::Key_Return) {
            atEnter = m_view->text(u"CallSign"_s);
        }
    });
    showHost();

    pressKeys(m_grid, keys);
    QCOMPARE(m_view->text(u"CallSign"_s), current);
    QCOMPARE(m_grid->currentIndex().row(), m_view->currentRow());
    QCOMPARE(m_grid->typedSearch()->typed(), typed);
    QCOMPARE(atEnter, entered);
}

QTEST_MAIN(TestDataGrid)
#include "test_datagrid.moc"
