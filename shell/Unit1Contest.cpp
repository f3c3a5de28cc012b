// The handlers of TForm1 that drive the contest operations: contact entry, participants, score, report,
// tour clock, journal follow-up and the saved settings.
#include "shell/Unit1.h"

#include "contest/BandViews.h"
#include "contest/ClearBackup.h"
#include "contest/ContactDeletion.h"
#include "contest/ContactEntry.h"
#include "contest/JournalFollowUp.h"
#include "contest/Participants.h"
#include "contest/ReceivedCode.h"
#include "contest/ReportExport.h"
#include "contest/ReportLines.h"
#include "contest/ScoreTally.h"
#include "contest/SerialRecovery.h"
#include "contest/TourClock.h"
#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
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

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProgressDialog>
#include <QTimer>

#include <limits>

namespace
{
constexpr int kTourPanel = 0;
constexpr int kScorePanel = 1;
constexpr int kProgressDelayMs = 1000;
constexpr int kNoticeMs = 60000;
const QString kParticipantList = QStringLiteral("Callsign.txt");
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
    connect(m_ui.newCallsign1, &QAction::triggered, this, guarded(&TForm1::NewCallsign1Click));
    connect(m_ui.importCallsign1, &QAction::triggered, this, guarded(&TForm1::ImportCallsign1Click));
    connect(m_ui.clearContestTable1, &QAction::triggered, this, guarded(&TForm1::ClearContestTable1Click));
    connect(m_ui.exportJournal1, &QAction::triggered, this, guarded(&TForm1::ExportJournal1Click));
    connect(m_timer1, &QTimer::timeout, this, guarded(&TForm1::Timer1Timer));
}

void TForm1::DBGrid80KeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return;
    }
    const int band = activeBand();
    if (band < 0) {
        return;
    }
    if (refuseWrite({m_bandViews.at(band)->tableName(), m_journal->tableName()})) {
        return;
    }
    const ContactEntryContext context{
        *m_db,
        *m_bandViews.at(band),
        m_ui.titlePanels.at(band)->caption(),
        *m_journal,
        *m_followUp,
        *m_prompter,
        *m_clock,
        m_ui.editing->isChecked(),
        [this] { return m_ui.sendTextPanel->caption(); },
        [this] { return m_ui.contestNumber->value(); },
    };
    if (EnterContact(context) != ContactOutcome::Recorded) {
        return;
    }
    // The contact is on disk: the serial advances whatever becomes of the report, or the next contact
    // would be sent the same number.
    runGuarded(this, [this] { rewriteReportAfterChange(); });
    m_ui.nppEdit->setValue(m_ui.nppEdit->value() + 1);
    saveSettings();
}

void TForm1::KIEditChange()
{
    m_ui.sendTextPanel->setCaption(sentExchange(m_ui.kiEdit->value(), m_ui.nppEdit->value()));
}

void TForm1::ContestNumberChange()
{
    UpdateScore();
}

void TForm1::UpdateScore()
{
    const Score score = m_scoreTally->score(roundedContestNumber(m_ui.contestNumber->value()));
    m_scoreTotals = score.totals;
    m_ui.statusBar1->setPanelText(kScorePanel, scoreStatusText(score));
}

void TForm1::ExportJournal1Click()
{
    if (refuseWrite({})) {
        return;
    }
    writeJournalReport();
}

void TForm1::writeJournalReport()
{
    try {
        exportJournal(
            [this] {
                UpdateScore();
                return m_scoreTotals;
            },
            *m_journal, QDir(m_db->directory()), m_reportLines);
        m_reportFailureShown = false;
    } catch (const StoreError&) {
        m_reportFailureShown = true;
        throw;
    }
}

void TForm1::rewriteReportAfterChange()
{
    // the report is rewritten after every contact and correction: a file that cannot be written is told
    // once, not at every change, until a rewrite works again
    const bool alreadyTold = m_reportFailureShown;
    try {
        writeJournalReport();
    } catch (const StoreError&) {
        if (!alreadyTold) {
            throw;
        }
    }
}

void TForm1::journalChanged()
{
    // the report leaves the journal on its last row; the grid stays on the row the change left it on
    const qint64 current = m_journal->currentId();
    runGuarded(this, [this] { rewriteReportAfterChange(); });
    if (current >= 0) {
        m_journal->locateId(current);
    }
}

ParticipantViews TForm1::participantViews()
{
    return {*m_callsign, *m_bandViews.at(0), *m_bandViews.at(1), *m_bandViews.at(2), *m_bandViews.at(3)};
}

MatrixParameters TForm1::matrixParameters()
{
    return {m_ui.contestNumber->value(), [this] { return m_ui.tours->value(); }};
}

void TForm1::NewCallsign1Click()
{
    // the command closes the band views: a change typed in one is stored first
    if (!storePendingEdits() || refuseWrite({m_callsign->tableName(), m_bandViews.at(0)->tableName()})) {
        return;
    }
    NewCallsign(*m_db, participantViews(), *m_prompter, matrixParameters());
}

void TForm1::ImportCallsign1Click()
{
    // the command closes the band views: a change typed in one is stored first
    if (!storePendingEdits() || refuseWrite({m_callsign->tableName(), m_bandViews.at(0)->tableName()})) {
        return;
    }
    ImportCallsign(*m_db, participantViews(), *m_prompter, QDir(m_db->directory()).absoluteFilePath(kParticipantList),
                   matrixParameters());
}

void TForm1::ClearContestTable1Click()
{
    // the command closes the band views: a change typed in one is stored first
    if (!storePendingEdits() || refuseWrite({m_callsign->tableName(), m_bandViews.at(0)->tableName()})) {
        return;
    }
    // Clear asks nothing: a copy of what it empties is the way back from a slip of the mouse
    QString copy;
    try {
        copy = BackupBeforeClear(*m_db, m_clock->localNow());
    } catch (const StoreError& error) {
        throw StoreError(QStringLiteral("Clear Contest-Table did nothing, since the participants could not be "
                                        "copied first. %1")
                             .arg(error.message()));
    }
    ClearContestTable(*m_db, participantViews());
    m_ui.statusBar1->showMessage(
        QStringLiteral("The participants and planned contacts were copied to %1 before clearing").arg(copy), kNoticeMs);
}

void TForm1::busyChanged(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    --m_busyDepth;
    QApplication::restoreOverrideCursor();
    // The dialog goes with the work, at once: a reset one stays up, its stale start time would show the
    // next one at once, and a later deletion would wait out a message box opened next, while the dialog's
    // own timer brings it up over that box and takes the keyboard from it.
    if (m_busyDepth == 0 && m_progress) {
        delete m_progress;
        m_progress = nullptr;
    }
}

void TForm1::showProgress(qint64 done, qint64 total)
{
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setWindowModality(Qt::WindowModal);
        // the work runs in one transaction: it cannot stop half-way
        m_progress->setCancelButton(nullptr);
        m_progress->setMinimumDuration(kProgressDelayMs);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
    }
    m_progress->setMaximum(int(std::min<qint64>(total, std::numeric_limits<int>::max())));
    m_progress->setValue(int(std::min<qint64>(done, std::numeric_limits<int>::max())));
}

void TForm1::Timer1Timer()
{
    // A progress dialog lets the timer run in the middle of a long command: the band views must not be
    // refiltered under it. The next tick after the command catches up.
    if (m_busyDepth > 0) {
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

void TForm1::Contest80AfterPost(TableView& dataSet)
{
    if (m_followUp->afterPost(dataSet, m_editMode)) {
        journalChanged();
    }
}

void TForm1::deleteGridRow(int band, qint64 id)
{
    // a deletion in either grid may change both tables
    if (refuseWrite({m_bandViews.at(0)->tableName(), m_journal->tableName()})) {
        return;
    }
    // the operator is deleting the row: a change typed on it goes, and the stored row is what is deleted
    TableView& view = band < 0 ? *m_journal : *m_bandViews.at(band);
    if (view.isEditing() && view.currentId() == id) {
        view.cancel();
    }
    const DeletionOutcome outcome = band < 0 ? DeleteJournalRow(*m_db, id) : DeletePlannedRow(*m_db, id);
    if (outcome == DeletionOutcome::RowGone) {
        m_ui.statusBar1->showMessage(QStringLiteral("Nothing was deleted: the row is no longer in the table."),
                                     kNoticeMs);
    } else if (outcome == DeletionOutcome::JournalChanged) {
        journalChanged();
    }
}

std::vector<StoredProperty> TForm1::storedProperties()
{
    const auto number = [](const QString& component, SpinField* field) {
        return StoredProperty{
            component, QStringLiteral("Value"),
            WholeNumberProperty{[field] { return field->value(); }, [field](int value) { field->setValue(value); }}};
    };
    QCheckBox* autoChange = m_ui.autoChangeTour;
    DateField* begDate = m_ui.begDate;
    TimePicker* begTime = m_ui.begTime;
    return {
        number(QStringLiteral("KIEdit"), m_ui.kiEdit),
        number(QStringLiteral("NppEdit"), m_ui.nppEdit),
        number(QStringLiteral("Tour"), m_ui.tour),
        number(QStringLiteral("TourMinutes"), m_ui.tourMinutes),
        number(QStringLiteral("Tours"), m_ui.tours),
        number(QStringLiteral("ContestNumber"), m_ui.contestNumber),
        StoredProperty{QStringLiteral("AutoChangeTour"), QStringLiteral("Checked"),
                       TruthProperty{[autoChange] { return autoChange->isChecked(); },
                                     [autoChange](bool checked) { autoChange->setChecked(checked); }}},
        StoredProperty{QStringLiteral("BegDate"), QStringLiteral("Text"),
                       TextProperty{[begDate] { return begDate->text(); },
                                    [begDate](const QString& text) { begDate->setText(text); }}},
        StoredProperty{QStringLiteral("BegTime"), QStringLiteral("Time"),
                       TimeOfDayProperty{[begTime] { return begTime->value(); },
                                         [begTime](QTime time) { begTime->setTime(time); }}},
    };
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

void TForm1::advanceSerialPastJournal()
{
    // After a crash the settings may hold a serial from before the last contacts: never send one twice.
    const std::optional<int> last = lastSentSerial(*m_db, m_ui.contestNumber->value(), m_ui.kiEdit->value());
    if (last && *last >= m_ui.nppEdit->value()) {
        m_ui.nppEdit->setValue(*last + 1);
    }
}
