#pragma once

#include "contest/BandViews.h"
#include "contest/ContestValues.h"
#include "contest/LogExport.h"
#include "contest/ParticipantCopies.h"
#include "contest/Score.h"
#include "store/ContactFrequencies.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <exception>
#include <memory>
#include <optional>

class Clock;
class Database;
class Prompter;
class ReportLines;
class ScoreTally;
class TableView;
struct MatrixParameters;
struct ParticipantViews;

// What start-up found that the operator is to be told.
struct SessionOpening
{
    QString notice;         // a conversion of the folder's tables, told once the window is up
    QString failures;       // the views that could not open, one per line
    bool newFolder = false; // the folder held no tables: its contest starts here
};

// What an operation changed, for the window to show.
struct SessionChange
{
    bool journalChanged = false; // the score (and after a contact, the serial) moved
    QString notice;              // a passing word for the status bar
    QString message;             // what the operator must read, in a message box
    QString reportFailure;       // Report.txt could not be rewritten; told once until a rewrite works
};

// One contest folder at work: its tables, the six views, the kept score and report lines, and every
// operation with all that follows from it (the Journal side of a contact or correction, the score, the
// report, the serial). The window reads its controls into the session and shows what comes back; the
// session reaches the operator only through the prompter, and the time only through the clock.
class ContestSession : public QObject
{
    Q_OBJECT

public:
    // vfsName chooses another SQLite file layer (tests inject write failures and power cuts through one)
    ContestSession(const QString& folder, Prompter& prompter, const Clock& clock, QObject* parent = nullptr,
                   const char* vfsName = nullptr);
    ~ContestSession() override;

    void setPrompter(Prompter& prompter) { m_prompter = &prompter; }
    void setClock(const Clock& clock) { m_clock = &clock; }

    Database& database() { return *m_db; }
    TableView& callsignView() { return *m_callsign; }
    TableView& journalView() { return *m_journal; }
    // band index as in bandViews(): 80 m SSB, 80 m CW, 160 m SSB, 160 m CW
    TableView& bandView(int band) { return *m_bands.at(size_t(band)); }

    // Brings the folder's tables up to date and opens every view that can open, the band views on the
    // tour; the score is counted. Raises StoreError when the folder is refused as a whole.
    SessionOpening open(int tour);
    void close();

    // The quick check of the table files not yet checked; what it found waits in the file check report.
    void checkTableFiles();
    // The same off the window's thread: tableFilesChecked() tells when the report is ready. A write to a
    // file waits for its answer.
    void startTableChecks();
    // Whether a failure on the table is told by the damage report already (the check runs first if need be).
    bool explainedByDamage(const QString& table, std::exception_ptr error);
    // what the checks found that has not been told yet, once
    QString takeFileCheckReport();
    // why contacts and corrections cannot be written now; empty when they can
    QString contactsRefusal() const;

    const ContestValues& values() const { return m_values; }
    void setExchange(int ki, int serial);
    void setContestNumber(int contestNumber) { m_values.contestNumber = contestNumber; }
    void setTours(int tours) { m_values.tours = tours; }
    // After a crash the settings may hold a serial from before the last contacts: the serial moves past
    // the last one sent in this contest with this KI, so that none is sent twice. Returns the serial.
    int serialPastJournal();

    // The band views show the tour (0: every tour). A band view with a change pending keeps its rows until
    // the change is stored or undone (tourHeldBack), and then follows through showTour.
    void setTour(int tour);
    bool tourHeldBack(int band) const;
    void showTour(int band);

    const Score& score() const { return m_score; }
    // Start-up leaves the score until the window has been drawn (finishStartUp), unless an update counts it
    // first.
    bool scoreCounted() const { return m_scoreCounted; }
    // counts the score of the contest number anew; raises StoreError
    const Score& updateScore();
    // What start-up leaves until the window has been drawn: the journal goes to its last row, the score's rows
    // and the report's lines begin to be read ahead, and the score is counted if nothing has counted it since. A
    // damaged journal has been told by the file check; other failures raise StoreError.
    void finishStartUp();

    // Enter on the current row of a band view: the received code is asked for, both rows written together,
    // the report rewritten and the serial advanced; the radio's frequency at that moment goes with the contact
    // when there is one. Raises StoreError when the tables cannot be written.
    SessionChange enterContact(int band, const QString& bandCaption, bool editMode,
                               const std::optional<ContactFrequency>& radio = std::nullopt);
    // The change typed in a band view, with its Journal row; raises StoreError when it cannot be stored, and
    // the change then stays pending as typed.
    SessionChange storeCorrection(int band);
    // Ctrl+Delete of the row with the id, on a band view or on the journal (band -1).
    SessionChange deleteRow(int band, qint64 id);
    QString describeDeletion(int band, qint64 id);

    void newCallsign();
    void importCallsign();
    SessionChange clearContestTable();
    // The copies under backup/ that Restore Participants can put back, newest first. Raises StoreError when
    // the participants cannot be written here, since none could be put back.
    QList<ParticipantCopy> participantCopies() const;
    // Puts the copy back (a folder as participantCopies() names it), the present participants and planned
    // contacts first copied into backup/ as Clear copies them. Raises StoreError, and then nothing changed.
    SessionChange restoreParticipants(const QString& copyFolder);

    // Report.txt, with the score counted first
    void exportJournal();
    // Whether the contest number in use is to be exported: asked only when it has no contacts.
    bool confirmContestToExport();
    LogExportResult exportLog(LogFormat format, const Station& station, const QString& path);

Q_SIGNALS:
    void tableFilesChecked();

private:
    // The score's rows and the report's lines are read in slices while the operator waits for nothing, so
    // that the first contact after start-up updates both as quickly as every later one.
    void readAheadSlice();
    // why the tables cannot be written now (the folder first); empty when they can
    QString refusalFor(const QStringList& tables) const;
    void requireWritable(const QStringList& tables) const;
    void writeReport();
    // the report after a contact or correction: a failure is told once until a rewrite works again
    QString rewriteReport();
    // the report follows a correction or deletion; the journal stays on the row the change left it on
    SessionChange journalChanged();
    ParticipantViews participantViews();
    MatrixParameters matrixParameters();

    std::unique_ptr<Database> m_db;
    Prompter* m_prompter;
    const Clock* m_clock;
    std::unique_ptr<TableView> m_callsign;
    std::unique_ptr<TableView> m_journal;
    std::array<std::unique_ptr<TableView>, kBandCount> m_bands;
    std::unique_ptr<ReportLines> m_reportLines;
    std::unique_ptr<ScoreTally> m_scoreTally;
    ContestValues m_values;
    int m_tour = 0;
    Score m_score;
    bool m_scoreCounted = false;
    bool m_reportFailureTold = false;
    bool m_frequencyLossTold = false;
    QTimer m_readAhead;
    // the tables whose damage, or check that could not run, the operator has been told about, and what is
    // still to tell
    QSet<QString> m_checkTold;
    QStringList m_untoldFileCheck;
};
