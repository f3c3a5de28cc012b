#pragma once

#include "contest/Clock.h"
#include "shell/Unit1Layout.h"

#include <QMainWindow>

#include <exception>
#include <memory>

class ContestFile;
class ContestSession;
class CwSender;
class Database;
class FormStorage;
class Prompter;
class RadioBandFollower;
class TableView;
class WorkProgress;
struct CellParams;
struct ScoreTotals;
struct SessionChange;
class QTimer;

// The main window: it owns the controls, the contest session of its folder and the timer. Its handlers
// are thin: they read the controls, make one call into the session, and show what comes back.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // the contest folder's tables, for a caller that reads or checks them beside the window
    Database& database();
    // handled by the contest folder session, which replaces this window
    QAction& openContestFolder1() { return *m_ui.openContestFolder1; }

    // the band whose title panel is the first to carry the active mark, or -1
    int activeBand() const;

    // Tests answer the prompts and set the time through these; the window's own are the dialogs and the
    // system clock.
    void setPrompter(Prompter* prompter);
    void setClock(const Clock* clock);
    const ScoreTotals& scoreTotals() const;
    FormStorage& formStorage1() { return *m_formStorage1; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // a contest value is written to the folder as soon as it changes, once the saved values are restored
    void saveContestValuesOnChange();
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
    void RestoreParticipants1Click();
    void Timer1Timer();
    void Radio1Click();
    void Station1Click();
    void ExportCabrillo1Click();
    void ExportADIF1Click();

    void bindGrids();
    void bindEvents();
    void reportGridError(const TableView& view, std::exception_ptr error);
    // what the table file checks found and has not been told yet
    void showFileCheck();
    void showScore();
    void showChange(const SessionChange& change);
    // the folder's own contest values; a new folder starts its contest at serial 001
    void restoreContest();
    // the changes typed in the band grids stored; false when one could not be (the operator has been told)
    bool storePendingEdits();

    Unit1Controls m_ui;
    std::unique_ptr<Prompter> m_dialogPrompter;
    Prompter* m_prompter = nullptr;
    SystemClock m_systemClock;
    const Clock* m_clock = &m_systemClock;
    // a child of the window, so that its views are found by their names as the controls are
    ContestSession* m_session = nullptr;
    QTimer* m_timer1 = nullptr;
    WorkProgress* m_workProgress = nullptr;
    // written with every save of the settings: it goes after them
    std::unique_ptr<ContestFile> m_contestFile;
    std::unique_ptr<FormStorage> m_formStorage1;
    bool m_newFolder = false;
    bool m_shown = false;
    bool m_drawn = false;
    bool m_closed = false;
    // the radio chooses the active band
    RadioBandFollower* m_radio = nullptr;
    // F1..F8 send CW in the CW columns
    CwSender* m_cw = nullptr;
};
