// Import of 1,000 new participants with 8 tours (32,000 contest rows) through the window's command,
// against the same rows inserted with bare prepared statements in one transaction.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kNewParticipants = 1000;
constexpr int kRepetitions = 3;

void writeParticipantList(const QString& folder, int firstIndex)
{
    QFile list(QDir(folder).filePath(u"Callsign.txt"_s));
    if (!list.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write the participant list");
    }
    for (int i = 0; i < kNewParticipants; ++i) {
        list.write(generatedCallsign(firstIndex + i).toLatin1() + "\r\n");
    }
}

qint64 importThroughWindow(const QString& folder, const ContestScale& scale)
{
    writeParticipantList(folder, scale.participants);
    BenchWindow window(folder);
    TForm1& form = window.form();
    controls(form).tours().setValue(scale.tours);
    const int before = controls(form).callsignView().recordCount();
    QElapsedTimer timer;
    timer.start();
    controls(form).importCallsign1().trigger();
    BenchWindow::settle();
    const qint64 elapsed = timer.nsecsElapsed();
    if (controls(form).callsignView().recordCount() != before + kNewParticipants) {
        throw std::runtime_error("the import lost participants");
    }
    return elapsed;
}

qint64 importBare(const QString& folder, const ContestScale& scale)
{
    BareConnection bare(folder);
    sqlite3* db = bare.handle();
    sqlite3_stmt* participant = nullptr;
    sqlite3_stmt* contest = nullptr;
    checkSqlite(
        sqlite3_prepare_v2(db, "INSERT INTO Callsign.Callsign (CallSign) VALUES (?)", -1, &participant, nullptr), db);
    checkSqlite(sqlite3_prepare_v2(db,
                                   "INSERT INTO Contest.Contest (ContestNumber, Diapasone, Modulation, TourNumber, "
                                   "CallSign) VALUES (1, ?, ?, ?, ?)",
                                   -1, &contest, nullptr),
                db);
    QElapsedTimer timer;
    timer.start();
    bare.exec("BEGIN IMMEDIATE");
    for (int i = 0; i < kNewParticipants; ++i) {
        const QByteArray callsign = generatedCallsign(scale.participants + i).toLatin1();
        sqlite3_bind_text(participant, 1, callsign.constData(), int(callsign.size()), SQLITE_TRANSIENT);
        checkSqlite(sqlite3_step(participant), db);
        sqlite3_reset(participant);
        for (int combination = 0; combination < 4; ++combination) {
            for (int tour = 1; tour <= scale.tours; ++tour) {
                sqlite3_bind_int(contest, 1, combination < 2 ? 80 : 160);
                sqlite3_bind_text(contest, 2, combination % 2 == 0 ? "SSB" : "CW", -1, SQLITE_STATIC);
                sqlite3_bind_int(contest, 3, tour);
                sqlite3_bind_text(contest, 4, callsign.constData(), int(callsign.size()), SQLITE_TRANSIENT);
                checkSqlite(sqlite3_step(contest), db);
                sqlite3_reset(contest);
            }
        }
    }
    bare.exec("COMMIT");
    const qint64 elapsed = timer.nsecsElapsed();
    sqlite3_finalize(participant);
    sqlite3_finalize(contest);
    return elapsed;
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("import of 1,000 participants x 8 tours");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir master;
        generateContestFolder(master.path(), scale);
        std::vector<qint64> program;
        std::vector<qint64> bare;
        for (int i = 0; i < kRepetitions; ++i) {
            QTemporaryDir programFolder;
            QTemporaryDir bareFolder;
            copyContestFolder(master.path(), programFolder.path());
            copyContestFolder(master.path(), bareFolder.path());
            bare.push_back(importBare(bareFolder.path(), scale));
            program.push_back(importThroughWindow(programFolder.path(), scale));
        }
        printRatio("import of 1,000 participants x 8 tours", name, medianOf(program), medianOf(bare), 2.0);
    }
    return 0;
}
