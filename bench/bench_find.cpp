// Typing a callsign on the 80 m SSB grid of a window that shows every tour, each keystroke until the event
// loop is idle; against the same lookup by bare SQLite with its own instr() and upper(): the first row
// whose callsign begins with the text, else the first that holds it. Then again with every callsign
// stored in Cyrillic ("ЩЩ" for "QQ"), still typed in Latin letters.

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QTest>

#include <sqlite3.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kRepeats = 5;

// what the operator types, and the callsign it must end on; an empty one: nothing holds the text
struct Typing
{
    const char* what;
    QString keys;
    QString found;
};

// the callsigns as the folder stores them: generated, or with their first two letters in Cyrillic
QString stored(const QString& generated, bool cyrillic)
{
    return cyrillic ? u"ЩЩ"_s + generated.mid(2) : generated;
}

std::vector<Typing> typings(const ContestScale& scale, bool cyrillic)
{
    // the last participant's rows are the last of the planned ones: its prefix is found at the far end
    const QString last = generatedCallsign(scale.participants - 1);
    return {
        {"the last participant, keystroke by keystroke", last, stored(last, cyrillic)},
        {"a tail held by one callsign only", last.mid(3), stored(last, cyrillic)},
        {"a text no callsign holds", u"QQ9X"_s, QString()},
    };
}

void storeCallsignsInCyrillic(const QString& folder)
{
    BareConnection bare(folder);
    bare.exec("UPDATE Contest.Contest SET CallSign = 'ЩЩ' || substr(CallSign, 3)");
}

// the slowest keystroke of a typing, each keystroke's time the median of its repeats
qint64 slowestKeystroke(const std::vector<std::vector<qint64>>& byKeystroke)
{
    qint64 slowest = 0;
    for (const std::vector<qint64>& samples : byKeystroke) {
        slowest = std::max(slowest, medianOf(samples));
    }
    return slowest;
}

std::vector<std::vector<qint64>> typedInWindow(BenchWindow& window, const Typing& typing)
{
    DataGrid& grid = controls(window.form()).bandGrid(0);
    TableView& band = controls(window.form()).bandView(0);
    std::vector<std::vector<qint64>> times(size_t(typing.keys.size()));
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        band.first();
        BenchWindow::settle();
        for (qsizetype i = 0; i < typing.keys.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(&grid, typing.keys.at(i).toLatin1());
            BenchWindow::settle();
            times[size_t(i)].push_back(timer.nsecsElapsed());
        }
        const QString current = band.text(u"CallSign"_s);
        if (!typing.found.isEmpty() && current != typing.found) {
            throw std::runtime_error("the typed callsign was not found");
        }
        QTest::keyClick(&grid, Qt::Key_Escape);
        BenchWindow::settle();
    }
    return times;
}

// the id of the first row the statement finds for the text, or -1
qint64 firstRow(sqlite3_stmt* query, const QByteArray& text)
{
    sqlite3_reset(query);
    sqlite3_bind_text(query, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    return sqlite3_step(query) == SQLITE_ROW ? sqlite3_column_int64(query, 0) : -1;
}

std::vector<std::vector<qint64>> typedBare(const QString& folder, const Typing& typing)
{
    BareConnection bare(folder);
    const auto prepare = [&bare](const char* sql) {
        sqlite3_stmt* query = nullptr;
        checkSqlite(sqlite3_prepare_v2(bare.handle(), sql, -1, &query, nullptr), bare.handle());
        return query;
    };
    sqlite3_stmt* prefix = prepare("SELECT ID FROM Contest.Contest WHERE Diapasone=80 AND Modulation='SSB' "
                                   "AND instr(upper(CallSign), upper(?1)) = 1 ORDER BY D, CallSign, ID LIMIT 1");
    sqlite3_stmt* holds = prepare("SELECT ID FROM Contest.Contest WHERE Diapasone=80 AND Modulation='SSB' "
                                  "AND instr(upper(CallSign), upper(?1)) > 0 ORDER BY D, CallSign, ID LIMIT 1");
    std::vector<std::vector<qint64>> times(size_t(typing.keys.size()));
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        for (qsizetype i = 0; i < typing.keys.size(); ++i) {
            const QByteArray text = typing.keys.left(i + 1).toUtf8();
            QElapsedTimer timer;
            timer.start();
            if (firstRow(prefix, text) < 0) {
                firstRow(holds, text);
            }
            times[size_t(i)].push_back(timer.nsecsElapsed());
        }
    }
    sqlite3_finalize(prefix);
    sqlite3_finalize(holds);
    return times;
}
} // namespace

int main(int argc, char* argv[])
{
    useOffscreenPlatform();
    QApplication app(argc, argv);
    printHeader("slowest keystroke, every tour, until idle");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        generateContestFolder(folder.path(), scale);
        const double targetMs = scale.participants > 2000 ? 50.0 : 20.0;
        for (const bool cyrillic : {false, true}) {
            if (cyrillic) {
                storeCallsignsInCyrillic(folder.path());
                std::printf("stored in Cyrillic, typed in Latin\n");
            }
            for (const Typing& typing : typings(scale, cyrillic)) {
                std::vector<std::vector<qint64>> program;
                {
                    BenchWindow window(folder.path());
                    controls(window.form()).tour().setValue(0);
                    controls(window.form()).bandGrid(0).setFocus();
                    BenchWindow::settle();
                    program = typedInWindow(window, typing);
                }
                const std::vector<std::vector<qint64>> bare = typedBare(folder.path(), typing);
                printWithin(typing.what, name, slowestKeystroke(program), slowestKeystroke(bare), targetMs);
            }
        }
    }
    return 0;
}
