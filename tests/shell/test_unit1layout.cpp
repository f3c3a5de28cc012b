#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/FixedBlankLabel.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QColor kNavy(0, 0, 0x80);
const QColor kBlue(0, 0, 0xFF);

QRect geometryIn(const QWidget* widget, const QWidget* ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}
} // namespace

class TestUnit1Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowPlacementAndCaption();
    void regionsFromTopToBottom();
    void topBarControls_data();
    void topBarControls();
    void fieldValues();
    void topBarLooks();
    void tourRowFieldsStandInTheLabelsGaps();
    void bandColumns_data();
    void bandColumns();
    void bandGridColumns_data();
    void bandGridColumns();
    void journalGridColumns();
    void statusBarPanelsAndGauge();
    void widerWindowWidensOnlyTheLastColumnAndTheGauge();
    void narrowStatusBarHidesTheGaugeUntilWidenedAgain();
    void menu();
    void menuOpensFromTheKeyboard_data();
    void menuOpensFromTheKeyboard();

private:
    template<typename T>
    T* child(const char* name)
    {
        T* found = m_w->form->findChild<T*>(QString::fromLatin1(name));
        if (!found) {
            qFatal("no %s", name);
        }
        return found;
    }

    std::unique_ptr<WindowFixture> m_w;
};

// the window as it starts, before any tick of its timer could change a value under the test
void TestUnit1Layout::init()
{
    m_w = std::make_unique<WindowFixture>();
    m_w->start();
}

void TestUnit1Layout::cleanup()
{
    m_w->form.reset();
    const QStringList errors = m_w->errors;
    m_w.reset();
    QCOMPARE(errors, QStringList());
}

void TestUnit1Layout::windowPlacementAndCaption()
{
    QCOMPARE(m_w->form->objectName(), u"Form1"_s);
    QVERIFY2(m_w->form->windowTitle().contains(u"1.03 (2006)"_s), qPrintable(m_w->form->windowTitle()));
    QCOMPARE(m_w->form->pos(), QPoint(11, 86));
    // the client area of the design is everything below the menu bar
    QCOMPARE(m_w->form->width(), 1016);
    QCOMPARE(m_w->form->height() - m_w->form->menuBar()->height(), 592);
}

void TestUnit1Layout::regionsFromTopToBottom()
{
    const QWidget* central = m_w->form->centralWidget();
    QCOMPARE(geometryIn(child<Panel>("Panel4"), central), QRect(0, 0, 1016, 46));
    QCOMPARE(geometryIn(child<DataGrid>("RxDBGrid3"), central), QRect(0, 46 + 418, 1016, 109));
    for (const char* column : {"Panel1", "Panel3", "Panel9", "Panel2"}) {
        const QRect area = geometryIn(child<Panel>(column), central);
        QCOMPARE(area.top(), 46);
        QCOMPARE(area.height(), 418);
    }
    QCOMPARE(m_w->form->statusBar(), child<PanelStatusBar>("StatusBar1"));
    QCOMPARE(m_w->form->statusBar()->height(), 19);
    QCOMPARE(m_w->form->statusBar()->width(), 1016);
}

void TestUnit1Layout::topBarControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry"); // an empty size means: only the position is fixed
    QTest::newRow("RxClock1") << u"RxClock1"_s << u"Panel4"_s << QRect(1, 1, 136, 44);
    QTest::newRow("Panel6") << u"Panel6"_s << u"Panel4"_s << QRect(137, 1, 80, 44);
    QTest::newRow("SendTextPanel") << u"SendTextPanel"_s << u"Panel4"_s << QRect(217, 1, 104, 44);
    QTest::newRow("Panel7") << u"Panel7"_s << u"Panel4"_s << QRect(321, 1, 694, 44);
    QTest::newRow("Label1") << u"Label1"_s << u"Panel6"_s << QRect(5, 7, 0, 0);
    QTest::newRow("KIEdit") << u"KIEdit"_s << u"Panel6"_s << QRect(25, 2, 41, 21);
    QTest::newRow("Label2") << u"Label2"_s << u"Panel6"_s << QRect(5, 26, 0, 0);
    QTest::newRow("NppEdit") << u"NppEdit"_s << u"Panel6"_s << QRect(25, 23, 49, 21);
    QTest::newRow("Label6") << u"Label6"_s << u"Panel7"_s << QRect(11, 5, 0, 0);
    QTest::newRow("ContestNumber") << u"ContestNumber"_s << u"Panel7"_s << QRect(72, 2, 36, 21);
    QTest::newRow("Label4") << u"Label4"_s << u"Panel7"_s << QRect(115, 5, 0, 0);
    QTest::newRow("BegDate") << u"BegDate"_s << u"Panel7"_s << QRect(160, 2, 70, 19);
    QTest::newRow("BegTime") << u"BegTime"_s << u"Panel7"_s << QRect(235, 2, 68, 19);
    QTest::newRow("AutoChangeTour") << u"AutoChangeTour"_s << u"Panel7"_s << QRect(309, 5, 0, 0);
    QTest::newRow("Label7") << u"Label7"_s << u"Panel7"_s << QRect(11, 26, 0, 0);
    QTest::newRow("Tour") << u"Tour"_s << u"Panel7"_s << QRect(44, 22, 36, 21);
    QTest::newRow("Tours") << u"Tours"_s << u"Panel7"_s << QRect(104, 23, 36, 21);
    QTest::newRow("TourMinutes") << u"TourMinutes"_s << u"Panel7"_s << QRect(165, 23, 42, 21);
    QTest::newRow("Editing") << u"Editing"_s << u"Panel7"_s << QRect(264, 24, 0, 0);
}

void TestUnit1Layout::topBarControls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    auto* widget = m_w->form->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    if (geometry.isEmpty()) {
        QCOMPARE(widget->pos(), geometry.topLeft());
    } else {
        QCOMPARE(widget->geometry(), geometry);
    }
}

void TestUnit1Layout::fieldValues()
{
    const QList<std::pair<const char*, int>> spins = {{"KIEdit", 22}, {"NppEdit", 1}, {"ContestNumber", 1},
                                                      {"Tour", 0},    {"Tours", 8},   {"TourMinutes", 30}};
    for (const auto& [name, value] : spins) {
        auto* field = child<SpinField>(name);
        QCOMPARE(field->value(), value);
        // a serial counts contacts from 1
        QCOMPARE(field->minimum(), qstrcmp(name, "NppEdit") == 0 ? 1 : std::numeric_limits<int>::min());
        QCOMPARE(field->maximum(), std::numeric_limits<int>::max());
        QCOMPARE(field->text(), QString::number(value));
    }
    QCOMPARE(child<SpinField>("KIEdit")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(child<SpinField>("NppEdit")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    QCOMPARE(child<DateField>("BegDate")->text(), u"22.10.06"_s);
    QCOMPARE(child<DateField>("BegDate")->date(), QDate(2006, 10, 22));
    QCOMPARE(child<TimePicker>("BegTime")->time(), QTime(16, 43, 19, 878));
    QCOMPARE(child<TimePicker>("BegTime")->value(), QDateTime(QDate(2006, 10, 17), QTime(16, 43, 19, 878)));
    QCOMPARE(child<TimePicker>("BegTime")->text(), u"16:43:19"_s);
    QCOMPARE(child<QCheckBox>("AutoChangeTour")->text(), u"AutoChange Tour"_s);
    QVERIFY(child<QCheckBox>("AutoChangeTour")->isChecked());
    QCOMPARE(child<QCheckBox>("Editing")->text(), u"Edit Enabled"_s);
    QVERIFY(!child<QCheckBox>("Editing")->isChecked());
    QCOMPARE(child<Panel>("SendTextPanel")->caption(), u"22 001"_s);
    QCOMPARE(child<QLabel>("Label1")->text(), u"KI:"_s);
    QCOMPARE(child<QLabel>("Label2")->text(), u"№:"_s);
    QCOMPARE(child<QLabel>("Label6")->text(), u"Contest:"_s);
    QCOMPARE(child<QLabel>("Label4")->text(), u"Begin:"_s);
    QCOMPARE(child<QLabel>("Label7")->text(), u"Tour            of            by             minutes"_s);
}

void TestUnit1Layout::topBarLooks()
{
    for (const char* name : {"Label1", "Label2", "Label6", "Label4", "Label7"}) {
        auto* label = child<QLabel>(name);
        QCOMPARE(label->palette().color(QPalette::WindowText), kNavy);
        QVERIFY(label->font().bold());
    }
    for (const char* name : {"AutoChangeTour", "Editing"}) {
        auto* box = child<QCheckBox>(name);
        QCOMPARE(box->palette().color(QPalette::WindowText), kNavy);
        QVERIFY(!box->font().bold());
    }
    for (const char* name : {"KIEdit", "NppEdit", "ContestNumber", "Tour", "Tours", "TourMinutes"}) {
        auto* field = child<SpinField>(name);
        QCOMPARE(field->palette().color(QPalette::Text), kBlue);
        QCOMPARE(field->palette().color(QPalette::Base), QApplication::palette().color(QPalette::ToolTipBase));
        QVERIFY(field->font().bold());
    }
    for (const char* name : {"BegDate", "BegTime"}) {
        QCOMPARE(child<QWidget>(name)->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::ToolTipBase));
    }
    for (const char* name : {"RxClock1", "SendTextPanel"}) {
        auto* panel = child<Panel>(name);
        QCOMPARE(panel->captionColor(), kBlue);
        QCOMPARE(panel->font().pixelSize(), 24);
        QVERIFY(panel->font().bold());
        QCOMPARE(panel->bevelWidth(), 2);
    }
    QCOMPARE(child<Panel>("SendTextPanel")->background(), QColor(0xF0, 0xFB, 0xFF));
    QVERIFY(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s).match(child<Panel>("RxClock1")->caption()).hasMatch());
}

void TestUnit1Layout::tourRowFieldsStandInTheLabelsGaps()
{
    // whatever font stands in, even one far wider than the row was laid out for, no word of the label may
    // hide under a field of the row
    auto* label = child<FixedBlankLabel>("Label7");
    const QStringList words = label->text().split(u' ', Qt::SkipEmptyParts);
    const QFont standIn = label->font();
    for (const qreal widening : {1.0, 1.6}) {
        QFont font = standIn;
        font.setPointSizeF(standIn.pointSizeF() * widening);
        label->setFont(font);
        const QList<qreal> starts = label->wordStarts();
        QCOMPARE(starts.size(), words.size());
        const QFontMetricsF metrics(font);
        for (const char* name : {"Tour", "Tours", "TourMinutes"}) {
            const QRect field = child<QWidget>(name)->geometry();
            for (int i = 0; i < words.size(); ++i) {
                const qreal left = label->x() + starts.at(i);
                const qreal right = left + metrics.horizontalAdvance(words.at(i));
                QVERIFY2(
                    right <= field.left() || left >= field.right() + 1,
                    qPrintable(u"'%1' lies under %2 at %3 times the size"_s.arg(words.at(i), QString::fromLatin1(name))
                                   .arg(widening)));
            }
        }
    }
    label->setFont(standIn);
}

void TestUnit1Layout::bandColumns_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::newRow("80 SSB") << 0 << u"Panel1"_s << u"Panel80"_s << u"DBGrid80"_s << 0 << 217;
    QTest::newRow("80 CW") << 1 << u"Panel3"_s << u"Panel80CW"_s << u"DBGrid80CW"_s << 217 << 224;
    QTest::newRow("160 SSB") << 2 << u"Panel9"_s << u"Panel160"_s << u"DBGrid160"_s << 441 << 224;
    QTest::newRow("160 CW takes the rest") << 3 << u"Panel2"_s << u"Panel160CW"_s << u"DBGrid160CW"_s << 665 << 351;
}

void TestUnit1Layout::bandColumns()
{
    QFETCH(int, band);
    QFETCH(QString, column);
    QFETCH(QString, title);
    QFETCH(QString, grid);
    QFETCH(int, left);
    QFETCH(int, width);
    QCOMPARE(&m_w->ui().columnPanel(band), m_w->form->findChild<Panel*>(column));
    QCOMPARE(&m_w->ui().titlePanel(band), m_w->form->findChild<Panel*>(title));
    QCOMPARE(&m_w->ui().bandGrid(band), m_w->form->findChild<DataGrid*>(grid));
    QCOMPARE(m_w->ui().columnPanel(band).x(), left);
    QCOMPARE(m_w->ui().columnPanel(band).width(), width);
    Panel& titlePanel = m_w->ui().titlePanel(band);
    QCOMPARE(titlePanel.geometry(), QRect(0, 0, width, 41));
    QCOMPARE(titlePanel.font().pixelSize(), 24);
    QVERIFY(titlePanel.font().bold());
    QCOMPARE(titlePanel.bevelWidth(), 1);
    QCOMPARE(m_w->ui().bandGrid(band).geometry(), QRect(0, 41, width, 418 - 41));
    QCOMPARE(m_w->ui().bandGrid(band).palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::ToolTipBase));
}

void TestUnit1Layout::bandGridColumns_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QString>("tourTitle");
    QTest::newRow("DBGrid80") << 0 << QList<int>{54, 50, 37, 38, 23} << u"Тур"_s;
    QTest::newRow("DBGrid80CW") << 1 << QList<int>{57, 48, 36, 40, 24} << u"№ тура"_s;
    QTest::newRow("DBGrid160") << 2 << QList<int>{58, 51, 37, 34, 21} << u"№ тура"_s;
    QTest::newRow("DBGrid160CW") << 3 << QList<int>{58, 49, 36, 37, 22} << u"Тур"_s;
}

void TestUnit1Layout::bandGridColumns()
{
    QFETCH(int, band);
    QFETCH(QList<int>, widths);
    QFETCH(QString, tourTitle);
    DataGrid& grid = m_w->ui().bandGrid(band);
    QAbstractItemModel* model = grid.model();
    QCOMPARE(model->columnCount(), 5);
    const QStringList titles = {u"Sign"_s, u"Time"_s, u"Sent"_s, u"Recv"_s, tourTitle};
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), titles.at(column));
        QCOMPARE(model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>()
                     & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(grid.columnWidth(column), widths.at(column));
        QVERIFY(!grid.isColumnHidden(column));
    }
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(grid.verticalHeader()->isVisible());
    QVERIFY(grid.horizontalHeader()->isVisible());
    QVERIFY(grid.showGrid());
    QCOMPARE(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
}

void TestUnit1Layout::journalGridColumns()
{
    DataGrid& grid = m_w->ui().rxDBGrid3();
    QAbstractItemModel* model = grid.model();
    const QStringList titles = {u"Дата"_s,     u"Время"_s,    u"№ сор-я"_s, u"№ тура"_s, u"Диапазон"_s,  u"Модуляция"_s,
                                u"Позывной"_s, u"Передано"_s, u"Принято"_s, u"KI"_s,     u"Примечание"_s};
    QCOMPARE(model->columnCount(), titles.size());
    for (int column = 0; column < titles.size(); ++column) {
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), titles.at(column));
        const Qt::Alignment expected = titles.at(column) == u"KI"_s ? Qt::AlignLeft : Qt::AlignHCenter;
        QCOMPARE(model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>()
                     & Qt::AlignHorizontal_Mask,
                 expected);
        // a column without a design width still shows its whole title
        QVERIFY(grid.columnWidth(column) >= grid.fontMetrics().horizontalAdvance(titles.at(column)));
    }
    QCOMPARE(grid.columnWidth(2), 49);
    QCOMPARE(grid.columnWidth(3), 46);
    QCOMPARE(grid.columnWidth(4), 59);
    QCOMPARE(grid.columnWidth(10), 220);
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!grid.isReadOnly());
}

void TestUnit1Layout::statusBarPanelsAndGauge()
{
    PanelStatusBar& bar = m_w->ui().statusBar1();
    QCOMPARE(bar.panelCount(), 3);
    QCOMPARE(bar.panelRect(0).width(), 70);
    QCOMPARE(bar.panelRect(1).width(), 250);
    QCOMPARE(bar.panelRect(2).width(), 50);
    QCOMPARE(bar.panelText(0), QString());
    // counted once the window has been drawn
    QTRY_COMPARE(bar.panelText(1), u"СВ=0  КР=0(0)  РН=0(0)  Всего=0"_s);
    QCOMPARE(bar.panelText(2), QString());
    Gauge& gauge = m_w->ui().gauge1();
    QCOMPARE(gauge.parentWidget(), &bar);
    QCOMPARE(gauge.geometry(), QRect(323, 1, 1016 - 324, 18));
    QVERIFY(gauge.geometry().intersects(bar.panelRect(2)));
    QCOMPARE(gauge.minValue(), 0);
    QCOMPARE(gauge.maxValue(), 100);
    QCOMPARE(gauge.progress(), 0);
    QCOMPARE(gauge.percentText(), u"0%"_s);
}

void TestUnit1Layout::widerWindowWidensOnlyTheLastColumnAndTheGauge()
{
    m_w->form->resize(m_w->form->width() + 100, m_w->form->height());
    QTRY_COMPARE(m_w->form->centralWidget()->width(), 1116);
    QCOMPARE(m_w->ui().columnPanel(0).width(), 217);
    QCOMPARE(m_w->ui().columnPanel(1).width(), 224);
    QCOMPARE(m_w->ui().columnPanel(2).width(), 224);
    QCOMPARE(m_w->ui().columnPanel(3).width(), 451);
    QCOMPARE(m_w->ui().gauge1().width(), 792);
    QCOMPARE(m_w->ui().gauge1().x(), 323);
    QCOMPARE(m_w->ui().rxDBGrid3().width(), 1116);

    m_w->form->resize(m_w->form->width(), m_w->form->height() + 50);
    QTRY_COMPARE(m_w->ui().columnPanel(3).height(), 468);
    QCOMPARE(m_w->ui().rxDBGrid3().height(), 109);
    QCOMPARE(child<Panel>("Panel4")->height(), 46);
}

void TestUnit1Layout::narrowStatusBarHidesTheGaugeUntilWidenedAgain()
{
    m_w->form->setMinimumSize(0, 0);
    m_w->form->centralWidget()->setMinimumSize(0, 0);
    m_w->form->resize(300, m_w->form->height());
    QTRY_COMPARE(m_w->ui().statusBar1().width(), m_w->form->width());
    QVERIFY(m_w->ui().statusBar1().width() < 324);
    QCOMPARE(m_w->ui().gauge1().width(), 0);
    m_w->form->resize(1016, m_w->form->height());
    QTRY_COMPARE(m_w->ui().gauge1().width(), 692);
}

void TestUnit1Layout::menu()
{
    QMenuBar* bar = m_w->form->menuBar();
    QCOMPARE(bar->objectName(), u"MainMenu1"_s);
    const QList<QAction*> top = bar->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0)->text(), u"&File"_s);
    QCOMPARE(top.at(0)->menu()->objectName(), u"File1"_s);
    QCOMPARE(top.at(1), &m_w->ui().exit1());
    QCOMPARE(top.at(1)->objectName(), u"Exit1"_s);
    QCOMPARE(top.at(1)->text(), u"E&xit"_s);

    QStringList names;
    QStringList texts;
    for (const QAction* action : top.at(0)->menu()->actions()) {
        names << action->objectName();
        texts << action->text();
    }
    // the later commands come after the first four, which keep their order
    QCOMPARE(names,
             QStringList({u"ClearContestTable1"_s, u"ImportCallsign1"_s, u"NewCallsign1"_s, u"ExportJournal1"_s,
                          u"Station1"_s, u"ExportCabrillo1"_s, u"ExportADIF1"_s, u"OpenContestFolder1"_s, u"Radio1"_s,
                          u"Messages1"_s, u"RestoreParticipants1"_s}));
    QCOMPARE(texts.first(4),
             QStringList({u"Clear Contest-Table"_s, u"Import Callsign"_s, u"New Callsign"_s, u"Export Journal"_s}));
    QCOMPARE(m_w->ui().newCallsign1().shortcut(), QKeySequence(Qt::Key_Insert));
    const WindowControls ui = m_w->ui();
    for (QAction* action : {&ui.clearContestTable1(), &ui.importCallsign1(), &ui.exportJournal1()}) {
        QVERIFY(action->shortcut().isEmpty());
    }
}

void TestUnit1Layout::menuOpensFromTheKeyboard_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("Alt+F") << QKeySequence(Qt::ALT | Qt::Key_F);
    QTest::newRow("F10") << QKeySequence(Qt::Key_F10);
}

// the File menu opens without the mouse, wherever the focus is in the window
void TestUnit1Layout::menuOpensFromTheKeyboard()
{
    QFETCH(QKeySequence, keys);
    QMenu* file = m_w->form->menuBar()->actions().at(0)->menu();
    m_w->ui().bandGrid(0).setFocus();
    QTest::keySequence(m_w->form.get(), keys);
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
}

QTEST_MAIN(TestUnit1Layout)
#include "test_unit1layout.moc"
