#include "contest/BandViews.h"
#include "contest/ReportExport.h"
#include "contest/Score.h"
#include "support/SessionFixture.h"

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <ostream>

using namespace Qt::Literals::StringLiterals;

// Random sequences of what an operator does, run on a contest session and checked after every step against a
// plain model of what each step may change: an action on one contact changes that contact's journal line and
// no other, a worked planned row is tied to one journal line of its own and agrees with it, a station is worked
// once per contest, band, mode and tour, and the score and Report.txt are what a count afresh gives.
// RC_PARAMS sets how many sequences run (tests/README.md).

namespace
{
constexpr int kTours = 2;
const QStringList kCallsigns = {u"RA3ABC"_s, u"UA1XYZ"_s, u"R7AB"_s, u"ra3abc"_s};

// What the model keeps of the contest: the contest number in use, and whether Clear or Restore left a copy.
struct Model
{
    int contestNumber = 1;
    bool copied = false;
};

std::string text(const QString& value)
{
    return value.toStdString();
}

// The session under test, as the window holds it, with what each step is checked against.
struct Rig
{
    SessionFixture f;
    QMap<qint64, QString> journalBefore;
    QMap<qint64, qint64> tiesBefore; // planned row -> journal line

    Rig()
    {
        f.start(kTours);
        f.addParticipants({kCallsigns.at(0), kCallsigns.at(1)});
    }

    QMap<qint64, QString> journal()
    {
        QMap<qint64, QString> rows;
        for (const QString& row : f.rows(u"SELECT ID, D, T, CallSign, ContestNumber, TourNumber, Diapasone, "
                                         "Modulation, SentText, RecvText, KI FROM Journal"_s)) {
            rows.insert(row.section(u' ', 0, 0).toLongLong(), row);
        }
        return rows;
    }

    QMap<qint64, qint64> ties()
    {
        QMap<qint64, qint64> pairs;
        for (const QString& row : f.rows(u"SELECT ContestID, JournalID FROM Tie.Tie"_s)) {
            pairs.insert(row.section(u' ', 0, 0).toLongLong(), row.section(u' ', 1, 1).toLongLong());
        }
        return pairs;
    }

    void before()
    {
        f.clock.now = f.clock.now.addSecs(7);
        journalBefore = journal();
        tiesBefore = ties();
    }

    int count(const QString& sql) { return f.rows(sql).value(0).toInt(); }

    // the row of the view that a pick falls on, current; -1 when the view is empty
    qint64 pickRow(int band, int pick)
    {
        TableView& view = f.view(band);
        const int rows = view.recordCount();
        if (rows == 0) {
            return -1;
        }
        view.moveTo(pick % rows);
        return view.currentId();
    }

    // After a step on the planned row `planned` or the journal line `line` (-1 for none): the lines of other
    // contacts are as they were, and at most one line is new, tied to the planned row.
    void checkStep(qint64 planned, qint64 line)
    {
        const QMap<qint64, QString> now = journal();
        const QMap<qint64, qint64> tiesNow = ties();
        QSet<qint64> own{line};
        own << tiesBefore.value(planned, -1) << tiesNow.value(planned, -1);
        for (auto row = journalBefore.cbegin(); row != journalBefore.cend(); ++row) {
            if (!own.contains(row.key())) {
                RC_ASSERT(text(now.value(row.key(), u"(deleted)"_s)) == text(row.value()));
            }
        }
        for (auto row = now.cbegin(); row != now.cend(); ++row) {
            if (!journalBefore.contains(row.key())) {
                RC_ASSERT(planned >= 0);
                RC_ASSERT(tiesNow.value(planned, -1) == row.key());
            }
        }
        checkTables();
    }

    void checkTables()
    {
        // once per contest, band, mode and tour
        RC_ASSERT(count(u"SELECT count(*) FROM (SELECT 1 FROM Contest WHERE T IS NOT NULL GROUP BY ContestNumber, "
                        "TourNumber, Diapasone, Modulation COLLATE TOURLOG_NOCASE, CallSign COLLATE TOURLOG_NOCASE "
                        "HAVING count(*) > 1)"_s)
                  == 0);
        // every worked row tied to a journal line of its own that agrees with it, and nothing else tied
        const int worked = count(u"SELECT count(*) FROM Contest WHERE T IS NOT NULL"_s);
        RC_ASSERT(count(u"SELECT count(*) FROM Tie.Tie"_s) == worked);
        RC_ASSERT(count(u"SELECT count(DISTINCT JournalID) FROM Tie.Tie"_s) == worked);
        RC_ASSERT(count(u"SELECT count(*) FROM Tie.Tie JOIN Contest c ON c.ID=ContestID JOIN Journal j ON "
                        "j.ID=JournalID WHERE c.T IS NOT NULL AND c.D IS j.D AND c.T IS j.T AND c.SentText IS "
                        "j.SentText AND c.RecvText IS j.RecvText AND c.TourNumber=j.TourNumber AND "
                        "c.Diapasone=j.Diapasone AND c.Modulation=j.Modulation COLLATE TOURLOG_NOCASE AND "
                        "c.CallSign=j.CallSign COLLATE TOURLOG_NOCASE"_s)
                  == worked);
        RC_ASSERT(count(u"SELECT count(*) FROM Frequency.Frequency WHERE JournalID NOT IN (SELECT ID FROM "
                        "Journal)"_s)
                  == 0);
        const qint64 contest = f.session->values().contestNumber;
        RC_ASSERT(f.session->updateScore().totals == countScore(f.db(), contest).totals);
    }

    // the report the session keeps is the one written afresh from the journal
    void checkReport()
    {
        QTemporaryDir fresh;
        writeReport(f.session->journalView(), countScore(f.db(), f.session->values().contestNumber).totals,
                    QDir(fresh.path()));
        QFile file(QDir(fresh.path()).filePath(u"Report.txt"_s));
        RC_ASSERT(file.open(QIODevice::ReadOnly));
        RC_ASSERT(f.report() == file.readAll());
    }
};

using Command = rc::state::Command<Model, Rig>;

struct AddParticipant : Command
{
    int who = *rc::gen::inRange(0, int(kCallsigns.size()));

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        rig.f.addParticipants({kCallsigns.at(who)});
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "add " << text(kCallsigns.at(who)); }
};

// Callsign.txt of some of the callsigns, imported
struct ImportList : Command
{
    std::vector<int> who = *rc::gen::container<std::vector<int>>(rc::gen::inRange(0, int(kCallsigns.size())));

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        QFile list(rig.f.env.path(u"Callsign.txt"_s));
        RC_ASSERT(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const int callsign : who) {
            list.write(kCallsigns.at(callsign).toUtf8() + "\r\n");
        }
        list.close();
        rig.f.session->importCallsign();
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override
    {
        os << "import";
        for (const int callsign : who) {
            os << " " << text(kCallsigns.at(callsign));
        }
    }
};

struct EnterContact : Command
{
    int band = *rc::gen::inRange(0, kBandCount);
    int pick = *rc::gen::inRange(0, 1000);
    bool editMode = *rc::gen::arbitrary<bool>();
    bool radio = *rc::gen::arbitrary<bool>();

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        const qint64 planned = rig.pickRow(band, pick);
        rig.f.prompter.answers.push_back(u"23 015"_s);
        const std::optional<ContactFrequency> reading = radio
            ? std::optional(ContactFrequency{band < 2 ? 3650000 : 1850000, band % 2 ? u"CW"_s : u"LSB"_s})
            : std::nullopt;
        const SessionChange change = rig.f.session->enterContact(band, bandViews().at(band).caption, editMode, reading);
        rig.checkStep(planned, -1);
        if (change.journalChanged) {
            rig.checkReport();
        }
    }
    void show(std::ostream& os) const override
    {
        os << "enter on band " << band << " row " << pick << (editMode ? " in edit mode" : "")
           << (radio ? " with the radio" : "");
    }
};

// A cell typed in edit mode: the callsign, the tour, the time (set or cleared) or the received code.
struct Edit
{
    int field = *rc::gen::inRange(0, 5);
    int value = *rc::gen::inRange(0, 4);

    std::pair<QString, QVariant> edit() const
    {
        switch (field) {
        case 0:
            return {u"CallSign"_s, kCallsigns.at(value)};
        case 1:
            return {u"TourNumber"_s, value % kTours + 1};
        case 2:
            return {u"T"_s, QTime(21, value, 0)};
        case 3:
            return {u"T"_s, QVariant()};
        default:
            return {u"RecvText"_s, u"2%1 01%1"_s.arg(value)};
        }
    }
    std::string shown() const
    {
        const auto [name, to] = edit();
        return text(name) + "=" + (to.isNull() ? std::string("(empty)") : text(to.toString()));
    }
};

// The change typed on a row, then stored as the grid stores it when the row is left, or with Enter pressed on the
// row while it is pending; a refused one undone with Esc.
struct TypeChange : Command
{
    int band = *rc::gen::inRange(0, kBandCount);
    int pick = *rc::gen::inRange(0, 1000);
    Edit edit;
    bool thenEnter = *rc::gen::arbitrary<bool>();

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        const qint64 planned = rig.pickRow(band, pick);
        if (planned < 0) {
            return;
        }
        TableView& view = rig.f.view(band);
        view.edit();
        const auto [field, value] = edit.edit();
        view.setValue(field, value);
        rig.f.prompter.answers.push_back(u"24 016"_s);
        SessionChange change;
        try {
            change = thenEnter ? rig.f.session->enterContact(band, bandViews().at(band).caption, true)
                               : rig.f.session->storeCorrection(band);
        } catch (const StoreError&) {
            view.cancel();
        }
        rig.f.prompter.answers.clear();
        rig.checkStep(planned, -1);
        if (change.journalChanged) {
            rig.checkReport();
        }
    }
    void show(std::ostream& os) const override
    {
        os << "type on band " << band << " row " << pick << ": " << edit.shown()
           << (thenEnter ? ", then Enter on the row" : ", then leave the row");
    }
};

struct DeleteRow : Command
{
    int band = *rc::gen::inRange(-1, kBandCount); // -1: the journal grid
    int pick = *rc::gen::inRange(0, 1000);

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        const qint64 id = rig.pickRow(band, pick);
        if (id < 0) {
            return;
        }
        rig.f.session->deleteRow(band, id);
        rig.checkStep(band < 0 ? -1 : id, band < 0 ? id : -1);
    }
    void show(std::ostream& os) const override
    {
        os << "Ctrl+Delete on " << (band < 0 ? std::string("the journal") : "band " + std::to_string(band)) << " row "
           << pick;
    }
};

struct ChangeTour : Command
{
    int tour = *rc::gen::inRange(0, kTours + 1);

    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        rig.f.session->setTour(tour);
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "tour " << tour; }
};

struct ChangeContestNumber : Command
{
    int contest = *rc::gen::inRange(1, 3);

    void apply(Model& model) const override { model.contestNumber = contest; }
    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        rig.f.session->setContestNumber(contest);
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "contest number " << contest; }
};

struct Clear : Command
{
    void apply(Model& model) const override { model.copied = true; }
    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        rig.f.session->clearContestTable();
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "Clear"; }
};

struct Restore : Command
{
    int pick = *rc::gen::inRange(0, 1000);

    void checkPreconditions(const Model& model) const override { RC_PRE(model.copied); }
    void run(const Model&, Rig& rig) const override
    {
        rig.before();
        const QList<ParticipantCopy> copies = rig.f.session->participantCopies();
        RC_ASSERT(!copies.isEmpty());
        rig.f.session->restoreParticipants(copies.at(pick % copies.size()).folder);
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "Restore copy " << pick; }
};

struct Reopen : Command
{
    void run(const Model& model, Rig& rig) const override
    {
        rig.before();
        const int serial = rig.f.session->values().serial;
        rig.f.session.reset();
        rig.f.start(kTours);
        rig.f.session->setExchange(22, serial);
        rig.f.session->setContestNumber(model.contestNumber);
        rig.checkStep(-1, -1);
    }
    void show(std::ostream& os) const override { os << "close and open the folder again"; }
};
} // namespace

class TestContestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // about a minute on two cores; RapidCheck reads its parameters when it first runs
        if (!qEnvironmentVariableIsSet("RC_PARAMS")) {
            qputenv("RC_PARAMS", "max_success=250 max_size=60");
        }
    }

    void operatorSequencesKeepOneContactOneKey()
    {
        const bool held = rc::check("an operator's sequences keep every contact whole and apart", [] {
            Rig rig;
            rc::state::check(
                Model{}, rig,
                rc::state::gen::execOneOfWithArgs<AddParticipant, ImportList, EnterContact, EnterContact, EnterContact,
                                                  EnterContact, TypeChange, TypeChange, TypeChange, TypeChange,
                                                  TypeChange, DeleteRow, ChangeTour, ChangeContestNumber, Clear,
                                                  Restore, Reopen>());
        });
        QVERIFY(held);
    }
};

QTEST_GUILESS_MAIN(TestContestModel)
#include "test_contestmodel.moc"
