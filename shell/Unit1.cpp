#include "shell/Unit1.h"

#include "contest/BandViews.h"
#include "contest/ContactDeletion.h"
#include "contest/FormatSettings.h"
#include "contest/JournalFollowUp.h"
#include "contest/ReportLines.h"
#include "contest/ScoreTally.h"
#include "shell/DialogPrompter.h"
#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
#include "shell/RigFollower.h"
#include "store/Database.h"
#include "store/ParadoxConversion.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableDamage.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
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
    , m_db(std::make_unique<Database>(QDir::currentPath()))
    , m_query(std::make_unique<Query>(*m_db))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(folderCaption(m_db->directory()));
    // the menu bar lies outside the client area on the platform the sizes were drawn for
    move(kDesignPosition);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    // long work in this window's folder shows here, and in no other window
    connect(&m_db->work(), &LongWork::busyChanged, this, &TForm1::busyChanged);
    connect(&m_db->work(), &LongWork::progressChanged, this, &TForm1::showProgress);
    m_dialogPrompter = std::make_unique<DialogPrompter>(this);
    m_prompter = m_dialogPrompter.get();
    createViews();
    m_followUp = std::make_unique<JournalFollowUp>(*m_journal);
    m_reportLines = new ReportLines(m_db.get(), this);
    m_scoreTally = new ScoreTally(*m_db, this);
    bindGrids();
    bindEvents();
    setTabOrder();
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimerIntervalMs);
    bindContestEvents();
    bindExportEvents();
    m_formStorage1 = std::make_unique<FormStorage>(this, storedProperties());
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
    m_db->work().disconnect(this);
    // the settings store reads the controls for its last save: it goes while they still exist
    m_formStorage1.reset();
    // no grid may take the focus, and so run a handler, while the window is taken apart
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
    // the grids' models and the views hold prepared statements of the connection: they go first
    delete centralWidget();
    for (TableView* view : m_bandViews) {
        delete view;
    }
    delete m_callsign;
    delete m_journal;
}

void TForm1::createViews()
{
    const auto makeView = [this](ViewDefinition def) {
        auto* view = new TableView(*m_db, std::move(def), this);
        view->setObjectName(view->name());
        view->setAfterPost([this](TableView& posted) { Contest80AfterPost(posted); });
        return view;
    };
    m_callsign = makeView(callsignViewDefinition());
    m_journal = makeView(journalViewDefinition());
    for (int band = 0; band < kBandCount; ++band) {
        const BandViewInfo& info = bandViews().at(band);
        TableView* view = makeView(contestViewDefinition(info.viewName));
        view->setFilter(bandFilter(info, 0));
        view->setFiltered(true);
        m_bandViews.at(band) = view;
    }
}

void TForm1::bindGrids()
{
    const auto errorsOf = [this](const TableView* view) {
        return [this, view](std::exception_ptr error) { reportGridError(*view, error); };
    };
    static const std::array<const char*, kBandCount> links = {"DS80", "DS80CW", "DS160", "DS160CW"};
    for (int band = 0; band < kBandCount; ++band) {
        DataGrid* grid = m_ui.bandGrids.at(band);
        TableView* view = m_bandViews.at(band);
        auto* link = new TableViewModel(*view, bandGridColumns(band), errorsOf(view), grid);
        link->setObjectName(QString::fromLatin1(links.at(band)));
        grid->setTableModel(link);
        grid->setRowDeleter([this, band](qint64 id) { deleteGridRow(band, id); },
                            [this](qint64 id) { return describePlannedRowDeletion(*m_db, id); });
        // a tour change held back by a change that could not be stored follows once it is stored or undone
        connect(view, &TableView::stateChanged, this, [this, band] {
            if (tourFilterHeldBack(band)) {
                QTimer::singleShot(0, this, [this, band] {
                    if (tourFilterHeldBack(band)) {
                        runGuarded(this, [this, band] { applyTourFilter(band); });
                    }
                });
            }
        });
    }
    auto* journalLink = new TableViewModel(*m_journal, journalGridColumns(), errorsOf(m_journal), m_ui.rxDBGrid3);
    journalLink->setObjectName(QStringLiteral("DSJournal"));
    m_ui.rxDBGrid3->setTableModel(journalLink);
    m_ui.rxDBGrid3->setRowDeleter([this](qint64 id) { deleteGridRow(-1, id); },
                                  [this](qint64 id) { return describeJournalRowDeletion(*m_db, id); });
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

void TForm1::reportError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (...) {
        reportCurrentException(this);
    }
}

bool TForm1::explainedByDamage(const QString& table, std::exception_ptr error)
{
    // A read that fails is often the first sign of a damaged file: the files are checked now, not only after
    // the window shows, so that the operator reads what is damaged instead of the engine's bare words.
    checkTableFiles();
    if (!m_db->isDamaged(table)) {
        return false;
    }
    // a refused write is news; a read of the damaged file has been told about in the damage report
    try {
        std::rethrow_exception(error);
    } catch (const StoreError& failure) {
        return failure.message() != m_db->writeRefusal(table);
    } catch (...) {
        return false;
    }
}

void TForm1::reportGridError(const TableView& view, std::exception_ptr error)
{
    if (!explainedByDamage(view.tableName(), error)) {
        reportError(error);
    }
}

void TForm1::checkTableFiles()
{
    // each file is checked once, when it is first attached (the store keeps the answer)
    QStringList damaged;
    QStringList failures;
    for (const QString& table : m_db->attachedTables()) {
        try {
            if (!m_db->checkTable(table) && !m_damageReported.contains(table)) {
                m_damageReported.insert(table);
                damaged.append(table);
            }
        } catch (const StoreError& error) {
            failures.append(error.message());
        }
    }
    if (!damaged.isEmpty()) {
        failures.prepend(damageReport(*m_db, damaged));
    }
    if (!failures.isEmpty()) {
        showErrorBox(this, failures.join(QStringLiteral("\n\n")));
    }
}

bool TForm1::refuseWrite(const QStringList& tables)
{
    QString refusal = m_db->folderRefusal();
    for (qsizetype i = 0; refusal.isEmpty() && i < tables.size(); ++i) {
        refusal = m_db->writeRefusal(tables.at(i));
    }
    if (refusal.isEmpty()) {
        return false;
    }
    showErrorBox(this, refusal);
    return true;
}

void TForm1::FormCreate()
{
    useFixedFormatSettings();
    // a folder of Paradox tables is taken over first; a refused one is left exactly as it is, so the
    // schema routine must not add tables of ours beside it
    const ParadoxConversion conversion = convertParadoxFolder(m_db->directory());
    if (conversion.outcome == ParadoxConversion::Outcome::Refused) {
        throw StoreError(conversion.message);
    }
    if (!conversion.message.isEmpty()) {
        // told once the window is up, through whichever prompter is set by then
        QTimer::singleShot(0, this, [this, text = conversion.message] { m_prompter->showMessage(text); });
    }
    EnsureTables(*m_db);
    if (m_db->folderIsReadOnly()) {
        setWindowTitle(folderCaption(m_db->directory()) + kReadOnlyMark);
    }
    // the band views open once, on the tour the saved settings are about to restore
    const int tour = m_formStorage1->wholeNumberToRestore(QStringLiteral("Tour_Value")).value_or(m_ui.tour->value());
    for (int band = 0; band < kBandCount; ++band) {
        m_bandViews.at(band)->setFilter(
            bandFilter(bandViews().at(band), std::clamp(tour, m_ui.tour->minimum(), m_ui.tour->maximum())));
    }
    const QString failures = openViews();
    // the score counts the journal: a journal that could not open has been reported with the other views
    if (m_journal->isOpen()) {
        try {
            UpdateScore();
        } catch (...) {
            if (!explainedByDamage(m_journal->tableName(), std::current_exception())) {
                throw;
            }
        }
    }
    if (!failures.isEmpty()) {
        throw StoreError(failures);
    }
}

QString TForm1::openViews()
{
    // Every view that can open does, so that one missing or damaged table does not hide the others; the
    // failures are told together, each once.
    QStringList failures;
    for (TableView* view :
         {m_callsign, m_journal, m_bandViews.at(0), m_bandViews.at(1), m_bandViews.at(2), m_bandViews.at(3)}) {
        try {
            view->open();
        } catch (const StoreError& error) {
            const bool told = failures.contains(error.message());
            if (!told && !explainedByDamage(view->tableName(), std::current_exception())) {
                failures.append(error.message());
            }
        }
    }
    return failures.join(u'\n');
}

void TForm1::closeViews()
{
    for (TableView* view :
         {m_bandViews.at(0), m_bandViews.at(1), m_bandViews.at(2), m_bandViews.at(3), m_callsign, m_journal}) {
        view->close();
    }
}

void TForm1::FormClose()
{
    closeViews();
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
    for (int band = 0; band < kBandCount; ++band) {
        applyTourFilter(band);
    }
}

void TForm1::applyTourFilter(int band)
{
    TableView& view = *m_bandViews.at(band);
    const ViewFilter filter = bandFilter(bandViews().at(band), m_ui.tour->value());
    if (!view.isOpen()) {
        return;
    }
    // The row being changed would leave the view: the change is stored first. One that cannot be stored
    // keeps the view on its rows until the operator mends or undoes it.
    if (!m_ui.bandGrids.at(band)->storePendingEdit()) {
        return;
    }
    view.setFilter(filter);
    view.first();
}

bool TForm1::tourFilterHeldBack(int band) const
{
    const TableView& view = *m_bandViews.at(band);
    return view.isOpen() && !view.isEditing() && view.filter() != bandFilter(bandViews().at(band), m_ui.tour->value());
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
    if (editMode && refuseWrite({m_bandViews.at(0)->tableName(), m_journal->tableName()})) {
        m_ui.editing->setChecked(false);
        return;
    }
    // what was typed in edit mode is stored as a correction before the mode ends
    if (!editMode && !storePendingEdits()) {
        m_ui.editing->setChecked(true);
        return;
    }
    m_editMode = editMode;
    for (DataGrid* grid : m_ui.bandGrids) {
        grid->setReadOnly(!editMode);
        grid->setInPlaceEditing(editMode);
    }
}

void TForm1::DBGrid80GetCellParams(DataGrid& sender, const QString&, int row, CellParams& params, bool highlight)
{
    int band = 0;
    while (band < kBandCount && bandViews().at(band).gridName != sender.objectName()) {
        ++band;
    }
    if (band == kBandCount) {
        return;
    }
    const TableView& view = *m_bandViews.at(band);
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
        runGuarded(this, [this] { advanceSerialPastJournal(); });
        // the quick check reads every page of every table file: it runs once the window is there
        QTimer::singleShot(0, this, [this] { runGuarded(this, [this] { checkTableFiles(); }); });
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
