// One contact through the window, from Enter to the serial advanced (both rows, follow-up, score, report
// rewrite, grid refresh, settings save), against the same two rows written by bare SQLite in one durable
// transaction across the two table files plus the same report bytes written to a file.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kContacts = 15;

// the next row of the 80 m SSB view that has not been worked, from the end so that the rows differ
int unworkedRow(TableView& view, int before)
{
    const int time = view.fieldIndex(u"T"_s);
    for (int row = before - 1; row >= 0; --row) {
        if (view.valueAt(row, time).isNull()) {
            return row;
        }
    }
    throw std::runtime_error("no unworked row left");
}

struct ProgramRun
{
    qint64 median = 0;
    QByteArray report;
};

ProgramRun contactsThroughWindow(const QString& folder)
{
    BenchWindow window(folder);
    TForm1& form = window.form();
    TableView& band = controls(form).bandView(0);
    DataGrid& grid = controls(form).bandGrid(0);
    grid.setFocus();
    BenchWindow::settle();
    std::vector<qint64> samples;
    int row = band.recordCount();
    for (int i = 0; i < kContacts; ++i) {
        row = unworkedRow(band, row);
        band.moveTo(row);
        BenchWindow::settle();
        const int serial = controls(form).nppEdit().value();
        window.prompter().answers.push_back(u"15 %1"_s.arg(100 + i));
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(&grid, Qt::Key_Return);
        BenchWindow::settle();
        samples.push_back(timer.nsecsElapsed());
        if (controls(form).nppEdit().value() != serial + 1 || window.prompter().messages != 0) {
            throw std::runtime_error("the contact was not recorded");
        }
    }
    QFile report(QDir(folder).filePath(u"Report.txt"_s));
    if (!report.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no report was written");
    }
    return {medianOf(samples), report.readAll()};
}

qint64 contactsBare(const QString& folder, const QByteArray& report)
{
    BareConnection bare(folder);
    sqlite3* db = bare.handle();
    sqlite3_stmt* unworked = nullptr;
    checkSqlite(sqlite3_prepare_v2(db,
                                   "SELECT ID, CallSign, TourNumber FROM Contest.Contest WHERE T IS NULL AND "
                                   "Diapasone=80 AND Modulation='SSB' ORDER BY ID DESC LIMIT ?",
                                   -1, &unworked, nullptr),
                db);
    sqlite3_bind_int(unworked, 1, kContacts);
    struct Row
    {
        qint64 id;
        QByteArray callsign;
        int tour;
    };
    std::vector<Row> rows;
    while (sqlite3_step(unworked) == SQLITE_ROW) {
        rows.push_back({sqlite3_column_int64(unworked, 0),
                        QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(unworked, 1))),
                        sqlite3_column_int(unworked, 2)});
    }
    sqlite3_finalize(unworked);

    sqlite3_stmt* update = nullptr;
    sqlite3_stmt* insert = nullptr;
    checkSqlite(sqlite3_prepare_v2(db, "UPDATE Contest.Contest SET D=?, T=?, SentText=?, RecvText=? WHERE ID=?", -1,
                                   &update, nullptr),
                db);
    checkSqlite(sqlite3_prepare_v2(db,
                                   "INSERT INTO Journal.Journal (ContestNumber, TourNumber, Diapasone, Modulation, "
                                   "CallSign, D, T, SentText, RecvText, KI) "
                                   "VALUES (1, ?, 80, 'SSB', ?, '2006-10-22', '20:05:13.000', ?, ?, ?)",
                                   -1, &insert, nullptr),
                db);
    const QString reportPath = QDir(folder).filePath(u"Report.txt"_s);
    std::vector<qint64> samples;
    for (const Row& row : rows) {
        QElapsedTimer timer;
        timer.start();
        bare.exec("BEGIN IMMEDIATE");
        sqlite3_bind_text(update, 1, "2006-10-22", -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 2, "20:05:13.000", -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 3, "22 001", -1, SQLITE_STATIC);
        sqlite3_bind_text(update, 4, "15 100", -1, SQLITE_STATIC);
        sqlite3_bind_int64(update, 5, row.id);
        checkSqlite(sqlite3_step(update), db);
        sqlite3_reset(update);
        sqlite3_bind_int(insert, 1, row.tour);
        sqlite3_bind_text(insert, 2, row.callsign.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, "22 001", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, "15 100", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, "15", -1, SQLITE_STATIC);
        checkSqlite(sqlite3_step(insert), db);
        sqlite3_reset(insert);
        bare.exec("COMMIT");
        QFile file(reportPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(report) != report.size()) {
            throw std::runtime_error("cannot write the report");
        }
        file.close();
        samples.push_back(timer.nsecsElapsed());
    }
    sqlite3_finalize(update);
    sqlite3_finalize(insert);
    return medianOf(samples);
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("one contact, Enter to serial advanced");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir programFolder;
        QTemporaryDir bareFolder;
        generateContestFolder(programFolder.path(), scale);
        copyContestFolder(programFolder.path(), bareFolder.path());
        const ProgramRun program = contactsThroughWindow(programFolder.path());
        const qint64 bare = contactsBare(bareFolder.path(), program.report);
        printRatio("one contact, Enter to serial advanced", name, program.median, bare,
                   scale.participants > 2000 ? 3.0 : 2.0);
    }
    return 0;
}
