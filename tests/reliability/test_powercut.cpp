#include "contest/BandViews.h"
#include "contest/ContactEntry.h"
#include "contest/ContestValues.h"
#include "contest/JournalFollowUp.h"
#include "contest/Participants.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/Fakes.h"
#include "support/PowerCutVfs.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QMetaMethod>
#include <QRandomGenerator>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <set>

// The power goes in the middle of each action that writes rows: at every step of a contact and of a
// correction, at random steps of the longer commands, once with every unsynced write lost and once with a
// random part of it kept. The folder, opened again as at the next start, holds every acknowledged action
// whole and otherwise either all of an action or nothing of it, and its three table files are sound.
class TestPowerCut : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void contactEntry_data();
    void contactEntry();
    void correction_data();
    void correction();
    void participants_data();
    void participants();
    void cleanupTestCase();
};

namespace
{
using PowerCutVfs::Loss;

constexpr int kTours = 8;
constexpr int kParticipants = 12;
constexpr int kContacts = 6;
constexpr int kListedParticipants = 20;
constexpr int kRandomCuts = 90;
constexpr int kLastSteps = 4;
constexpr quint32 kSeed = 20061022;
constexpr int kMinimumCuts = 1000;
const QStringList kTables = {QStringLiteral("Callsign"), QStringLiteral("Contest"), QStringLiteral("Journal")};

// The program on a contest folder: its tables and the six views of the window, opened as at start-up.
struct Station
{
    std::unique_ptr<Database> db;
    std::vector<std::unique_ptr<TableView>> bands;
    std::unique_ptr<TableView> callsign;
    std::unique_ptr<TableView> journal;
    FakePrompter prompter;
    FakeClock clock;
    ContestValues values{22, 7, 1, 1};

    Station(const QString& folder, const char* vfsName)
    {
        db = std::make_unique<Database>(folder, vfsName);
        EnsureTables(*db);
        callsign = std::make_unique<TableView>(*db, callsignViewDefinition());
        journal = std::make_unique<TableView>(*db, journalViewDefinition());
        for (const BandViewInfo& info : bandViews()) {
            bands.push_back(std::make_unique<TableView>(*db, contestViewDefinition(info.viewName)));
            bands.back()->setFilter(bandFilter(info, 0));
            bands.back()->setFiltered(true);
        }
        for (TableView* view : views()) {
            view->open();
        }
    }

    ~Station()
    {
        bands.clear();
        callsign.reset();
        journal.reset();
    }

    QList<TableView*> views() const
    {
        QList<TableView*> all{callsign.get(), journal.get()};
        for (const auto& band : bands) {
            all.append(band.get());
        }
        return all;
    }

    ParticipantViews participantViews() { return {*callsign, *bands[0], *bands[1], *bands[2], *bands[3]}; }

    ContactOutcome enter(int band, const QString& code)
    {
        prompter.answers.push_back(code);
        bands[band]->first();
        const ContactEntryContext context{*db,   *bands[band], bandViews()[band].caption, *journal, prompter, clock,
                                          false, values};
        return EnterContact(context);
    }

    // every row of the three tables, in ID order, field by field
    QStringList rows()
    {
        QStringList rows;
        for (const QString& table : kTables) {
            Statement select = db->prepare(QStringLiteral("SELECT * FROM %1.%1 ORDER BY ID").arg(table));
            while (select.step()) {
                QStringList fields{table};
                for (int i = 0; i < select.columnCount(); ++i) {
                    const QVariant value = select.column(i);
                    fields.append(value.isNull() ? QStringLiteral("<null>") : value.toString());
                }
                rows.append(fields.join(u'|'));
            }
        }
        return rows;
    }

    QStringList damagedTables()
    {
        QStringList damaged;
        for (const QString& table : kTables) {
            Statement check = db->prepare(QStringLiteral("PRAGMA %1.integrity_check").arg(table));
            if (!check.step() || check.column(0).toString() != QStringLiteral("ok")) {
                damaged.append(table);
            }
        }
        return damaged;
    }
};

// An action as the operator starts it; true when it was acknowledged (reported as done).
using Action = std::function<bool(Station&)>;

bool succeeds(Station& station, const std::function<void(Station&)>& action)
{
    try {
        action(station);
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

// The first contact of the prepared folder on 80 m SSB: the corrections change its planned row.
bool locateWorkedContact(Station& station)
{
    Statement worked = station.db->prepare(QStringLiteral(
        "SELECT ID FROM Contest.Contest WHERE T IS NOT NULL AND Diapasone=80 AND Modulation='SSB' ORDER BY ID"));
    return worked.step() && station.bands[0]->locateId(worked.column(0).toLongLong());
}

Action correctionAction(const QString& field, const QVariant& value, bool worked)
{
    return [=](Station& station) {
        if (worked ? !locateWorkedContact(station)
                   : !station.bands[1]->locate(QStringLiteral("CallSign"), {QStringLiteral("RA5AA")}, true)) {
            return false;
        }
        TableView& band = *station.bands[worked ? 0 : 1];
        return succeeds(station, [&](Station&) {
            band.edit();
            band.setValue(field, value);
            StoreCorrection(band, *station.journal);
        });
    };
}

const char* lossName(Loss loss)
{
    return loss == Loss::AllUnsynced ? "unsynced lost" : "part of it kept";
}

struct Figures
{
    int cuts = 0;
    int acknowledged = 0;
    int whole = 0; // the action is all there
    int none = 0;  // nothing of it is there
};

QString firstDifference(const QStringList& found, const QStringList& expected)
{
    for (int i = 0; i < std::max(found.size(), expected.size()); ++i) {
        const QString a = found.value(i, QStringLiteral("(none)"));
        const QString b = expected.value(i, QStringLiteral("(none)"));
        if (a != b) {
            return QStringLiteral("row %1: %2 instead of %3").arg(i).arg(a, b);
        }
    }
    return {};
}

class Bench
{
public:
    void prepare()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_template = std::make_unique<QTemporaryDir>();
        {
            Station station(m_template->path(), nullptr);
            QStringList callsigns;
            for (int i = 0; i < kParticipants; ++i) {
                callsigns.append(QStringLiteral("RA%1AA").arg(i));
            }
            writeList(m_template->path(), callsigns);
            ImportCallsign(*station.db, station.participantViews(), listPath(m_template->path()),
                           {1, [] { return kTours; }});
            for (int contact = 0; contact < kContacts; ++contact) {
                QCOMPARE(station.enter(contact % kBandCount, QStringLiteral("23 00%1").arg(contact + 1)),
                         ContactOutcome::Recorded);
            }
            // the next import finds these in the list
            callsigns.clear();
            for (int i = 0; i < kListedParticipants; ++i) {
                callsigns.append(QStringLiteral("UA%1XYZ").arg(i, 2, 10, QLatin1Char('0')));
            }
            writeList(m_template->path(), callsigns);
            m_before = station.rows();
        }
    }

    void finish()
    {
        m_template.reset();
        m_env.reset();
    }

    // Runs the action once without a cut: the steps it takes and the folder it leaves.
    bool dryRun(const Action& action, long long& steps, QStringList& after)
    {
        QTemporaryDir folder;
        copyTemplate(folder.path());
        bool acknowledged = false;
        {
            Station station(folder.path(), PowerCutVfs::kName);
            PowerCutVfs::arm(folder.path(), -1, Loss::AllUnsynced, kSeed);
            acknowledged = action(station);
            steps = PowerCutVfs::steps();
        }
        PowerCutVfs::disarm();
        Station reopened(folder.path(), nullptr);
        after = reopened.rows();
        return acknowledged && after != m_before;
    }

    // One cut after `steps` steps of the action, then the folder as the next start finds it.
    void cut(const QString& name, const Action& action, const QStringList& after, long long steps, Loss loss,
             quint32 seed, Figures& figures)
    {
        QTemporaryDir folder;
        copyTemplate(folder.path());
        bool acknowledged = false;
        {
            Station station(folder.path(), PowerCutVfs::kName);
            PowerCutVfs::arm(folder.path(), steps, loss, seed);
            acknowledged = action(station);
            PowerCutVfs::cutNow();
        }
        PowerCutVfs::restoreAfterCut();
        Station reopened(folder.path(), nullptr);
        const QString where = QStringLiteral("%1, power cut after %2 steps, %3, seed %4")
                                  .arg(name)
                                  .arg(steps)
                                  .arg(QLatin1String(lossName(loss)))
                                  .arg(seed);
        const QStringList damaged = reopened.damagedTables();
        QVERIFY2(damaged.isEmpty(), qPrintable(where + QStringLiteral(": damaged ") + damaged.join(u' ')));
        const QStringList found = reopened.rows();
        ++figures.cuts;
        figures.acknowledged += acknowledged ? 1 : 0;
        if (found == after) {
            ++figures.whole;
            return;
        }
        QVERIFY2(!acknowledged,
                 qPrintable(where + QStringLiteral(": acknowledged but lost, ") + firstDifference(found, after)));
        QVERIFY2(found == m_before,
                 qPrintable(where + QStringLiteral(": half done, ") + firstDifference(found, after)));
        ++figures.none;
    }

    // A cut at every step of the action, 0 to all of them.
    void everyStep(const QString& name, const Action& action, Loss loss, Figures& figures)
    {
        long long steps = 0;
        QStringList after;
        QVERIFY(dryRun(action, steps, after));
        for (long long step = 0; step <= steps && !QTest::currentTestFailed(); ++step) {
            cut(name, action, after, step, loss, kSeed + quint32(step), figures);
        }
    }

    void randomSteps(const QString& name, const Action& action, Loss loss, Figures& figures)
    {
        long long steps = 0;
        QStringList after;
        QVERIFY(dryRun(action, steps, after));
        QRandomGenerator positions(kSeed);
        for (int i = 0; i < kRandomCuts && !QTest::currentTestFailed(); ++i) {
            const quint32 seed = positions.generate();
            // the last steps as well: the action is acknowledged only there
            const long long step = i < kLastSteps ? steps - i : positions.bounded(steps + 1);
            cut(name, action, after, step, loss, seed, figures);
        }
    }

    static QString listPath(const QString& folder)
    {
        return QDir(folder).absoluteFilePath(QStringLiteral("Callsign.txt"));
    }

private:
    static void writeList(const QString& folder, const QStringList& callsigns)
    {
        QFile list(listPath(folder));
        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write(callsigns.join(u'\n').toLatin1());
    }

    // without QFile::copy, which syncs every copy: a disk shared with other work makes that the slowest part
    void copyTemplate(const QString& folder)
    {
        const QDir from(m_template->path());
        for (const QString& name : from.entryList(QDir::Files | QDir::Hidden)) {
            QFile source(from.absoluteFilePath(name));
            QFile copy(QDir(folder).absoluteFilePath(name));
            QVERIFY(source.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly));
            QVERIFY(copy.write(source.readAll()) == source.size());
        }
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QTemporaryDir> m_template;
    QStringList m_before;
};

Bench g_bench;
std::map<QString, Figures> g_figures;
std::set<QByteArray> g_functionsRun;

} // namespace

void TestPowerCut::initTestCase()
{
    PowerCutVfs::registerOnce();
    g_bench.prepare();
}

void TestPowerCut::contactEntry_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<Loss>("loss");
    for (int band = 0; band < kBandCount; ++band) {
        for (const Loss loss : {Loss::AllUnsynced, Loss::RandomPart}) {
            QTest::addRow("%s, %s", qPrintable(bandViews()[band].viewName), lossName(loss)) << band << loss;
        }
    }
}

void TestPowerCut::contactEntry()
{
    g_functionsRun.insert(QTest::currentTestFunction());
    QFETCH(int, band);
    QFETCH(Loss, loss);
    const Action enter = [band](Station& station) {
        return station.enter(band, QStringLiteral("23 015")) == ContactOutcome::Recorded;
    };
    g_bench.everyStep(QStringLiteral("contact"), enter, loss, g_figures[QStringLiteral("contact entry")]);
}

void TestPowerCut::correction_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<Loss>("loss");
    for (const QString& change : {QStringLiteral("time corrected"), QStringLiteral("taken back"),
                                  QStringLiteral("planned callsign corrected"), QStringLiteral("row posted alone")}) {
        for (const Loss loss : {Loss::AllUnsynced, Loss::RandomPart}) {
            QTest::addRow("%s, %s", qPrintable(change), lossName(loss)) << change << loss;
        }
    }
}

void TestPowerCut::correction()
{
    g_functionsRun.insert(QTest::currentTestFunction());
    QFETCH(QString, change);
    QFETCH(Loss, loss);
    Action action;
    if (change == QStringLiteral("time corrected")) {
        action = correctionAction(QStringLiteral("T"), QTime(21, 0, 5), true);
    } else if (change == QStringLiteral("taken back")) {
        action = correctionAction(QStringLiteral("T"), QVariant(), true);
    } else if (change == QStringLiteral("planned callsign corrected")) {
        action = correctionAction(QStringLiteral("CallSign"), QStringLiteral("RA5AB"), false);
    } else {
        // a view without a post hook: its post is a commit of one table file
        action = [](Station& station) {
            TableView participants(*station.db, callsignViewDefinition());
            participants.open();
            participants.append();
            participants.setValue(QStringLiteral("CallSign"), QStringLiteral("RZ9ZZ"));
            return succeeds(station, [&](Station&) { participants.flush(); });
        };
    }
    const bool correction = change != QStringLiteral("row posted alone");
    g_bench.everyStep(change, action, loss, g_figures[correction ? QStringLiteral("correction in edit mode") : change]);
}

void TestPowerCut::participants_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<Loss>("loss");
    for (const QString& command : {QStringLiteral("New Callsign"), QStringLiteral("Import"), QStringLiteral("Clear")}) {
        for (const Loss loss : {Loss::AllUnsynced, Loss::RandomPart}) {
            QTest::addRow("%s, %s", qPrintable(command), lossName(loss)) << command << loss;
        }
    }
}

void TestPowerCut::participants()
{
    g_functionsRun.insert(QTest::currentTestFunction());
    QFETCH(QString, command);
    QFETCH(Loss, loss);
    const MatrixParameters matrix{1, [] { return kTours; }};
    Action action;
    if (command == QStringLiteral("New Callsign")) {
        action = [matrix](Station& station) {
            station.prompter.answers.push_back(QStringLiteral("DL1ABC"));
            return succeeds(station, [&](Station& s) { NewCallsign(*s.db, s.participantViews(), s.prompter, matrix); });
        };
        g_bench.everyStep(command, action, loss, g_figures[command]);
        return;
    }
    if (command == QStringLiteral("Import")) {
        action = [matrix](Station& station) {
            return succeeds(station, [&](Station& s) {
                ImportCallsign(*s.db, s.participantViews(), Bench::listPath(s.db->directory()), matrix);
            });
        };
    } else {
        action = [](Station& station) {
            return succeeds(station, [](Station& s) { ClearContestTable(*s.db, s.participantViews()); });
        };
    }
    g_bench.randomSteps(command, action, loss, g_figures[command]);
}

void TestPowerCut::cleanupTestCase()
{
    g_bench.finish();
    int cuts = 0;
    for (const auto& [action, figures] : g_figures) {
        qInfo("%s: %d cuts, %d acknowledged, all of it there after %d, none of it after %d", qPrintable(action),
              figures.cuts, figures.acknowledged, figures.whole, figures.none);
        cuts += figures.cuts;
    }
    qInfo("%d power cuts", cuts);
    // a run of some of the test functions makes fewer
    int functions = 0;
    for (int i = metaObject()->methodOffset(); i < metaObject()->methodCount(); ++i) {
        const QByteArray name = metaObject()->method(i).name();
        functions += name.endsWith("_data") || name.endsWith("TestCase") ? 0 : 1;
    }
    if (g_functionsRun.size() == size_t(functions)) {
        QVERIFY(cuts >= kMinimumCuts);
    }
}

QTEST_GUILESS_MAIN(TestPowerCut)
#include "test_powercut.moc"
