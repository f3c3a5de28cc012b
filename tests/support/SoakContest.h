#pragma once

#include "contest/Score.h"
#include "support/Fakes.h"

#include <QDateTime>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class DataGrid;
class TForm1;

// How big a contest the soak runs and how often the operator goes back over a contact.
struct SoakPlan
{
    int participants = 2000;
    int tours = 8;
    int tourMinutes = 60;
    int contacts = 10000;
    // a correction after every n-th contact, a take-back after every m-th; every k-th contact works a
    // taken-back row again
    int correctionEvery = 20;
    int takeBackEvery = 50;
    int reworkEvery = 30;
    // memory is read after this many contacts and again at the end
    int warmupContacts = 1000;
};

struct SoakFigures
{
    // every contact, from Enter to the window idle again, in entry order: the time that passed, and the
    // processor time spent, which leaves out the waits for the disk
    std::vector<qint64> contactNs;
    std::vector<qint64> contactCpuNs;
    qint64 importNs = 0;
    qint64 runNs = 0;
    qint64 rssAfterWarmupKb = -1;
    qint64 rssAtEndKb = -1;
    int corrections = 0;
    int takeBacks = 0;
    int reworks = 0;
    int toursChangedInPrompt = 0;
};

// A step of the soak that did not go as the operator expects it to.
class SoakFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The resident memory of this process now and at its peak, from /proc/self/status; -1 where it cannot
// be read.
qint64 residentKilobytes();
qint64 peakResidentKilobytes();

// A whole contest worked through the window in the working directory, as the operator works it: the
// participant list imported from Callsign.txt, the tour clock (a fake clock, ticked by hand) changing the
// tours, contacts entered with Enter on a row chosen in the active band grid, some corrected and some
// taken back in edit mode. It keeps what it entered, so that the journal, the contest table, the score
// and the report can be checked against it at the end.
class SoakContest
{
public:
    explicit SoakContest(const SoakPlan& plan);
    ~SoakContest();
    SoakContest(const SoakContest&) = delete;
    SoakContest& operator=(const SoakContest&) = delete;

    // Throw SoakFailure at the first step that goes wrong.
    void importParticipants();
    void runTours(const std::function<void(int tour)>& afterTour = {});

    // Where the journal, the contest table, the score or Report.txt differ from what was entered (at
    // most a few of each), and any window that was left open over the main window; empty when all agree.
    QStringList disagreements();

    const SoakFigures& figures() const { return m_figures; }
    TForm1& form() { return *m_form; }

private:
    // One contact as entered; a correction changes its code, a take-back ends it.
    struct Contact
    {
        int participant = 0;
        int band = 0;
        int tour = 0;    // 1-based
        qint64 atMs = 0; // local time of Enter, from the contest start
        int serial = 0;
        int region = 0;
        int receivedSerial = 0;
        bool live = true;
    };
    // what a row of the contest matrix last became: never worked, worked by a contact, or taken back
    struct PlannedRow
    {
        int contact = -1;
    };

    void startWindow();
    void setUpContest();
    // promptMovesClockToMs >= 0: the tour clock moves on to that moment while the prompt is open
    void enterContact(int tour, qint64 atMs, qint64 promptMovesClockToMs);
    void pressEnterOn(int band, int row, int expectedParticipant, int tour, qint64 atMs, qint64 promptMovesClockToMs);
    void correctContact();
    void takeBackContact();
    void editCell(const Contact& contact, int column, const std::function<void(DataGrid&)>& typing);
    void activate(int band);
    void setEditMode(bool on);
    void tickAt(qint64 atMs);
    void forgetShownTour();
    void checkNoComplaint(const QString& step);
    void checkReportEndsWith(const Contact& contact);
    // a contact of the tour shown that still stands, taken out of the list of them; -1 if none
    int pickLiveContact();
    PlannedRow& planned(int participant, int band, int tour);

    QStringList journalDisagreements();
    QStringList contestDisagreements();
    QStringList scoreDisagreements();
    Score expectedScore() const;
    QStringList reportDisagreements();

    QDateTime localAt(qint64 atMs) const { return m_start.addMSecs(atMs); }
    QString sentText(const Contact& contact) const;
    QString receivedText(const Contact& contact) const;
    QString reportLine(const Contact& contact) const;

    SoakPlan m_plan;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
    QStringList m_leftOpen;
    std::unique_ptr<TForm1> m_form;
    QRandomGenerator m_random{20061022};
    QDateTime m_start;
    QStringList m_callsigns;
    QHash<QString, int> m_participantOf;
    std::vector<int> m_regions;
    // all memory of the expectations is taken before the run, so that the run's figures are the window's
    std::vector<Contact> m_contacts;
    std::vector<PlannedRow> m_plannedRows;
    // rows of the running tour per band: worked at some time (they stand among the dated rows), and
    // taken back and not yet worked again
    std::array<int, 4> m_datedRows{};
    std::array<std::vector<int>, 4> m_takenBack;
    std::vector<int> m_liveInTour;
    int m_serial = 1;
    SoakFigures m_figures;
};
