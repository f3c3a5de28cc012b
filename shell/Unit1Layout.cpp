#include "shell/Unit1Layout.h"

#include "store/TableNames.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/DigitalClock.h"
#include "widgets/FixedBlankLabel.h"
#include "widgets/Gauge.h"
#include "widgets/LeftAlignedLayout.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"
#include "widgets/WindowLook.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace
{
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kSendTextBackground(0xF0, 0xFB, 0xFF);

constexpr int kTopBarHeight = 46;
constexpr int kJournalHeight = 109;
constexpr int kStatusBarHeight = 19;
constexpr int kTitlePanelHeight = 41;
constexpr int kLargeFontPixels = 24;
constexpr int kGaugeTop = 1;
constexpr int kGaugeHeight = 18;
constexpr int kGaugeDesignWidth = 450;
// the fields of the tour row stand in the gaps of its label, which were drawn with blanks this wide
constexpr qreal kLabel7BlankWidth = 4;
// the radio's state stands right of the contest fields, where the contest area is empty
constexpr int kRadioLabelGap = 12;
constexpr int kRadioLabelWidth = 220;

template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel* styledTopBarLabel(QLabel* label, const char* name, int x, int y)
{
    named(label, name);
    label->setFont(windowFont(11, true));
    setColour(label, QPalette::WindowText, kNavy);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel* topBarLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    return styledTopBarLabel(new QLabel(text, parent), name, x, y);
}

SpinField* spinField(QWidget* parent, const char* name, const QRect& geometry, int value)
{
    auto* field = named(new SpinField(parent), name);
    field->setFont(windowFont(11, true));
    setColour(field, QPalette::Base, toolTipBackground());
    setColour(field, QPalette::Text, kBlue);
    field->setGeometry(geometry);
    field->setValue(value);
    return field;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, const QRect& geometry, bool checked)
{
    auto* box = named(new QCheckBox(text, parent), name);
    box->setFont(windowFont());
    setColour(box, QPalette::WindowText, kNavy);
    setColour(box, QPalette::ButtonText, kNavy);
    // a substitute font may need more room than the caption had; the box never gets narrower
    box->setGeometry(geometry.adjusted(0, 0, std::max(0, box->sizeHint().width() - geometry.width()), 0));
    box->setChecked(checked);
    return box;
}

Panel* largeTextPanel(QWidget* parent, const char* name, int width)
{
    auto* panel = named(new Panel(parent), name);
    panel->setBevels(Panel::Bevel::Raised, Panel::Bevel::Lowered);
    panel->setFont(windowFont(kLargeFontPixels, true));
    panel->setCaptionColor(kBlue);
    panel->setFixedWidth(width);
    return panel;
}

void buildPanel6(Unit1Controls& ui)
{
    QWidget* panel = ui.panel6;
    ui.label1 = topBarLabel(panel, "Label1", QStringLiteral("KI:"), 5, 7);
    ui.label2 = topBarLabel(panel, "Label2", QStringLiteral("№:"), 5, 26);
    ui.kiEdit = spinField(panel, "KIEdit", QRect(25, 2, 41, 21), 22);
    ui.kiEdit->setAlignment(Qt::AlignCenter);
    ui.nppEdit = spinField(panel, "NppEdit", QRect(25, 23, 49, 21), 1);
    // a serial below 1 would be sent as "0-5", and a keyer may take the "-" as a command
    ui.nppEdit->setMinimum(1);
    ui.nppEdit->setAlignment(Qt::AlignRight);
}

void buildPanel7(Unit1Controls& ui)
{
    QWidget* panel = ui.panel7;
    ui.label6 = topBarLabel(panel, "Label6", QStringLiteral("Contest:"), 11, 5);
    ui.label4 = topBarLabel(panel, "Label4", QStringLiteral("Begin:"), 115, 5);
    // the three spin fields of the second row stand in the gaps between the label's words
    ui.label7 = styledTopBarLabel(new FixedBlankLabel(QStringLiteral("Tour") + QString(12, u' ') + QStringLiteral("of")
                                                          + QString(12, u' ') + QStringLiteral("by") + QString(13, u' ')
                                                          + QStringLiteral("minutes"),
                                                      kLabel7BlankWidth, panel),
                                  "Label7", 11, 26);
    ui.contestNumber = spinField(panel, "ContestNumber", QRect(72, 2, 36, 21), 1);

    ui.begDate = named(new DateField(panel), "BegDate");
    ui.begDate->setFont(windowFont());
    setColour(ui.begDate, QPalette::Base, toolTipBackground());
    ui.begDate->setGeometry(160, 2, 70, 19);
    ui.begDate->setDate(QDate(2006, 10, 22));

    ui.begTime = named(new TimePicker(panel), "BegTime");
    ui.begTime->setFont(windowFont());
    setColour(ui.begTime, QPalette::Base, toolTipBackground());
    ui.begTime->setGeometry(235, 2, 68, 19);
    ui.begTime->setDatePart(QDate(2006, 10, 17));
    ui.begTime->setTime(QTime(16, 43, 19, 878));

    ui.autoChangeTour = checkBox(panel, "AutoChangeTour", QStringLiteral("AutoChange Tour"), QRect(309, 5, 108, 17),
                                 true);
    ui.tour = spinField(panel, "Tour", QRect(44, 22, 36, 21), 0);
    ui.tours = spinField(panel, "Tours", QRect(104, 23, 36, 21), 8);
    ui.tourMinutes = spinField(panel, "TourMinutes", QRect(165, 23, 42, 21), 30);
    // with a font wider than the one the row was laid out for (Arial's metric twin, say), a word moves aside
    static_cast<FixedBlankLabel*>(ui.label7)->keepClearOf(
        {ui.tour->geometry(), ui.tours->geometry(), ui.tourMinutes->geometry()});
    ui.editing = checkBox(panel, "Editing", QStringLiteral("Edit Enabled"), QRect(264, 24, 97, 17), false);
    const int fieldsRight = std::max(ui.autoChangeTour->geometry().right(), ui.editing->geometry().right());
    ui.radioLabel = topBarLabel(panel, "RadioLabel", QString(), fieldsRight + kRadioLabelGap, 5);
    ui.radioLabel->resize(kRadioLabelWidth, ui.radioLabel->height());
    ui.radioLabel->hide();
}

Panel* buildTopBar(Unit1Controls& ui, QWidget* parent)
{
    ui.panel4 = named(new Panel(parent), "Panel4");
    ui.panel4->setBevels(Panel::Bevel::Raised);
    ui.panel4->setFixedHeight(kTopBarHeight);
    auto* row = new LeftAlignedLayout(ui.panel4);
    const int bevel = ui.panel4->bevelWidth();
    row->setContentsMargins(bevel, bevel, bevel, bevel);

    ui.rxClock1 = named(new DigitalClock(ui.panel4), "RxClock1");
    ui.rxClock1->setBevels(Panel::Bevel::Raised, Panel::Bevel::Lowered);
    ui.rxClock1->setFont(windowFont(kLargeFontPixels, true));
    ui.rxClock1->setCaptionColor(kBlue);
    ui.rxClock1->setFixedWidth(136);

    ui.panel6 = named(new Panel(ui.panel4), "Panel6");
    ui.panel6->setFixedWidth(80);
    buildPanel6(ui);

    ui.sendTextPanel = largeTextPanel(ui.panel4, "SendTextPanel", 104);
    ui.sendTextPanel->setCaption(QStringLiteral("22 001"));
    ui.sendTextPanel->setBackground(kSendTextBackground);

    ui.panel7 = named(new Panel(ui.panel4), "Panel7");
    buildPanel7(ui);

    for (QWidget* child : std::initializer_list<QWidget*>{ui.rxClock1, ui.panel6, ui.sendTextPanel, ui.panel7}) {
        row->addWidget(child);
    }
    return ui.panel4;
}

struct BandColumnDesign
{
    const char* column;
    const char* title;
    const char* grid;
    int width; // 0: takes the remaining width
    int tag;
};

constexpr std::array<BandColumnDesign, kBandCount> kBandColumns = {{
    {"Panel1", "Panel80", "DBGrid80", 217, 1},
    {"Panel3", "Panel80CW", "DBGrid80CW", 224, 1},
    {"Panel9", "Panel160", "DBGrid160", 224, 1},
    {"Panel2", "Panel160CW", "DBGrid160CW", 0, 0},
}};

QWidget* buildBandColumns(Unit1Controls& ui, QWidget* parent)
{
    auto* area = new QWidget(parent);
    auto* row = new LeftAlignedLayout(area);
    for (int band = 0; band < kBandCount; ++band) {
        const BandColumnDesign& design = kBandColumns.at(band);
        Panel* column = named(new Panel(area), design.column);
        auto* stack = new QVBoxLayout(column);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(0);

        Panel* title = named(new Panel(column), design.title);
        title->setBevels(Panel::Bevel::Raised);
        title->setFixedHeight(kTitlePanelHeight);
        title->setFont(windowFont(kLargeFontPixels, true));
        title->setCaption(bandViews().at(band).caption);
        title->setTag(design.tag);
        // only the first band is drawn active at design time, whatever the other marks say
        title->setBackground(band == 0 ? QColor::fromRgb(BandColour::kActivePanel) : QColor());
        title->setCaptionColor(QColor::fromRgb(band == 0 ? BandColour::kActiveCaption : BandColour::kInactiveCaption));

        DataGrid* grid = named(new DataGrid(column), design.grid);
        stack->addWidget(title);
        stack->addWidget(grid);
        if (design.width > 0) {
            column->setFixedWidth(design.width);
        }
        row->addWidget(column);
        ui.columnPanels.at(band) = column;
        ui.titlePanels.at(band) = title;
        ui.bandGrids.at(band) = grid;
    }
    return area;
}

void buildStatusBar(Unit1Controls& ui, QMainWindow& window)
{
    ui.statusBar1 = named(new PanelStatusBar(&window), "StatusBar1");
    ui.statusBar1->setFixedHeight(kStatusBarHeight);
    ui.statusBar1->setPanels({
        {70, Qt::AlignHCenter, QString()},
        {250, Qt::AlignHCenter, QStringLiteral("СВ=0  КР=0(0)  РН=0(0)  Всего=0")},
        {50, Qt::AlignLeft, QString()},
    });
    window.setStatusBar(ui.statusBar1);
    ui.gauge1 = named(new Gauge(ui.statusBar1), "Gauge1");
    ui.gauge1->setGeometry(kGaugeLeft, kGaugeTop, kGaugeDesignWidth, kGaugeHeight);
}

void buildMenu(Unit1Controls& ui, QMainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // the captions read as before; Alt+F and Alt+X reach them from the keyboard
    ui.file1 = named(bar->addMenu(QStringLiteral("&File")), "File1");
    ui.clearContestTable1 = named(ui.file1->addAction(QStringLiteral("Clear Contest-Table")), "ClearContestTable1");
    ui.importCallsign1 = named(ui.file1->addAction(QStringLiteral("Import Callsign")), "ImportCallsign1");
    ui.newCallsign1 = named(ui.file1->addAction(QStringLiteral("New Callsign")), "NewCallsign1");
    ui.exportJournal1 = named(ui.file1->addAction(QStringLiteral("Export Journal")), "ExportJournal1");
    // the exports follow the report's own export; the folder and the radio come after them
    ui.station1 = named(ui.file1->addAction(QStringLiteral("Station...")), "Station1");
    ui.exportCabrillo1 = named(ui.file1->addAction(QStringLiteral("Export Cabrillo...")), "ExportCabrillo1");
    ui.exportADIF1 = named(ui.file1->addAction(QStringLiteral("Export ADIF...")), "ExportADIF1");
    ui.openContestFolder1 = named(ui.file1->addAction(QStringLiteral("Open Contest Folder...")), "OpenContestFolder1");
    ui.openContestFolder1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    window.addAction(ui.openContestFolder1);
    ui.radio1 = named(ui.file1->addAction(QStringLiteral("Radio...")), "Radio1");
    // added to the menu's end once every other File item is in it
    ui.restoreParticipants1 = named(new QAction(QStringLiteral("Restore Participants..."), &window),
                                    "RestoreParticipants1");
    ui.exit1 = named(bar->addAction(QStringLiteral("E&xit")), "Exit1");
    // F10 opens the first menu, as on other desktop programs
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(menuKey, &QShortcut::activated, bar,
                     [bar, file = ui.file1] { bar->setActiveAction(file->menuAction()); });
    // on the window as well, so that Ins reaches it wherever the focus is, before the focused control
    ui.newCallsign1->setShortcut(QKeySequence(Qt::Key_Insert));
    window.addAction(ui.newCallsign1);
}

void setTabOrder(const Unit1Controls& ui)
{
    const std::array<QWidget*, 15> order = {
        ui.bandGrids.at(0), ui.bandGrids.at(3), ui.kiEdit,          ui.nppEdit, ui.tours,         ui.tour,
        ui.tourMinutes,     ui.begDate,         ui.begTime,         ui.editing, ui.contestNumber, ui.autoChangeTour,
        ui.rxDBGrid3,       ui.bandGrids.at(1), ui.bandGrids.at(2),
    };
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}
} // namespace

Unit1Controls buildUnit1Layout(QMainWindow& window)
{
    Unit1Controls ui;
    window.setFont(windowFont());
    buildMenu(ui, window);

    auto* central = new QWidget(&window);
    auto* stack = new QVBoxLayout(central);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(buildTopBar(ui, central));
    stack->addWidget(buildBandColumns(ui, central), 1);
    ui.rxDBGrid3 = named(new DataGrid(central), "RxDBGrid3");
    ui.rxDBGrid3->setFixedHeight(kJournalHeight);
    ui.rxDBGrid3->setCellTextColor(kNavy);
    stack->addWidget(ui.rxDBGrid3);
    window.setCentralWidget(central);

    buildStatusBar(ui, window);
    setTabOrder(ui);
    return ui;
}

namespace
{
GridColumn sized(const QString& field, int width)
{
    return GridColumn{field, width, Qt::AlignCenter, QString()};
}

GridColumn fitted(const QString& field, const char* sample, Qt::Alignment titleAlignment = Qt::AlignCenter)
{
    return GridColumn{field, 0, titleAlignment, QString::fromLatin1(sample)};
}
} // namespace

QList<GridColumn> bandGridColumns(int band)
{
    struct Widths
    {
        int callSign, time, sent, received, tour;
    };
    static constexpr std::array<Widths, kBandCount> widths = {{
        {54, 50, 37, 38, 23},
        {57, 48, 36, 40, 24},
        {58, 51, 37, 34, 21},
        {58, 49, 36, 37, 22},
    }};
    const Widths& w = widths.at(band);
    return {
        sized(kFieldCallSign, w.callSign), sized(kFieldTime, w.time),       sized(kFieldSentText, w.sent),
        sized(kFieldRecvText, w.received), sized(kFieldTourNumber, w.tour),
    };
}

QList<GridColumn> journalGridColumns()
{
    return {
        fitted(kFieldDate, "22.10.06"),        fitted(kFieldTime, "16:43:19"),   sized(kFieldContestNumber, 49),
        sized(kFieldTourNumber, 46),           sized(kFieldDiapasone, 59),       fitted(kFieldModulation, "SSB"),
        fitted(kFieldCallSign, "UA9ABC/P"),    fitted(kFieldSentText, "22 001"), fitted(kFieldRecvText, "22 001"),
        fitted(kFieldKi, "22", Qt::AlignLeft), sized(kFieldCommentary, 220),
    };
}
