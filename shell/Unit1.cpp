#include "shell/Unit1.h"

#include "contest/BandViews.h"
#include "contest/ContestSession.h"
#include "contest/Prompter.h"
#include "shell/DialogPrompter.h"
#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
#include "shell/RigFollower.h"
#include "shell/StoredFields.h"
#include "shell/WorkProgress.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"
#include "widgets/WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace
{
constexpr int kTimerIntervalMs = 1000;
const QString kCaption = QStringLiteral("Tourlog 1.03 (2006)");
const QString kReadOnlyMark = QStringLiteral(" [read-only]");
const QPoint kDesignPosition(11, 86);
const QSize kDesignClientSize(1016, 592);

// the operator sees which contest folder the window works in
QString folderCaption(const QString& folder)
{
    return kCaption + QStringLiteral(" - ") + QDir::toNativeSeparators(folder);
}
} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , m_ui(buildUnit1Layout(*this))
    , m_dialogPrompter(std::make_unique<DialogPrompter>(this))
    , m_prompter(m_dialogPrompter.get())
    , m_session(new ContestSession(QDir::currentPath(), *m_prompter, *m_clock, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(folderCaption(m_session->database().directory()));
    // the menu bar lies outside the client area on the platform the sizes were drawn for
    move(kDesignPosition);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    // long work in this window's folder shows here, and in no other window
    m_workProgress = new WorkProgress(m_session->database().work(), this);
    m_session->setExchange(m_ui.kiEdit->value(), m_ui.nppEdit->value());
    m_session->setContestNumber(m_ui.contestNumber->value());
    m_session->setTours(m_ui.tours->value());
    bindGrids();
    bindEvents();
    setTabOrder();
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimerIntervalMs);
    bindContestEvents();
    bindExportEvents();
    m_formStorage1 = std::make_unique<FormStorage>(this, storedFields(m_ui));
    m_timer1->start();
    runGuarded(this, [this] { FormCreate(); });
    // the first activation hands the focus to it, which makes 80 m SSB the active band
    m_ui.bandGrids.at(0)->setFocus();
    startRadio();
}

TForm1::~TForm1()
{
    // the radio's thread reports to the controls: it ends before they go
    delete m_rigFollower;
    // the settings store reads the controls for its last save: it goes while they still exist
    m_formStorage1.reset();
    // no grid may take the focus, and so run a handler, while the window is taken apart
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    // the grids' models hold prepared statements of the session's connection: they go first
    delete centralWidget();
    delete m_workProgress;
    delete m_session;
}

Database& TForm1::database()
{
    return m_session->database();
}

void TForm1::setPrompter(Prompter* prompter)
{
    m_prompter = prompter;
    m_session->setPrompter(*prompter);
}

void TForm1::setClock(const Clock* clock)
{
    m_clock = clock;
    m_session->setClock(*clock);
}

const ScoreTotals& TForm1::scoreTotals() const
{
    return m_session->score().totals;
}

void TForm1::bindGrids()
{
    static const std::array<const char*, kBandCount> links = {"DS80", "DS80CW", "DS160", "DS160CW"};
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid* grid = m_ui.bandGrids.at(band);
        TableView* view = &m_session->bandView(band);
        auto* link = new TableViewModel(
            *view, bandGridColumns(band), [this, view](std::exception_ptr error) { reportGridError(*view, error); },
            grid);
        link->setObjectName(QString::fromLatin1(links.at(band)));
        // a change typed in a band grid is a correction: its journal row is written with it
        link->setEditStore([this, band] { showChange(m_session->storeCorrection(band)); });
        grid->setTableModel(link);
        grid->setRowDeleter([this, band](qint64 id) { showChange(m_session->deleteRow(band, id)); },
                            [this, band](qint64 id) { return m_session->describeDeletion(band, id); });
        // a tour change held back by a change that could not be stored follows once it is stored or undone
        connect(view, &TableView::stateChanged, this, [this, band] {
            if (m_session->tourHeldBack(band)) {
                QTimer::singleShot(0, this, [this, band] {
                    if (m_session->tourHeldBack(band)) {
                        runGuarded(this, [this, band] { m_session->showTour(band); });
                    }
                });
            }
        });
    }
    TableView* journal = &m_session->journalView();
    auto* journalLink = new TableViewModel(
        *journal, journalGridColumns(), [this, journal](std::exception_ptr error) { reportGridError(*journal, error); },
        m_ui.rxDBGrid3);
    journalLink->setObjectName(QStringLiteral("DSJournal"));
    m_ui.rxDBGrid3->setTableModel(journalLink);
    m_ui.rxDBGrid3->setRowDeleter([this](qint64 id) { showChange(m_session->deleteRow(-1, id)); },
                                  [this](qint64 id) { return m_session->describeDeletion(-1, id); });
    m_ui.rxDBGrid3->setReadOnly(false);
}

void TForm1::bindEvents()
{
    const auto guarded = [this](auto handler) {
        return [this, handler](auto&&...) { runGuarded(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(m_ui.exit1, &QAction::triggered, this, guarded(&TForm1::Exit1Click));
    for (Panel* panel : m_ui.titlePanels) {
        connect(panel, &Panel::clicked, this,
                [this, panel] { runGuarded(this, [this, panel] { Panel80Click(panel); }); });
    }
    connect(m_ui.bandGrids.at(0), &DataGrid::entered, this, guarded(&TForm1::DBGrid80Enter));
    connect(m_ui.bandGrids.at(1), &DataGrid::entered, this, guarded(&TForm1::DBGrid80CWEnter));
    connect(m_ui.bandGrids.at(2), &DataGrid::entered, this, guarded(&TForm1::DBGrid160Enter));
    connect(m_ui.bandGrids.at(3), &DataGrid::entered, this, guarded(&TForm1::DBGrid160CWEnter));
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->setCellParamsHandler(
            [this](DataGrid& sender, const QString& field, int row, CellParams& params, bool highlight) {
                DBGrid80GetCellParams(sender, field, row, params, highlight);
            });
    }
    m_ui.rxDBGrid3->setCellParamsHandler(
        [this](DataGrid& sender, const QString& field, int row, CellParams& params, bool highlight) {
            RxDBGrid3GetCellParams(sender, field, row, params, highlight);
        });
    connect(m_ui.tour, &QSpinBox::valueChanged, this, guarded(&TForm1::TourChange));
    connect(m_ui.editing, &QCheckBox::toggled, this, guarded(&TForm1::EditingClick));
    connect(m_ui.statusBar1, &PanelStatusBar::resized, this, guarded(&TForm1::StatusBar1Resize));
    // a passing notice stands where the gauge is, for as long as it shows
    Gauge* gauge = m_ui.gauge1;
    connect(m_ui.statusBar1, &QStatusBar::messageChanged, gauge,
            [gauge](const QString& notice) { gauge->setVisible(notice.isEmpty()); });
}

void TForm1::setTabOrder()
{
    const std::array<QWidget*, 15> order = {
        m_ui.bandGrids.at(0), m_ui.bandGrids.at(3), m_ui.kiEdit,
        m_ui.nppEdit,         m_ui.tours,           m_ui.tour,
        m_ui.tourMinutes,     m_ui.begDate,         m_ui.begTime,
        m_ui.editing,         m_ui.contestNumber,   m_ui.autoChangeTour,
        m_ui.rxDBGrid3,       m_ui.bandGrids.at(1), m_ui.bandGrids.at(2),
    };
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}

void TForm1::reportGridError(const TableView& view, std::exception_ptr error)
{
    const bool explained = m_session->explainedByDamage(view.tableName(), error);
    showFileCheck();
    if (!explained) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            reportCurrentException(this);
        }
    }
}

void TForm1::showFileCheck()
{
    const QString report = m_session->takeFileCheckReport();
    if (!report.isEmpty()) {
        showErrorBox(this, report);
    }
}

void TForm1::FormCreate()
{
    // the band views open once, on the tour the saved settings are about to restore
    const int tour = m_formStorage1->wholeNumberToRestore(m_ui.tour->objectName()).value_or(m_ui.tour->value());
    const SessionOpening opening = m_session->open(std::clamp(tour, m_ui.tour->minimum(), m_ui.tour->maximum()));
    if (m_session->database().folderIsReadOnly()) {
        setWindowTitle(folderCaption(m_session->database().directory()) + kReadOnlyMark);
    }
    if (!opening.notice.isEmpty()) {
        // told once the window is up, through whichever prompter is set by then
        QTimer::singleShot(0, this, [this, text = opening.notice] { m_prompter->showMessage(text); });
    }
    showFileCheck();
    showScore();
    if (!opening.failures.isEmpty()) {
        throw StoreError(opening.failures);
    }
}

void TForm1::FormClose()
{
    m_session->close();
}

void TForm1::FormResize()
{
    // the layout follows the window's size by itself
}

void TForm1::Exit1Click()
{
    close();
}

int TForm1::activeBand() const
{
    std::array<int, kBandCount> marks{};
    for (int band = 0; band < kBandCount; ++band) {
        marks.at(band) = m_ui.titlePanels.at(band)->tag();
    }
    return activeBandIndex(marks);
}

void TForm1::Panel80Click(Panel* sender)
{
    for (Panel* panel : m_ui.titlePanels) {
        panel->setBackground(buttonFace());
        panel->setCaptionColor(QColor::fromRgb(BandColour::kInactiveCaption));
        panel->setTag(0);
    }
    sender->setBackground(QColor::fromRgb(BandColour::kActivePanel));
    sender->setCaptionColor(QColor::fromRgb(BandColour::kActiveCaption));
    sender->setTag(1);
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->viewport()->update();
    }
    const auto it = std::find(m_ui.titlePanels.cbegin(), m_ui.titlePanels.cend(), sender);
    if (it != m_ui.titlePanels.cend()) {
        m_ui.bandGrids.at(size_t(it - m_ui.titlePanels.cbegin()))->setFocus();
    }
}

void TForm1::DBGrid80Enter()
{
    Panel80Click(m_ui.titlePanels.at(0));
}

void TForm1::DBGrid80CWEnter()
{
    Panel80Click(m_ui.titlePanels.at(1));
}

void TForm1::DBGrid160Enter()
{
    Panel80Click(m_ui.titlePanels.at(2));
}

void TForm1::DBGrid160CWEnter()
{
    Panel80Click(m_ui.titlePanels.at(3));
}

void TForm1::TourChange()
{
    const int tourNumber = m_ui.tour->value();
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->setColumnHidden(kTourNumberColumn, tourNumber != 0);
    }
    // The row being changed would leave its view: the change is stored first. One that cannot be stored
    // keeps its view on its rows until the operator mends or undoes it.
    storePendingEdits();
    m_session->setTour(tourNumber);
}

bool TForm1::storePendingEdits()
{
    bool stored = true;
    for (DataGrid* grid : m_ui.bandGrids) {
        stored = grid->storePendingEdit() && stored;
    }
    return stored;
}

void TForm1::EditingClick()
{
    const bool editMode = m_ui.editing->isChecked();
    const QString refusal = editMode ? m_session->contactsRefusal() : QString();
    if (!refusal.isEmpty()) {
        showErrorBox(this, refusal);
        m_ui.editing->setChecked(false);
        return;
    }
    // what was typed in edit mode is stored as a correction before the mode ends
    if (!editMode && !storePendingEdits()) {
        m_ui.editing->setChecked(true);
        return;
    }
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->setReadOnly(!editMode);
        grid->setInPlaceEditing(editMode);
    }
}

void TForm1::DBGrid80GetCellParams(DataGrid& sender, const QString&, int row, CellParams& params, bool highlight)
{
    const auto grid = std::find(m_ui.bandGrids.cbegin(), m_ui.bandGrids.cend(), &sender);
    if (grid == m_ui.bandGrids.cend()) {
        return;
    }
    const auto band = size_t(grid - m_ui.bandGrids.cbegin());
    const TableView& view = m_session->bandView(int(band));
    QVariant time;
    try {
        time = view.valueAt(row, view.fieldIndex(kFieldTime));
    } catch (...) {
        // painting goes on; the grid's own read of the row reports the failure
    }
    const BandCellLook look = bandCellLook(m_ui.titlePanels.at(band)->tag() == 1, isWorked(time), highlight);
    params.text = QColor::fromRgb(look.text);
    if (look.background) {
        params.background = QColor::fromRgb(*look.background);
    }
    params.font.setBold(look.bold);
}

void TForm1::RxDBGrid3GetCellParams(DataGrid&, const QString&, int, CellParams& params, bool highlight)
{
    if (highlight) {
        params.font.setBold(true);
    }
}

void TForm1::StatusBar1Resize()
{
    const QRect gauge = m_ui.gauge1->geometry();
    m_ui.gauge1->setGeometry(gauge.left(), gauge.top(), std::max(0, m_ui.statusBar1->width() - kGaugeRightMargin),
                             gauge.height());
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        runGuarded(this, [this] { m_formStorage1->restore(); });
        runGuarded(this, [this] { m_ui.nppEdit->setValue(m_session->serialPastJournal()); });
        // the quick check reads every page of every table file: it runs once the window is there
        QTimer::singleShot(0, this, [this] {
            runGuarded(this, [this] {
                m_session->checkTableFiles();
                showFileCheck();
            });
        });
    }
    QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // a change typed in a grid is stored before the window goes; one that cannot be keeps the window open
    if (!m_closed && !storePendingEdits()) {
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        runGuarded(this, [this] { m_formStorage1->save(); });
        runGuarded(this, [this] { FormClose(); });
        m_rigFollower->stop();
    }
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}
