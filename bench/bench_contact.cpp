// One contact through the window, from Enter to the serial advanced (both rows, follow-up, score, report
// rewrite, grid refresh, settings save), against the same two rows written by bare SQLite in one durable
// transaction across the two table files plus the same report bytes written to a file. The two take
// turns, contact by contact; printed are the medians and the pairs of least and greatest ratio.

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

#include <algorithm>
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

// The window in its folder, working one unworked row of the 80 m SSB grid after another, from the end
class ProgramContacts
{
public:
    explicit ProgramContacts(const QString& folder)
        : m_folder(folder)
        , m_window(folder)
        , m_band(controls(m_window.form()).bandView(0))
        , m_grid(controls(m_window.form()).bandGrid(0))
        , m_row(m_band.recordCount())
    {
        m_grid.setFocus();
        BenchWindow::runEventLoop(BenchWindow::kOperatorPauseMs);
    }

    qint64 contact(int number)
    {
        TForm1& form = m_window.form();
        m_row = unworkedRow(m_band, m_row);
        m_band.moveTo(m_row);
        BenchWindow::settle();
        const int serial = controls(form).nppEdit().value();
        m_window.prompter().answers.push_back(u"15 %1"_s.arg(100 + number));
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(&m_grid, Qt::Key_Return);
        BenchWindow::settle();
        const qint64 elapsed = timer.nsecsElapsed();
        if (controls(form).nppEdit().value() != serial + 1 || m_window.prompter().messages != 0) {
            throw std::runtime_error("the contact was not recorded");
        }
        return elapsed;
    }

    QByteArray report() const
    {
        QFile report(QDir(m_folder).filePath(u"Report.txt"_s));
        if (!report.open(QIODevice::ReadOnly)) {
            throw std::runtime_error("no report was written");
        }
        return report.readAll();
    }

private:
    QString m_folder;
    BenchWindow m_window;
    TableView& m_band;
    DataGrid& m_grid;
    int m_row;
};

// The same rows by bare SQLite in one durable transaction across the two table files, then the report
class BareContacts
{
public:
    explicit BareContacts(const QString& folder)
        : m_bare(folder)
        , m_reportPath(QDir(folder).filePath(u"Report.txt"_s))
    {
        sqlite3* db = m_bare.handle();
        sqlite3_stmt* unworked = nullptr;
        checkSqlite(sqlite3_prepare_v2(db,
                                       "SELECT ID, CallSign, TourNumber FROM Contest.Contest WHERE T IS NULL AND "
                                       "Diapasone=80 AND Modulation='SSB' ORDER BY ID DESC LIMIT ?",
                                       -1, &unworked, nullptr),
                    db);
        sqlite3_bind_int(unworked, 1, kContacts);
        while (sqlite3_step(unworked) == SQLITE_ROW) {
            m_rows.push_back({sqlite3_column_int64(unworked, 0),
                              QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(unworked, 1))),
                              sqlite3_column_int(unworked, 2)});
        }
        sqlite3_finalize(unworked);
        checkSqlite(sqlite3_prepare_v2(db, "UPDATE Contest.Contest SET D=?, T=?, SentText=?, RecvText=? WHERE ID=?", -1,
                                       &m_update, nullptr),
                    db);
        checkSqlite(sqlite3_prepare_v2(db,
                                       "INSERT INTO Journal.Journal (ContestNumber, TourNumber, Diapasone, "
                                       "Modulation, CallSign, D, T, SentText, RecvText, KI) "
                                       "VALUES (1, ?, 80, 'SSB', ?, '2006-10-22', '20:05:13.000', ?, ?, ?)",
                                       -1, &m_insert, nullptr),
                    db);
    }
    ~BareContacts()
    {
        sqlite3_finalize(m_update);
        sqlite3_finalize(m_insert);
    }
    BareContacts(const BareContacts&) = delete;
    BareContacts& operator=(const BareContacts&) = delete;

    qint64 contact(int number, const QByteArray& report)
    {
        if (number >= int(m_rows.size())) {
            throw std::runtime_error("no unworked row left");
        }
        const Row& row = m_rows.at(number);
        sqlite3* db = m_bare.handle();
        QElapsedTimer timer;
        timer.start();
        m_bare.exec("BEGIN IMMEDIATE");
        sqlite3_bind_text(m_update, 1, "2006-10-22", -1, SQLITE_STATIC);
        sqlite3_bind_text(m_update, 2, "20:05:13.000", -1, SQLITE_STATIC);
        sqlite3_bind_text(m_update, 3, "22 001", -1, SQLITE_STATIC);
        sqlite3_bind_text(m_update, 4, "15 100", -1, SQLITE_STATIC);
        sqlite3_bind_int64(m_update, 5, row.id);
        checkSqlite(sqlite3_step(m_update), db);
        sqlite3_reset(m_update);
        sqlite3_bind_int(m_insert, 1, row.tour);
        sqlite3_bind_text(m_insert, 2, row.callsign.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(m_insert, 3, "22 001", -1, SQLITE_STATIC);
        sqlite3_bind_text(m_insert, 4, "15 100", -1, SQLITE_STATIC);
        sqlite3_bind_text(m_insert, 5, "15", -1, SQLITE_STATIC);
        checkSqlite(sqlite3_step(m_insert), db);
        sqlite3_reset(m_insert);
        m_bare.exec("COMMIT");
        QFile file(m_reportPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(report) != report.size()) {
            throw std::runtime_error("cannot write the report");
        }
        file.close();
        return timer.nsecsElapsed();
    }

private:
    struct Row
    {
        qint64 id;
        QByteArray callsign;
        int tour;
    };

    BareConnection m_bare;
    QString m_reportPath;
    std::vector<Row> m_rows;
    sqlite3_stmt* m_update = nullptr;
    sqlite3_stmt* m_insert = nullptr;
};

struct Pair
{
    qint64 program = 0;
    qint64 bare = 0;
    double ratio() const { return double(program) / double(std::max<qint64>(bare, 1)); }
};
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
        ProgramContacts program(programFolder.path());
        BareContacts bare(bareFolder.path());
        // taken in turns, so that both meet the same quick and slow moments of the disk
        std::vector<Pair> pairs;
        for (int i = 0; i < kContacts; ++i) {
            Pair pair;
            pair.program = program.contact(i);
            pair.bare = bare.contact(i, program.report());
            pairs.push_back(pair);
        }
        std::vector<qint64> programSamples;
        std::vector<qint64> bareSamples;
        for (const Pair& pair : pairs) {
            programSamples.push_back(pair.program);
            bareSamples.push_back(pair.bare);
        }
        const double target = scale.participants > 2000 ? 3.0 : 2.0;
        printRatio("one contact, Enter to serial advanced", name, medianOf(programSamples), medianOf(bareSamples),
                   target);
        const auto [least, greatest] = std::minmax_element(
            pairs.cbegin(), pairs.cend(), [](const Pair& a, const Pair& b) { return a.ratio() < b.ratio(); });
        // which contact of the run it was, counted from 1
        const auto pairLabel = [&pairs](const char* which, std::vector<Pair>::const_iterator pair) -> QByteArray {
            return QByteArray(which) + " (contact " + QByteArray::number(pair - pairs.cbegin() + 1) + ')';
        };
        printRatio(pairLabel("one contact, least ratio", least).constData(), name, least->program, least->bare, target);
        printRatio(pairLabel("one contact, greatest ratio", greatest).constData(), name, greatest->program,
                   greatest->bare, target);
        // the first contact after a restart may take as long as a usual one at the larger scale, no longer
        constexpr double kFirstContactTarget = 3.0;
        printRatio("first contact, 1.5 s after start-up", name, pairs.front().program, medianOf(bareSamples),
                   kFirstContactTarget);
    }
    return 0;
}
