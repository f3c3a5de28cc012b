#include "contest/ContestSession.h"

#include "contest/ClearBackup.h"
#include "contest/Clock.h"
#include "contest/ContactDeletion.h"
#include "contest/ContactEntry.h"
#include "contest/ContactName.h"
#include "contest/ExportQuestions.h"
#include "contest/FormatSettings.h"
#include "contest/JournalFollowUp.h"
#include "contest/Participants.h"
#include "contest/Prompter.h"
#include "contest/ReportExport.h"
#include "contest/ReportLines.h"
#include "contest/ScoreTally.h"
#include "contest/SerialRecovery.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableDamage.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/UpgradeLadder.h"
#include "store/ViewDefinitions.h"

#include <QDir>

#include <algorithm>

namespace
{
const QString kParticipantList = QStringLiteral("Callsign.txt");
// short enough that a key pressed meanwhile waits for no more than this
constexpr std::chrono::milliseconds kReadAheadSlice{5};

QString joinedNotices(QStringList notices)
{
    notices.removeAll(QString());
    return notices.join(QStringLiteral("\n\n"));
}
} // namespace

ContestSession::ContestSession(const QString& folder, Prompter& prompter, const Clock& clock, QObject* parent,
                               const char* vfsName)
    : QObject(parent)
    , m_db(std::make_unique<Database>(folder, vfsName))
    , m_prompter(&prompter)
    , m_clock(&clock)
    , m_callsign(std::make_unique<TableView>(*m_db, callsignViewDefinition(), this))
    , m_journal(std::make_unique<TableView>(*m_db, journalViewDefinition(), this))
    , m_reportLines(std::make_unique<ReportLines>(m_db.get()))
    , m_scoreTally(std::make_unique<ScoreTally>(*m_db))
{
    for (int band = 0; band < kBandCount; ++band) {
        auto view = std::make_unique<TableView>(*m_db, contestViewDefinition(bandViews().at(band).viewName), this);
        view->setFilter(bandFilter(bandViews().at(band), 0));
        view->setFiltered(true);
        m_bands.at(band) = std::move(view);
    }
    for (TableView* view : {m_callsign.get(), m_journal.get(), m_bands.at(0).get(), m_bands.at(1).get(),
                            m_bands.at(2).get(), m_bands.at(3).get()}) {
        view->setObjectName(view->name());
    }
    connect(m_db.get(), &Database::tableChecksAnswered, this, [this] {
        checkTableFiles();
        Q_EMIT tableFilesChecked();
    });
    m_readAhead.setSingleShot(true);
    connect(&m_readAhead, &QTimer::timeout, this, &ContestSession::readAheadSlice);
}

// the views hold prepared statements of the connection: as members after it, they go before it
ContestSession::~ContestSession() = default;

SessionOpening ContestSession::open(int tour)
{
    useFixedFormatSettings();
    SessionOpening opening;
    // Paradox tables carry the same file names: a folder to convert is not a new one
    opening.newFolder = std::ranges::none_of(QStringList{kTableCallsign, kTableContest, kTableJournal},
                                             [this](const QString& table) { return m_db->tableFileExists(table); });
    const FolderUpgrade upgrade = upgradeContestFolder(*m_db);
    opening.notice = joinedNotices({upgrade.notice, untiedContactsText(upgrade.untied)});
    // the band views open once, on the tour the saved settings are about to restore
    m_tour = tour;
    for (int band = 0; band < kBandCount; ++band) {
        m_bands.at(band)->setFilter(bandFilter(bandViews().at(band), tour));
    }
    // Every view that can open does, so that one missing or damaged table does not hide the others; the
    // failures are told together, each once.
    QStringList failures;
    for (TableView* view : {m_callsign.get(), m_journal.get(), m_bands.at(0).get(), m_bands.at(1).get(),
                            m_bands.at(2).get(), m_bands.at(3).get()}) {
        try {
            view->open();
        } catch (const StoreError& error) {
            const bool told = failures.contains(error.message());
            if (!told && !explainedByDamage(view->tableName(), std::current_exception())) {
                failures.append(error.message());
            }
        }
    }
    opening.failures = failures.join(u'\n');
    return opening;
}

void ContestSession::readAheadSlice()
{
    // what fails here is read again, and told, when the next contact needs it
    bool done = true;
    try {
        done = m_scoreTally->prepare(roundedContestNumber(m_values.contestNumber), kReadAheadSlice);
    } catch (const StoreError&) {
    }
    try {
        done = done && m_reportLines->prepare(*m_journal, kReadAheadSlice);
    } catch (const StoreError&) {
    }
    if (!done) {
        m_readAhead.start(0);
    }
}

void ContestSession::close()
{
    for (const auto& view : m_bands) {
        view->close();
    }
    m_callsign->close();
    m_journal->close();
}

void ContestSession::checkTableFiles()
{
    // each file is checked once, when it is first attached (the store keeps the answer), and told once
    QStringList damaged;
    QStringList failures;
    for (const QString& table : m_db->attachedTables()) {
        if (m_checkTold.contains(table)) {
            continue;
        }
        try {
            if (!m_db->checkTable(table)) {
                m_checkTold.insert(table);
                damaged.append(table);
            }
        } catch (const StoreError& error) {
            m_checkTold.insert(table);
            failures.append(error.message());
        }
    }
    if (!damaged.isEmpty()) {
        failures.prepend(damageReport(*m_db, damaged));
    }
    m_untoldFileCheck.append(failures);
}

void ContestSession::startTableChecks()
{
    m_db->startTableChecks();
}

bool ContestSession::explainedByDamage(const QString& table, std::exception_ptr error)
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

QString ContestSession::takeFileCheckReport()
{
    QString report = m_untoldFileCheck.join(QStringLiteral("\n\n"));
    m_untoldFileCheck.clear();
    return report;
}

QString ContestSession::contactsRefusal() const
{
    return refusalFor({kTableContest, kTableJournal});
}

QString ContestSession::refusalFor(const QStringList& tables) const
{
    QString refusal = m_db->folderRefusal();
    for (qsizetype i = 0; refusal.isEmpty() && i < tables.size(); ++i) {
        refusal = m_db->writeRefusal(tables.at(i));
    }
    return refusal;
}

void ContestSession::requireWritable(const QStringList& tables) const
{
    if (const QString refusal = refusalFor(tables); !refusal.isEmpty()) {
        throw StoreError(refusal);
    }
}

void ContestSession::setExchange(int ki, int serial)
{
    m_values.ki = ki;
    m_values.serial = serial;
}

int ContestSession::serialPastJournal()
{
    const std::optional<int> last = lastSentSerial(*m_db, m_values.contestNumber, m_values.ki);
    if (last && *last >= m_values.serial) {
        m_values.serial = *last + 1;
    }
    return m_values.serial;
}

void ContestSession::setTour(int tour)
{
    m_tour = tour;
    for (int band = 0; band < kBandCount; ++band) {
        if (!m_bands.at(band)->isEditing()) {
            showTour(band);
        }
    }
}

bool ContestSession::tourHeldBack(int band) const
{
    const TableView& view = *m_bands.at(band);
    return view.isOpen() && !view.isEditing() && view.filter() != bandFilter(bandViews().at(band), m_tour);
}

void ContestSession::showTour(int band)
{
    TableView& view = *m_bands.at(band);
    if (!view.isOpen()) {
        return;
    }
    view.setFilter(bandFilter(bandViews().at(band), m_tour));
    view.first();
}

const Score& ContestSession::updateScore()
{
    m_score = m_scoreTally->score(roundedContestNumber(m_values.contestNumber));
    m_scoreCounted = true;
    return m_score;
}

void ContestSession::finishStartUp()
{
    if (!m_journal->isOpen()) {
        return;
    }
    // the journal shows its newest contacts, as it does after each contact
    m_journal->last();
    m_readAhead.start(0);
    if (m_scoreCounted) {
        return;
    }
    try {
        updateScore();
    } catch (...) {
        if (!explainedByDamage(m_journal->tableName(), std::current_exception())) {
            throw;
        }
    }
}

SessionChange ContestSession::enterContact(int band, const QString& bandCaption, bool editMode,
                                           const std::optional<ContactFrequency>& radio)
{
    requireWritable({kTableContest, kTableJournal, kTableTie});
    // A change typed on the row and not yet stored is stored first, as a correction with its Journal row: the
    // contact is entered on the row as it is stored, or not at all when the change is refused.
    SessionChange corrected;
    TableView& view = *m_bands.at(band);
    if (view.isEditing()) {
        const qint64 row = view.currentId();
        corrected = storeCorrection(band);
        // the change may take the row out of the view: Enter was meant for it and for no other row
        if (view.currentId() != row) {
            corrected.notice = QStringLiteral("The change was stored and its row left this view: no contact was "
                                              "entered.");
            return corrected;
        }
    }
    const ContactEntryContext context{*m_db,    *m_bands.at(band), bandCaption, *m_journal, *m_prompter,
                                      *m_clock, editMode,          m_values,    radio};
    if (EnterContact(context) != ContactOutcome::Recorded) {
        return corrected;
    }
    // The contact is on disk: the serial advances whatever becomes of the report, or the next contact
    // would be sent the same number.
    ++m_values.serial;
    SessionChange change;
    change.journalChanged = true;
    change.reportFailure = rewriteReport();
    // the contacts go on without their frequency, told once rather than at every contact
    if (radio && !m_frequencyLossTold) {
        if (const QString refusal = frequenciesRefusal(*m_db); !refusal.isEmpty()) {
            m_frequencyLossTold = true;
            change.notice = refusal + QStringLiteral(" Contacts are recorded without the radio's frequency.");
        }
    }
    return change;
}

SessionChange ContestSession::storeCorrection(int band)
{
    if (!StoreCorrection(*m_bands.at(band), *m_journal)) {
        return {};
    }
    return journalChanged();
}

SessionChange ContestSession::deleteRow(int band, qint64 id)
{
    // a deletion in either grid may change both tables
    requireWritable({kTableContest, kTableJournal, kTableTie});
    // the operator is deleting the row: a change typed on it goes, and the stored row is what is deleted
    TableView& view = band < 0 ? *m_journal : *m_bands.at(band);
    if (view.isEditing() && view.currentId() == id) {
        view.cancel();
    }
    const DeletionOutcome outcome = band < 0 ? DeleteJournalRow(*m_db, id) : DeletePlannedRow(*m_db, id);
    if (outcome == DeletionOutcome::RowGone) {
        SessionChange change;
        change.notice = QStringLiteral("Nothing was deleted: the row is no longer in the table.");
        return change;
    }
    if (outcome == DeletionOutcome::JournalChanged) {
        return journalChanged();
    }
    return {};
}

QString ContestSession::describeDeletion(int band, qint64 id)
{
    return band < 0 ? describeJournalRowDeletion(*m_db, id) : describePlannedRowDeletion(*m_db, id);
}

ParticipantViews ContestSession::participantViews()
{
    return {*m_callsign, *m_bands.at(0), *m_bands.at(1), *m_bands.at(2), *m_bands.at(3)};
}

MatrixParameters ContestSession::matrixParameters()
{
    return {m_values.contestNumber, [this] { return m_values.tours; }};
}

void ContestSession::newCallsign()
{
    requireWritable({kTableCallsign, kTableContest});
    NewCallsign(*m_db, participantViews(), *m_prompter, matrixParameters());
}

void ContestSession::importCallsign()
{
    requireWritable({kTableCallsign, kTableContest});
    ImportCallsign(*m_db, participantViews(), *m_prompter, QDir(m_db->directory()).absoluteFilePath(kParticipantList),
                   matrixParameters());
}

SessionChange ContestSession::clearContestTable()
{
    requireWritable({kTableCallsign, kTableContest, kTableTie});
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
    SessionChange change;
    change.notice = QStringLiteral("The participants and planned contacts were copied to %1 before clearing").arg(copy);
    return change;
}

QList<ParticipantCopy> ContestSession::participantCopies() const
{
    requireWritable({kTableCallsign, kTableContest});
    return ::participantCopies(m_db->directory());
}

SessionChange ContestSession::restoreParticipants(const QString& copyFolder)
{
    requireWritable({kTableCallsign, kTableContest, kTableTie});
    // what is replaced can be put back the same way
    QString saved;
    try {
        saved = BackupBeforeClear(*m_db, m_clock->localNow());
    } catch (const StoreError& error) {
        throw StoreError(QStringLiteral("Restore Participants did nothing, since the present participants could "
                                        "not be copied first. %1")
                             .arg(error.message()));
    }
    KeyedTies ties;
    try {
        ties = RestoreParticipants(*m_db, participantViews(), QDir(m_db->directory()).absoluteFilePath(copyFolder));
    } catch (const StoreError& error) {
        throw StoreError(
            QStringLiteral("Restore Participants put nothing back from %1: %2").arg(copyFolder, error.message()),
            error.isLocked() ? StoreError::Cause::Locked : StoreError::Cause::Failure);
    }
    // the score and the report are counted from the journal alone, which a restore leaves as it is
    SessionChange change;
    change.notice = QStringLiteral(
                        "The participants and planned contacts of %1 are back; those they replaced were copied to %2")
                        .arg(copyFolder, saved);
    change.message = joinedNotices(
        {plannedAgainText(ties.plannedAgain), repeatedContactsText(ties.repeats), untiedContactsText(ties.untied)});
    return change;
}

void ContestSession::exportJournal()
{
    requireWritable({});
    writeReport();
}

void ContestSession::writeReport()
{
    try {
        ::exportJournal([this] { return updateScore().totals; }, *m_journal, QDir(m_db->directory()),
                        m_reportLines.get());
        m_reportFailureTold = false;
    } catch (const StoreError&) {
        m_reportFailureTold = true;
        throw;
    }
}

QString ContestSession::rewriteReport()
{
    // the report is rewritten after every contact and correction: a file that cannot be written is told
    // once, not at every change, until a rewrite works again
    const bool alreadyTold = m_reportFailureTold;
    try {
        writeReport();
        return {};
    } catch (const StoreError& error) {
        return alreadyTold ? QString() : error.message();
    }
}

SessionChange ContestSession::journalChanged()
{
    // the report leaves the journal on its last row; the grid stays on the row the change left it on
    const qint64 current = m_journal->currentId();
    SessionChange change;
    change.journalChanged = true;
    change.reportFailure = rewriteReport();
    if (current >= 0) {
        m_journal->locateId(current);
    }
    return change;
}

bool ContestSession::confirmContestToExport()
{
    return ::confirmContestToExport(m_values.contestNumber, contestNumbersWithContacts(*m_journal), *m_prompter);
}

LogExportResult ContestSession::exportLog(LogFormat format, const Station& station, const QString& path)
{
    // the claimed score is the one the status bar shows, counted now if start-up has not yet counted it
    const Score& claimed = m_scoreCounted ? m_score : updateScore();
    const ExportHeader header{programVersion(), m_clock->utcNow(), claimed.totals.totalPoints};
    return ::exportLog(*m_journal, m_values.contestNumber, station, header, format, path);
}
