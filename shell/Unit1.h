#pragma once

#include "contest/Clock.h"
#include "contest/RadioBand.h"
#include "contest/Score.h"
#include "shell/Unit1Layout.h"

#include <QMainWindow>
#include <QSet>

#include <array>
#include <memory>

class Database;
class FormStorage;
class JournalFollowUp;
enum class LogFormat;
class Prompter;
class Query;
class ReportLines;
class RigFollower;
class ScoreTally;
struct RadioSettings;
struct MatrixParameters;
struct Station;
struct ParticipantViews;
struct StoredProperty;
class QProgressDialog;
class QTimer;
class TableView;
struct CellParams;

// The main window: it owns the controls, the six table views, the query Q and the timer.
// Its handlers are thin: they read the controls, call into contest/, and write the controls.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // the contest folder's tables, for a caller that reads or checks them beside the window
    Database& database() { return *m_db; }
    // handled by the contest folder session, which replaces this window
    QAction& openContestFolder1() { return *m_ui.openContestFolder1; }

    // the band whose title panel is the first to carry the active mark, or -1
    int activeBand() const;

    // Tests answer the prompts and set the time through these; the window's own are the dialogs and the
    // system clock.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    void setClock(const Clock* clock) { m_clock = clock; }
    const ScoreTotals& scoreTotals() const { return m_scoreTotals; }
    FormStorage& formStorage1() { return *m_formStorage1; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The controls, views and handlers are the window's own: callers and tests reach the controls by their
    // object names and drive them as the operator does.
    TableView& callsignView() { return *m_callsign; }
    TableView& journalView() { return *m_journal; }
    TableView& contest80() { return *m_bandViews.at(0); }
    TableView& contest80CW() { return *m_bandViews.at(1); }
    TableView& contest160() { return *m_bandViews.at(2); }
    TableView& contest160CW() { return *m_bandViews.at(3); }
    // band index as in bandViews(): 80 m SSB, 80 m CW, 160 m SSB, 160 m CW
    TableView& bandView(int band) { return *m_bandViews.at(band); }
    Query& query() { return *m_query; }
    QTimer& timer1() { return *m_timer1; }

    DigitalClock& rxClock1() { return *m_ui.rxClock1; }
    SpinField& kiEdit() { return *m_ui.kiEdit; }
    SpinField& nppEdit() { return *m_ui.nppEdit; }
    Panel& sendTextPanel() { return *m_ui.sendTextPanel; }
    SpinField& contestNumber() { return *m_ui.contestNumber; }
    DateField& begDate() { return *m_ui.begDate; }
    TimePicker& begTime() { return *m_ui.begTime; }
    QCheckBox& autoChangeTour() { return *m_ui.autoChangeTour; }
    SpinField& tour() { return *m_ui.tour; }
    SpinField& tours() { return *m_ui.tours; }
    SpinField& tourMinutes() { return *m_ui.tourMinutes; }
    QCheckBox& editing() { return *m_ui.editing; }
    Panel& columnPanel(int band) { return *m_ui.columnPanels.at(band); }
    Panel& titlePanel(int band) { return *m_ui.titlePanels.at(band); }
    DataGrid& bandGrid(int band) { return *m_ui.bandGrids.at(band); }
    DataGrid& rxDBGrid3() { return *m_ui.rxDBGrid3; }
    PanelStatusBar& statusBar1() { return *m_ui.statusBar1; }
    Gauge& gauge1() { return *m_ui.gauge1; }
    QAction& clearContestTable1() { return *m_ui.clearContestTable1; }
    QAction& importCallsign1() { return *m_ui.importCallsign1; }
    QAction& newCallsign1() { return *m_ui.newCallsign1; }
    QAction& exportJournal1() { return *m_ui.exportJournal1; }
    QAction& exit1() { return *m_ui.exit1; }

    void FormCreate();
    void FormClose();
    void FormResize();
    void Exit1Click();
    void Panel80Click(Panel* sender);
    void DBGrid80Enter();
    void DBGrid80CWEnter();
    void DBGrid160Enter();
    void DBGrid160CWEnter();
    void TourChange();
    void EditingClick();
    void DBGrid80GetCellParams(DataGrid& sender, const QString& field, int row, CellParams& params, bool highlight);
    void RxDBGrid3GetCellParams(DataGrid& sender, const QString& field, int row, CellParams& params, bool highlight);
    void StatusBar1Resize();
    void DBGrid80KeyDown(int key, Qt::KeyboardModifiers shift);
    void KIEditChange();
    void ContestNumberChange();
    void UpdateScore();
    void ExportJournal1Click();
    void NewCallsign1Click();
    void ImportCallsign1Click();
    void ClearContestTable1Click();
    void Timer1Timer();
    void Contest80AfterPost(TableView& dataSet);
    void Radio1Click();
    void Station1Click();
    void ExportCabrillo1Click();
    void ExportADIF1Click();

    // A command that would write to these tables (none given: only to the folder) is refused where that
    // cannot be done (a read-only folder, a damaged or read-only table file): the operator is told why in
    // the error box and the result is true.
    bool refuseWrite(const QStringList& tables);

    void createViews();
    void bindGrids();
    void bindEvents();
    void setTabOrder();
    // opens every view that can be opened; returns the failures of the others, one per line
    QString openViews();
    void closeViews();
    void reportError(std::exception_ptr error);
    void reportGridError(const TableView& view, std::exception_ptr error);
    // runs the quick check on the table files not yet checked; a damaged file is reported once
    void checkTableFiles();
    // whether a failure on the table is told by the damage report already (the check runs first if need be)
    bool explainedByDamage(const QString& table, std::exception_ptr error);
    void bindContestEvents();
    void bindExportEvents();
    // the station data edited and saved; false when the operator cancels
    bool editStation(Station& station);
    void exportLogAs(LogFormat format);
    ParticipantViews participantViews();
    MatrixParameters matrixParameters();
    std::vector<StoredProperty> storedProperties();
    void saveSettings();
    void advanceSerialPastJournal();
    void writeJournalReport();
    void rewriteReportAfterChange();
    // the score and the report follow a correction or deletion of a contact
    void journalChanged();
    // Ctrl+Delete on a band grid (0..3) or on the journal grid (-1) of the row with the id
    void deleteGridRow(int band, qint64 id);
    // the changes typed in the band grids stored; false when one could not be (the operator has been told)
    bool storePendingEdits();
    // the band view shows the tour of the Tour field, once a change typed in it is stored
    void applyTourFilter(int band);
    // a band view left on another tour while a change in it could not be stored, now stored or undone
    bool tourFilterHeldBack(int band) const;
    void busyChanged(bool busy);
    void showProgress(qint64 done, qint64 total);
    // the radio chooses the active band (Unit1Radio.cpp)
    void startRadio();
    void applyRadioSettings(const RadioSettings& settings);
    void radioRead(qint64 frequencyHz, const QString& modeName);
    void radioLost();

    Unit1Controls m_ui;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Query> m_query;
    TableView* m_callsign = nullptr;
    TableView* m_journal = nullptr;
    std::array<TableView*, kBandCount> m_bandViews{};
    QTimer* m_timer1 = nullptr;
    std::unique_ptr<Prompter> m_dialogPrompter;
    Prompter* m_prompter = nullptr;
    SystemClock m_systemClock;
    const Clock* m_clock = &m_systemClock;
    std::unique_ptr<JournalFollowUp> m_followUp;
    std::unique_ptr<FormStorage> m_formStorage1;
    ReportLines* m_reportLines = nullptr;
    ScoreTally* m_scoreTally = nullptr;
    // long work under way (nested commands count once each) and its progress dialog, made when needed
    int m_busyDepth = 0;
    QProgressDialog* m_progress = nullptr;
    ScoreTotals m_scoreTotals;
    // edit mode as the journal follow-up sees it: still on while the changes typed before unticking are stored
    bool m_editMode = false;
    bool m_shown = false;
    bool m_closed = false;
    // a report or settings file that cannot be written is told once until a write works again
    bool m_reportFailureShown = false;
    bool m_settingsFailureShown = false;
    // the damaged tables the operator has been told about
    QSet<QString> m_damageReported;
    RigFollower* m_rigFollower = nullptr;
    // when the radio moves the band: the operator's own choice holds until the radio's band changes
    RadioBandTracker m_radioBand;
};
