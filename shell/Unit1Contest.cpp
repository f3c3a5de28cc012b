// The handlers of TForm1 that drive the contest operations: contact entry, participants, score, report,
// tour clock and the saved settings.
#include "shell/Unit1.h"

#include "contest/ContestSession.h"
#include "contest/TourClock.h"
#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
#include "shell/WorkProgress.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QCheckBox>
#include <QTimer>

namespace
{
constexpr int kTourPanel = 0;
constexpr int kScorePanel = 1;
constexpr int kNoticeMs = 60000;
} // namespace

void TForm1::bindContestEvents()
{
    const auto guarded = [this](auto handler) {
        return [this, handler](auto&&...) { runGuarded(this, [this, handler] { (this->*handler)(); }); };
    };
    for (DataGrid* grid : m_ui.bandGrids) {
        connect(grid, &DataGrid::keyDown, this, [this](int key, Qt::KeyboardModifiers shift) {
            runGuarded(this, [this, key, shift] { DBGrid80KeyDown(key, shift); });
        });
    }
    connect(m_ui.kiEdit, &QSpinBox::valueChanged, this, guarded(&TForm1::KIEditChange));
    connect(m_ui.nppEdit, &QSpinBox::valueChanged, this, guarded(&TForm1::KIEditChange));
    connect(m_ui.contestNumber, &QSpinBox::valueChanged, this, guarded(&TForm1::ContestNumberChange));
    connect(m_ui.tours, &QSpinBox::valueChanged, this, [this](int tours) { m_session->setTours(tours); });
    connect(m_ui.newCallsign1, &QAction::triggered, this, guarded(&TForm1::NewCallsign1Click));
    connect(m_ui.importCallsign1, &QAction::triggered, this, guarded(&TForm1::ImportCallsign1Click));
    connect(m_ui.clearContestTable1, &QAction::triggered, this, guarded(&TForm1::ClearContestTable1Click));
    connect(m_ui.exportJournal1, &QAction::triggered, this, guarded(&TForm1::ExportJournal1Click));
    connect(m_timer1, &QTimer::timeout, this, guarded(&TForm1::Timer1Timer));
}

void TForm1::DBGrid80KeyDown(int key, Qt::KeyboardModifiers)
{
    const int band = activeBand();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || band < 0) {
        return;
    }
    const SessionChange change = m_session->enterContact(band, m_ui.titlePanels.at(band)->caption(),
                                                         m_ui.editing->isChecked());
    showChange(change);
    if (change.journalChanged) {
        // the serial survives a crash: the settings are saved after every contact
        m_ui.nppEdit->setValue(m_session->values().serial);
        saveSettings();
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
    m_ui.statusBar1->setPanelText(kScorePanel, scoreStatusText(m_session->score()));
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

void TForm1::saveSettings()
{
    // saved after every contact: a settings file that cannot be written is told once, and again only
    // after a save has worked in between
    try {
        m_formStorage1->save();
        m_settingsFailureShown = false;
    } catch (...) {
        if (!m_settingsFailureShown) {
            m_settingsFailureShown = true;
            reportCurrentException(this);
        }
    }
}
