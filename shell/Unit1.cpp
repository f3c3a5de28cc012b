#include "shell/Unit1.h"

#include "contest/ContestSession.h"
#include "contest/LogExport.h"
#include "contest/Prompter.h"
#include "contest/TourClock.h"
#include "shell/AppTitle.h"
#include "shell/BandMarks.h"
#include "shell/CallsignSearch.h"
#include "shell/ContestFile.h"
#include "shell/CwSender.h"
#include "shell/DialogPrompter.h"
#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
#include "shell/LogExportDialogs.h"
#include "shell/ParticipantCopiesDialog.h"
#include "shell/RadioBandFollower.h"
#include "shell/StationSettings.h"
#include "shell/StoredFields.h"
#include "shell/WorkProgress.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

namespace
{
constexpr int kTimerIntervalMs = 1000;
constexpr int kTourPanel = 0;
constexpr int kScorePanel = 1;
constexpr int kNoticeMs = 60000;
const QPoint kDesignPosition(11, 86);
const QSize kDesignClientSize(1016, 592);
} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , m_ui(buildUnit1Layout(*this))
    , m_dialogPrompter(std::make_unique<DialogPrompter>(this))
    , m_prompter(m_dialogPrompter.get())
    , m_session(new ContestSession(QDir::currentPath(), *m_prompter, *m_clock, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption(m_session->database().directory(), false));
    // the menu bar lies outside the client area on the platform the sizes were drawn for
    move(kDesignPosition);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    // long work in this window's folder shows here, and in no other window
    m_workProgress = new WorkProgress(m_session->database().work(), this);
    m_session->setExchange(m_ui.kiEdit->value(), m_ui.nppEdit->value());
    m_session->setContestNumber(m_ui.contestNumber->value());
    m_session->setTours(m_ui.tours->value());
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimerIntervalMs);
    bindGrids();
    bindEvents();
    m_contestFile = std::make_unique<ContestFile>(m_session->database().directory(), storedFields(m_ui),
                                                  !m_session->database().folderIsReadOnly());
    m_formStorage1 = std::make_unique<FormStorage>(this, storedFields(m_ui));
    m_formStorage1->setContestFile(m_contestFile.get());
    m_timer1->start();
    runGuarded(this, [this] { FormCreate(); });
    // the first activation hands the focus to it, which makes 80 m SSB the active band
    m_ui.bandGrids.at(0)->setFocus();
    m_radio = new RadioBandFollower(*m_ui.radioLabel, m_ui.bandGrids, *m_workProgress, this);
    connect(m_radio, &RadioBandFollower::bandChosen, this,
            [this](int band) { Panel80Click(m_ui.titlePanels.at(band)); });
    m_cw = new CwSender(*m_session, m_ui.bandGrids, *m_ui.radioLabel, *m_ui.statusBar1, *m_ui.file1,
                        m_radio->rigFollower(), this);
    m_ui.file1->addAction(m_ui.restoreParticipants1);
}

TForm1::~TForm1()
{
    // the keyer may send through the radio's connection: it goes first
    delete m_cw;
    // the radio's thread reports to the controls: it ends before they go
    delete m_radio;
    // the settings store reads the controls for its last save: it goes while they still exist, and before
    // the contest file it writes
    m_formStorage1.reset();
    m_contestFile.reset();
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
    // band -1 is the journal grid
    const auto bind = [this](DataGrid* grid, TableView& view, const QList<GridColumn>& columns, const char* link,
                             int band) {
        auto* model = new TableViewModel(
            view, columns, [this, &view](std::exception_ptr error) { reportGridError(view, error); }, grid);
        model->setObjectName(QString::fromLatin1(link));
        grid->setTableModel(model);
        grid->setRowDeleter([this, band](qint64 id) { showChange(m_session->deleteRow(band, id)); },
                            [this, band](qint64 id) { return m_session->describeDeletion(band, id); });
        return model;
    };
    static const std::array<const char*, kBandCount> links = {"DS80", "DS80CW", "DS160", "DS160CW"};
    for (int band = 0; band < kBandCount; ++band) {
        TableView* view = &m_session->bandView(band);
        // a change typed in a band grid is a correction: its journal row is written with it
        bind(m_ui.bandGrids.at(band), *view, bandGridColumns(band), links.at(band), band)->setEditStore([this, band] {
            showChange(m_session->storeCorrection(band));
        });
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
    bind(m_ui.rxDBGrid3, m_session->journalView(), journalGridColumns(), "DSJournal", -1);
    m_ui.rxDBGrid3->setReadOnly(false);
}

void TForm1::bindEvents()
{
    const auto guarded = [this](auto handler) {
        return [this, handler](auto&&...) { runGuarded(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(m_ui.exit1, &QAction::triggered, this, guarded(&TForm1::Exit1Click));
    connect(m_session, &ContestSession::tableFilesChecked, this, &TForm1::showFileCheck);
    connect(m_ui.radio1, &QAction::triggered, this, guarded(&TForm1::Radio1Click));
    for (Panel* panel : m_ui.titlePanels) {
        connect(panel, &Panel::clicked, this,
                [this, panel] { runGuarded(this, [this, panel] { Panel80Click(panel); }); });
    }
    connect(m_ui.bandGrids.at(0), &DataGrid::entered, this, guarded(&TForm1::DBGrid80Enter));
    connect(m_ui.bandGrids.at(1), &DataGrid::entered, this, guarded(&TForm1::DBGrid80CWEnter));
    connect(m_ui.bandGrids.at(2), &DataGrid::entered, this, guarded(&TForm1::DBGrid160Enter));
    connect(m_ui.bandGrids.at(3), &DataGrid::entered, this, guarded(&TForm1::DBGrid160CWEnter));
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->setCellParamsHandler(std::bind_front(&TForm1::DBGrid80GetCellParams, this));
        connect(grid, &DataGrid::keyDown, this, [this](int key, Qt::KeyboardModifiers shift) {
            runGuarded(this, [&] { DBGrid80KeyDown(key, shift); });
        });
    }
    m_ui.rxDBGrid3->setCellParamsHandler(std::bind_front(&TForm1::RxDBGrid3GetCellParams, this));
    QList<DataGrid*> searchedGrids(m_ui.bandGrids.begin(), m_ui.bandGrids.end());
    new CallsignSearch(searchedGrids << m_ui.rxDBGrid3, *m_ui.statusBar1, this);
    connect(m_ui.tour, &QSpinBox::valueChanged, this, guarded(&TForm1::TourChange));
    connect(m_ui.editing, &QCheckBox::toggled, this, guarded(&TForm1::EditingClick));
    connect(m_ui.statusBar1, &PanelStatusBar::resized, this, guarded(&TForm1::StatusBar1Resize));
    // a passing notice stands where the gauge is, for as long as it shows
    Gauge* gauge = m_ui.gauge1;
    connect(m_ui.statusBar1, &QStatusBar::messageChanged, gauge,
            [gauge](const QString& notice) { gauge->setVisible(notice.isEmpty()); });
    connect(m_ui.kiEdit, &QSpinBox::valueChanged, this, guarded(&TForm1::KIEditChange));
    connect(m_ui.nppEdit, &QSpinBox::valueChanged, this, guarded(&TForm1::KIEditChange));
    connect(m_ui.contestNumber, &QSpinBox::valueChanged, this, guarded(&TForm1::ContestNumberChange));
    connect(m_ui.tours, &QSpinBox::valueChanged, this, [this](int tours) { m_session->setTours(tours); });
    connect(m_ui.newCallsign1, &QAction::triggered, this, guarded(&TForm1::NewCallsign1Click));
    connect(m_ui.importCallsign1, &QAction::triggered, this, guarded(&TForm1::ImportCallsign1Click));
    connect(m_ui.clearContestTable1, &QAction::triggered, this, guarded(&TForm1::ClearContestTable1Click));
    connect(m_ui.restoreParticipants1, &QAction::triggered, this, guarded(&TForm1::RestoreParticipants1Click));
    connect(m_ui.exportJournal1, &QAction::triggered, this, guarded(&TForm1::ExportJournal1Click));
    connect(m_timer1, &QTimer::timeout, this, guarded(&TForm1::Timer1Timer));
    connect(m_ui.station1, &QAction::triggered, this, guarded(&TForm1::Station1Click));
    connect(m_ui.exportCabrillo1, &QAction::triggered, this, guarded(&TForm1::ExportCabrillo1Click));
    connect(m_ui.exportADIF1, &QAction::triggered, this, guarded(&TForm1::ExportADIF1Click));
}

void TForm1::reportGridError(const TableView& view, std::exception_ptr error)
{
    const bool explained = m_session->explainedByDamage(view.tableName(), error);
    showFileCheck();
    if (!explained) {
        runGuarded(this, [error] { std::rethrow_exception(error); });
    }
}

void TForm1::showFileCheck()
{
    if (const QString report = m_session->takeFileCheckReport(); !report.isEmpty()) {
        showErrorBox(this, report);
    }
}

void TForm1::FormCreate()
{
    // the band views open once, on the tour the saved settings are about to restore
    const QString tourName = m_ui.tour->objectName();
    const int tour = m_contestFile->exists()
        ? m_contestFile->wholeNumberToRestore(tourName).value_or(m_ui.tour->value())
        : m_formStorage1->wholeNumberToRestore(tourName).value_or(m_ui.tour->value());
    const SessionOpening opening = m_session->open(std::clamp(tour, m_ui.tour->minimum(), m_ui.tour->maximum()));
    m_newFolder = opening.newFolder;
    setWindowTitle(windowCaption(m_session->database().directory(), m_session->database().folderIsReadOnly()));
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

void TForm1::Radio1Click()
{
    m_radio->chooseRadio();
}

int TForm1::activeBand() const
{
    return markedBand(m_ui);
}

void TForm1::Panel80Click(Panel* sender)
{
    markBand(m_ui, sender);
    // the radio's own moves come here too: the follower tunes only a radio on another column
    if (m_radio) {
        m_radio->columnChosen(markedBand(m_ui));
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
    if (const int band = bandOfGrid(m_ui, sender); band >= 0) {
        paintBandCell(m_ui, band, m_session->bandView(band), row, params, highlight);
    }
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
        runGuarded(this, [this] { restoreContest(); });
        runGuarded(this, [this] { m_ui.nppEdit->setValue(m_session->serialPastJournal()); });
        saveContestValuesOnChange();
        // the quick check reads every page of every table file: it starts once the window is there
        QTimer::singleShot(0, this, [this] { runGuarded(this, [this] { m_session->startTableChecks(); }); });
    }
    QMainWindow::showEvent(event);
}

void TForm1::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (!std::exchange(m_drawn, true)) {
        // the score and the rows read ahead for the first contact wait until the operator sees the window
        QTimer::singleShot(0, this, [this] {
            runGuarded(this, [this] {
                m_session->finishStartUp();
                showScore();
            });
        });
    }
}

// Not only at close or after a contact: a crash before the first contact would bring the old schedule back, and
// an import would build matrices with the old number of tours. The serial is saved after every contact.
void TForm1::saveContestValuesOnChange()
{
    const auto save = [this] {
        runGuarded(this, [this] {
            if (const QString failure = m_formStorage1->saveContestValues(); !failure.isEmpty()) {
                showErrorBox(this, failure);
            }
        });
    };
    for (QSpinBox* field :
         std::initializer_list<QSpinBox*>{m_ui.tour, m_ui.tours, m_ui.tourMinutes, m_ui.contestNumber}) {
        connect(field, &QSpinBox::valueChanged, this, save);
    }
    connect(m_ui.autoChangeTour, &QCheckBox::toggled, this, save);
    connect(m_ui.begDate, &QDateTimeEdit::dateChanged, this, save);
    connect(m_ui.begTime, &QDateTimeEdit::timeChanged, this, save);
}

void TForm1::restoreContest()
{
    if (m_contestFile->restore()) {
        return;
    }
    // A folder of an older Tourlog goes on with what the settings file gave it, once. A new one never sends
    // the last contest's serial: the operator sees the rest before the first contact.
    if (m_newFolder) {
        m_ui.nppEdit->setValue(1);
        m_ui.statusBar1->showMessage(QStringLiteral("A new contest: the serial starts at 001. Check Contest, Begin, "
                                                    "the start time, Tours and the tour length."),
                                     kNoticeMs);
    }
    m_contestFile->save();
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
        m_radio->stop();
    }
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::DBGrid80KeyDown(int key, Qt::KeyboardModifiers)
{
    const int band = activeBand();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || band < 0) {
        return;
    }
    // the entry prompt may send the exchange in CW as it opens
    CwEntryPrompter entryPrompter(*m_cw, band, *m_prompter);
    m_session->setPrompter(entryPrompter);
    const auto restorePrompter = qScopeGuard([this] { m_session->setPrompter(*m_prompter); });
    const SessionChange change = m_session->enterContact(band, m_ui.titlePanels.at(band)->caption(),
                                                         m_ui.editing->isChecked(), m_radio->reading());
    showChange(change);
    if (change.journalChanged) {
        // the serial survives a crash: the settings are saved after every contact
        m_ui.nppEdit->setValue(m_session->values().serial);
        if (const QString failure = m_formStorage1->saveAfterContact(); !failure.isEmpty()) {
            showErrorBox(this, failure);
        }
    }
}

void TForm1::KIEditChange()
{
    m_session->setExchange(m_ui.kiEdit->value(), m_ui.nppEdit->value());
    m_ui.sendTextPanel->setCaption(sentExchange(m_session->values()));
}

void TForm1::ContestNumberChange()
{
    m_session->setContestNumber(m_ui.contestNumber->value());
    UpdateScore();
}

void TForm1::UpdateScore()
{
    m_session->updateScore();
    showScore();
}

void TForm1::showScore()
{
    // blank while start-up has not counted it: the design's zeros would pass for the contest's score
    m_ui.statusBar1->setPanelText(kScorePanel,
                                  m_session->scoreCounted() ? scoreStatusText(m_session->score()) : QString());
}

void TForm1::showChange(const SessionChange& change)
{
    if (change.journalChanged) {
        showScore();
    }
    if (!change.notice.isEmpty()) {
        m_ui.statusBar1->showMessage(change.notice, kNoticeMs);
    }
    if (!change.reportFailure.isEmpty()) {
        showErrorBox(this, change.reportFailure);
    }
    if (!change.message.isEmpty()) {
        m_prompter->showMessage(change.message);
    }
}

void TForm1::ExportJournal1Click()
{
    m_session->exportJournal();
    showScore();
}

void TForm1::NewCallsign1Click()
{
    // the command closes the band views: a change typed in one is stored first
    if (storePendingEdits()) {
        m_session->newCallsign();
    }
}

void TForm1::ImportCallsign1Click()
{
    if (storePendingEdits()) {
        m_session->importCallsign();
    }
}

void TForm1::ClearContestTable1Click()
{
    if (storePendingEdits()) {
        showChange(m_session->clearContestTable());
    }
}

void TForm1::RestoreParticipants1Click()
{
    if (!storePendingEdits()) {
        return;
    }
    const QList<ParticipantCopy> copies = m_session->participantCopies();
    if (copies.isEmpty()) {
        m_prompter->showMessage(QStringLiteral("There is no copy of the participants in backup/ to restore: "
                                               "Clear Contest-Table makes one before it clears."));
        return;
    }
    if (const std::optional<QString> chosen = chooseParticipantCopy(copies, this)) {
        showChange(m_session->restoreParticipants(*chosen));
    }
}

void TForm1::Timer1Timer()
{
    // A progress dialog lets the timer run in the middle of a long command: the band views must not be
    // refiltered under it. The next tick after the command catches up.
    if (m_workProgress->isBusy()) {
        return;
    }
    const TourClockState state = tourClockAt(m_ui.begDate->date(), m_ui.begTime->time(), m_ui.tourMinutes->value(),
                                             m_ui.tours->value(), m_clock->localNow());
    m_ui.gauge1->setMaxValue(state.gaugeMaximum);
    m_ui.gauge1->setProgress(state.progress);
    m_ui.statusBar1->setPanelText(kTourPanel, state.text);
    if (m_ui.autoChangeTour->isChecked()) {
        m_ui.tour->setValue(state.tour);
    }
}

void TForm1::Station1Click()
{
    Station station = loadStation();
    editStation(station, this);
}

void TForm1::ExportCabrillo1Click()
{
    showChange(exportLogAs(LogFormat::Cabrillo, *m_session, *m_prompter, this));
}

void TForm1::ExportADIF1Click()
{
    showChange(exportLogAs(LogFormat::Adif, *m_session, *m_prompter, this));
}
