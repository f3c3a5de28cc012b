// Appending a contest matrix through a filtered table view, against the same rows inserted with bare
// prepared SQLite statements, each in one transaction on a fresh Contest.db, in the same run.

#include "store/Database.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kTours = 8;
constexpr int kRowsPerCallsign = 4 * kTours;
constexpr int kRepetitions = 5;
constexpr int kDefaultRows = 32000;

struct MatrixRow
{
    QString callsign;
    int diapasone;
    QString modulation;
    int tour;
};

// The rows an import writes: for each participant 80 m SSB tours 1..8, 80 m CW, 160 m SSB, 160 m CW.
MatrixRow matrixRow(int index)
{
    const int callsign = index / kRowsPerCallsign;
    const int within = index % kRowsPerCallsign;
    const int combination = within / kTours;
    return {u"QQ%1"_s.arg(callsign, 5, 10, QChar(u'0')), combination < 2 ? 80 : 160,
            combination % 2 == 0 ? u"SSB"_s : u"CW"_s, 1 + within % kTours};
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

// A fresh folder holding the three empty tables, as the program leaves them at its first start.
void makeTables(const QString& folder)
{
    Database db(folder);
    EnsureTables(db);
}

qint64 appendThroughView(const QString& folder, int rows)
{
    Database db(folder);
    TableView view(db, contestViewDefinition(u"Contest80"_s));
    view.setFilter({{u"Diapasone"_s, 80}, {u"Modulation"_s, u"SSB"_s}});
    view.setFiltered(true);
    view.open();

    QElapsedTimer timer;
    timer.start();
    Transaction transaction(db);
    for (int i = 0; i < rows; ++i) {
        const MatrixRow row = matrixRow(i);
        view.append();
        view.setValue(u"ContestNumber"_s, 1);
        view.setValue(u"Diapasone"_s, row.diapasone);
        view.setValue(u"Modulation"_s, row.modulation);
        view.setValue(u"TourNumber"_s, row.tour);
        view.setValue(u"CallSign"_s, row.callsign);
        view.post();
    }
    transaction.commit();
    const qint64 elapsed = timer.nsecsElapsed();
    int shown = 0;
    for (int i = 0; i < rows; ++i) {
        shown += matrixRow(i).diapasone == 80 && matrixRow(i).modulation == u"SSB"_s ? 1 : 0;
    }
    if (view.recordCount() != shown) {
        throw std::runtime_error("the view lost rows");
    }
    return elapsed;
}

qint64 insertBare(const QString& folder, int rows)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QDir(folder).absoluteFilePath(u"Contest.db"_s).toUtf8().constData(), &db), db);
    check(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO Contest (ContestNumber, Diapasone, Modulation, TourNumber, CallSign) "
                             "VALUES (?, ?, ?, ?, ?)",
                             -1, &insert, nullptr),
          db);

    QElapsedTimer timer;
    timer.start();
    check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
    for (int i = 0; i < rows; ++i) {
        const MatrixRow row = matrixRow(i);
        const QByteArray modulation = row.modulation.toUtf8();
        const QByteArray callsign = row.callsign.toUtf8();
        sqlite3_bind_int(insert, 1, 1);
        sqlite3_bind_int(insert, 2, row.diapasone);
        sqlite3_bind_text(insert, 3, modulation.constData(), int(modulation.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, row.tour);
        sqlite3_bind_text(insert, 5, callsign.constData(), int(callsign.size()), SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    const qint64 elapsed = timer.nsecsElapsed();

    sqlite3_finalize(insert);
    sqlite3_close(db);
    return elapsed;
}

// Best of a few runs, each on a fresh folder, so that a stray hiccup of the machine does not count.
qint64 best(const std::function<qint64(const QString&, int)>& run, int rows)
{
    qint64 fastest = std::numeric_limits<qint64>::max();
    for (int i = 0; i < kRepetitions; ++i) {
        QTemporaryDir folder;
        makeTables(folder.path());
        fastest = std::min(fastest, run(folder.path(), rows));
    }
    return fastest;
}

double milliseconds(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // a smaller first size serves profiling under valgrind
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : kDefaultRows;
    if (rows < kRowsPerCallsign) {
        std::fprintf(stderr, "usage: %s [rows, at least %d]\n", argv[0], kRowsPerCallsign);
        return 2;
    }
    const int sizes[] = {rows, 2 * rows};
    qint64 view[2] = {};
    qint64 bare[2] = {};
    std::printf("%8s %12s %12s %8s\n", "rows", "view ms", "bare ms", "ratio");
    for (int i = 0; i < 2; ++i) {
        bare[i] = best(insertBare, sizes[i]);
        view[i] = best(appendThroughView, sizes[i]);
        std::printf("%8d %12.1f %12.1f %8.2f\n", sizes[i], milliseconds(view[i]), milliseconds(bare[i]),
                    double(view[i]) / double(bare[i]));
    }
    std::printf("double / single: view %.2f, bare %.2f (2.00 is linear)\n", double(view[1]) / double(view[0]),
                double(bare[1]) / double(bare[0]));
    return 0;
}
