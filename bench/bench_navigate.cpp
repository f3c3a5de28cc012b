// Ctrl+End and Ctrl+Home on the 80 m SSB grid of a freshly opened window that shows every tour, and
// Ctrl+End on the journal grid, each until the event loop is idle; against reading the screenful of
// rows that the key brings into view with one query by bare SQLite.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include <sqlite3.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kWindows = 5;

struct Moves
{
    std::vector<qint64> bandEnd;
    std::vector<qint64> bandHome;
    std::vector<qint64> journalEnd;
    int screenRows = 0;
};

qint64 keyUntilIdle(DataGrid& grid, Qt::Key key)
{
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(&grid, key, Qt::ControlModifier);
    BenchWindow::settle();
    return timer.nsecsElapsed();
}

void expectCurrentRow(const TableView& view, int row, const char* failure)
{
    if (view.currentRow() != row) {
        throw std::runtime_error(failure);
    }
}

Moves movesThroughWindows(const QString& folder, const ContestScale& scale)
{
    Moves moves;
    for (int i = 0; i < kWindows; ++i) {
        BenchWindow window(folder);
        TForm1& form = window.form();
        controls(form).tour().setValue(0);
        DataGrid& grid = controls(form).bandGrid(0);
        grid.setFocus();
        BenchWindow::settle();
        TableView& band = controls(form).bandView(0);
        if (band.recordCount() != scale.participants * scale.tours) {
            throw std::runtime_error("the band view does not show every tour");
        }
        moves.bandEnd.push_back(keyUntilIdle(grid, Qt::Key_End));
        expectCurrentRow(band, band.recordCount() - 1, "Ctrl+End did not reach the last row");
        moves.bandHome.push_back(keyUntilIdle(grid, Qt::Key_Home));
        expectCurrentRow(band, 0, "Ctrl+Home did not reach the first row");

        DataGrid& journalGrid = controls(form).rxDBGrid3();
        journalGrid.setFocus();
        BenchWindow::settle();
        TableView& journal = controls(form).journalView();
        moves.journalEnd.push_back(keyUntilIdle(journalGrid, Qt::Key_End));
        expectCurrentRow(journal, journal.recordCount() - 1, "Ctrl+End did not reach the last contact");

        const int rowHeight = std::max(1, grid.verticalHeader()->defaultSectionSize());
        moves.screenRows = std::max(moves.screenRows, grid.viewport()->height() / rowHeight + 1);
    }
    return moves;
}

// every column of the first rows of a query, as a grid reads the rows it shows
qint64 readScreen(BareConnection& bare, const char* sql, int rows)
{
    sqlite3_stmt* query = nullptr;
    checkSqlite(sqlite3_prepare_v2(bare.handle(), sql, -1, &query, nullptr), bare.handle());
    QElapsedTimer timer;
    timer.start();
    sqlite3_bind_int(query, 1, rows);
    const int columns = sqlite3_column_count(query);
    int read = 0;
    qint64 bytes = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            bytes += sqlite3_column_bytes(query, c);
        }
        ++read;
    }
    const qint64 elapsed = timer.nsecsElapsed();
    sqlite3_finalize(query);
    if (read != rows || bytes == 0) {
        throw std::runtime_error("the query read the wrong rows");
    }
    return elapsed;
}

Moves movesBare(const QString& folder, int screenRows)
{
    Moves moves;
    for (int i = 0; i < kWindows; ++i) {
        BareConnection bare(folder);
        moves.bandEnd.push_back(readScreen(bare,
                                           "SELECT * FROM Contest.Contest WHERE Diapasone=80 AND Modulation='SSB' "
                                           "ORDER BY D DESC, CallSign DESC, ID DESC LIMIT ?",
                                           screenRows));
        moves.bandHome.push_back(readScreen(bare,
                                            "SELECT * FROM Contest.Contest WHERE Diapasone=80 AND Modulation='SSB' "
                                            "ORDER BY D, CallSign, ID LIMIT ?",
                                            screenRows));
        moves.journalEnd.push_back(
            readScreen(bare, "SELECT * FROM Journal.Journal ORDER BY ID DESC LIMIT ?", screenRows));
    }
    return moves;
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("a fresh window, every tour, key until idle");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        generateContestFolder(folder.path(), scale);
        const Moves program = movesThroughWindows(folder.path(), scale);
        const Moves bare = movesBare(folder.path(), program.screenRows);
        const double targetMs = scale.participants > 2000 ? 50.0 : 20.0;
        printWithin("Ctrl+End, band grid of every tour", name, medianOf(program.bandEnd), medianOf(bare.bandEnd),
                    targetMs);
        printWithin("Ctrl+Home after it", name, medianOf(program.bandHome), medianOf(bare.bandHome), targetMs);
        printWithin("Ctrl+End, journal grid", name, medianOf(program.journalEnd), medianOf(bare.journalEnd), targetMs);
    }
    return 0;
}
