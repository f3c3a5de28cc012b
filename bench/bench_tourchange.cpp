// A tour change through the window (the four band views refiltered and redrawn), against reading the
// same rows with one SQL query.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/SpinField.h"

#include <QApplication>

#include <sqlite3.h>

#include <stdexcept>

namespace
{
constexpr int kRounds = 2;

qint64 tourChangesThroughWindow(const QString& folder, const ContestScale& scale)
{
    BenchWindow window(folder);
    TForm1& form = window.form();
    std::vector<qint64> samples;
    for (int round = 0; round < kRounds; ++round) {
        for (int tour = 1; tour <= scale.tours; ++tour) {
            QElapsedTimer timer;
            timer.start();
            controls(form).tour().setValue(tour);
            BenchWindow::settle();
            samples.push_back(timer.nsecsElapsed());
            if (controls(form).bandView(0).recordCount() != scale.participants) {
                throw std::runtime_error("a band view shows the wrong rows");
            }
        }
    }
    return medianOf(samples);
}

qint64 tourReadsBare(const QString& folder, const ContestScale& scale)
{
    BareConnection bare(folder);
    sqlite3* db = bare.handle();
    sqlite3_stmt* query = nullptr;
    checkSqlite(sqlite3_prepare_v2(db,
                                   "SELECT * FROM Contest.Contest WHERE TourNumber=? "
                                   "ORDER BY Diapasone, Modulation, D, CallSign, ID",
                                   -1, &query, nullptr),
                db);
    const int columns = sqlite3_column_count(query);
    std::vector<qint64> samples;
    qint64 bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int tour = 1; tour <= scale.tours; ++tour) {
            QElapsedTimer timer;
            timer.start();
            sqlite3_bind_int(query, 1, tour);
            int rows = 0;
            while (sqlite3_step(query) == SQLITE_ROW) {
                for (int c = 0; c < columns; ++c) {
                    bytes += sqlite3_column_bytes(query, c);
                }
                ++rows;
            }
            sqlite3_reset(query);
            samples.push_back(timer.nsecsElapsed());
            if (rows != 4 * scale.participants) {
                throw std::runtime_error("the query read the wrong rows");
            }
        }
    }
    sqlite3_finalize(query);
    return bytes > 0 ? medianOf(samples) : 0;
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("tour change, four views refiltered and drawn");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        generateContestFolder(folder.path(), scale);
        const qint64 bare = tourReadsBare(folder.path(), scale);
        const qint64 program = tourChangesThroughWindow(folder.path(), scale);
        printRatio("tour change, four views refiltered and drawn", name, program, bare, 3.0);
    }
    return 0;
}
