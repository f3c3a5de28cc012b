#include "RawTableFile.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>
#include <QTime>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const ViewFilter kBand80Ssb{{u"Diapasone"_s, 80}, {u"Modulation"_s, u"SSB"_s}};
const ViewFilter kBand160{{u"Diapasone"_s, 160}};

void appendRow(TableView& view, const QVariant& d, const QString& callsign, int diapasone = 80,
               const QString& modulation = u"SSB"_s, int tour = 1, int contest = 1, const QString& commentary = {})
{
    view.append();
    view.setValue(u"D"_s, d);
    view.setValue(u"CallSign"_s, callsign);
    view.setValue(u"Diapasone"_s, diapasone);
    view.setValue(u"Modulation"_s, modulation);
    view.setValue(u"TourNumber"_s, tour);
    view.setValue(u"ContestNumber"_s, contest);
    view.setValue(u"Commentary"_s, commentary);
    view.post();
}

// The view's rows from first to last, walked as the logic walks them.
QStringList walk(TableView& view, const QString& field)
{
    QStringList values;
    view.first();
    while (!view.eof()) {
        values.append(view.text(field));
        view.next();
    }
    return values;
}

// counts the rows the view writes, as the store announces them to the other views
struct PostCounter
{
    explicit PostCounter(TableView& view)
    {
        QObject::connect(&view.database(), &Database::rowChanged, &view,
                         [this, &view](FolderTable, qint64, const QObject* origin) { posts += origin == &view; });
    }
    int posts = 0;
};

QList<qint64> idsInOrder(const TableView& view)
{
    QList<qint64> ids;
    const int idField = view.fieldIndex(u"ID"_s);
    for (int row = 0; row < view.recordCount(); ++row) {
        ids.append(view.valueAt(row, idField).toLongLong());
    }
    return ids;
}
} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void filterSetWhileClosedAppliesOnOpen();
    void newFilterOnFilteredViewAppliesAtOnce();
    void newFilterOnUnfilteredViewWaitsForTheFlag();
    void filterOnAFieldTheViewLacksIsRefused();
    void changingTheFilterPostsAPendingEdit();
    void postsAfterAFilterChangeFollowTheNewFilter();
    void nullDateFirstThenCallsign();
    void orderKeptInPlaceMatchesAFreshRead();
    void locate_data();
    void locate();
    void locateStaysWithinTheFilter();
    void currentRowAfterAppendEditPost();
    void currentRowAfterDelete();
    void eofFirstNext();
    void everyPostIsAnnounced();
    void postTogetherLandsWholeOrNotAtAll_data();
    void postTogetherLandsWholeOrNotAtAll();
    void charFieldsAreCutByCharacters_data();
    void charFieldsAreCutByCharacters();
    void valuesAreBoundNotPasted_data();
    void valuesAreBoundNotPasted();
    void secondViewFollowsPostsOfTheFirst();
    void closeDiscardsAPendingChange();
    void datesTimesAndFlagsAsStored();
    void fieldAccessByName();

private:
    std::unique_ptr<TableView> contestView(bool filtered = false, const QString& name = u"Contest80"_s);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestTableView::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
}

void TestTableView::cleanup()
{
    m_db.reset();
    m_env.reset();
}

std::unique_ptr<TableView> TestTableView::contestView(bool filtered, const QString& name)
{
    auto view = std::make_unique<TableView>(*m_db, contestViewDefinition(name));
    view->setFilter(kBand80Ssb);
    view->setFiltered(filtered);
    view->open();
    return view;
}

void TestTableView::filterSetWhileClosedAppliesOnOpen()
{
    auto all = contestView();
    appendRow(*all, QVariant(), u"QQ0QQQ"_s, 80, u"SSB"_s);
    appendRow(*all, QVariant(), u"QQ0QQR"_s, 80, u"CW"_s);
    appendRow(*all, QVariant(), u"QQ0QQS"_s, 160, u"SSB"_s);

    TableView band(*m_db, contestViewDefinition(u"Contest80"_s));
    band.setFilter(kBand80Ssb);
    band.setFiltered(true);
    QVERIFY(!band.isOpen());
    band.open();
    QCOMPARE(walk(band, u"CallSign"_s), QStringList({u"QQ0QQQ"_s}));
    QCOMPARE(band.filter(), kBand80Ssb);
    QVERIFY(band.filtered());

    band.close();
    band.setFiltered(false);
    band.open();
    QCOMPARE(band.recordCount(), 3);
}

void TestTableView::newFilterOnFilteredViewAppliesAtOnce()
{
    auto view = contestView(true);
    appendRow(*view, QVariant(), u"QQ0QQA"_s);
    appendRow(*view, QVariant(), u"QQ0QQB"_s);
    appendRow(*view, QVariant(), u"QQ0QQC"_s, 160);
    appendRow(*view, QVariant(), u"QQ0QQD"_s, 160);
    appendRow(*view, QVariant(), u"QQ0QQE"_s, 160);
    view->last();
    QCOMPARE(view->currentRow(), 1);

    view->setFilter(kBand160);
    QCOMPARE(view->recordCount(), 3);
    QCOMPARE(view->currentRow(), 0);
    QVERIFY(!view->eof());
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0QQC"_s);

    view->last();
    view->setFiltered(false);
    QCOMPARE(view->recordCount(), 5);
    QCOMPARE(view->currentRow(), 0);
}

void TestTableView::newFilterOnUnfilteredViewWaitsForTheFlag()
{
    auto view = contestView(false);
    appendRow(*view, QVariant(), u"QQ0QQA"_s);
    appendRow(*view, QVariant(), u"QQ0QQB"_s, 160);

    view->setFilter(kBand160);
    QCOMPARE(view->recordCount(), 2);

    view->setFiltered(true);
    QCOMPARE(view->recordCount(), 1);
    QCOMPARE(view->currentRow(), 0);
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0QQB"_s);
}

void TestTableView::filterOnAFieldTheViewLacksIsRefused()
{
    // SQLite would read the unknown name as text, equal to this value: every row would pass
    const ViewFilter unknown{{u"Band"_s, u"Band"_s}};
    auto view = contestView(true);
    appendRow(*view, QVariant(), u"QQ0QQA"_s);
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setFilter(unknown));
    QCOMPARE(view->filter(), kBand80Ssb);
    QCOMPARE(view->recordCount(), 1);

    TableView closed(*m_db, contestViewDefinition(u"Contest80"_s));
    QVERIFY_THROWS_EXCEPTION(StoreError, closed.setFilter(unknown));
}

void TestTableView::changingTheFilterPostsAPendingEdit()
{
    auto view = contestView(true);
    appendRow(*view, QVariant(), u"QQ0QQA"_s);
    const PostCounter counter(*view);

    view->edit();
    view->setValue(u"SentText"_s, u"22 001"_s);
    view->setFilter(kBand160);

    QCOMPARE(view->state(), TableView::State::Browse);
    QCOMPARE(counter.posts, 1);
    QCOMPARE(QuerySingleValue(*m_db, u"select SentText from Contest"_s), QVariant(u"22 001"_s));

    view->setFilter(kBand80Ssb);
    view->edit();
    view->setValue(u"SentText"_s, u"22 002"_s);
    view->setFiltered(false);
    QCOMPARE(counter.posts, 2);
    QCOMPARE(QuerySingleValue(*m_db, u"select SentText from Contest"_s), QVariant(u"22 002"_s));
}

void TestTableView::postsAfterAFilterChangeFollowTheNewFilter()
{
    auto view = contestView(true);
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    view->setFilter(kBand160);
    appendRow(*view, QVariant(), u"QQ0BBB"_s, 160);
    appendRow(*view, QVariant(), u"QQ0CCC"_s, 80);
    QCOMPARE(walk(*view, u"CallSign"_s), QStringList({u"QQ0BBB"_s}));

    view->setFiltered(false);
    appendRow(*view, QVariant(), u"QQ0DDD"_s, 80);
    QCOMPARE(view->recordCount(), 4);
    view->close();
    view->setFiltered(true);
    view->open();
    appendRow(*view, QVariant(), u"QQ0EEE"_s, 80);
    QCOMPARE(walk(*view, u"CallSign"_s), QStringList({u"QQ0BBB"_s}));
}

void TestTableView::nullDateFirstThenCallsign()
{
    auto view = contestView();
    appendRow(*view, QDate(2006, 10, 22), u"QQ0BBB"_s);
    appendRow(*view, QVariant(), u"QQ0ZZZ"_s);
    appendRow(*view, QDate(2006, 10, 21), u"QQ0CCC"_s);
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    appendRow(*view, QDate(2006, 10, 22), u"QQ0AAA"_s);

    const QStringList expected = {u"QQ0AAA"_s, u"QQ0ZZZ"_s, u"QQ0CCC"_s, u"QQ0AAA"_s, u"QQ0BBB"_s};
    QCOMPARE(walk(*view, u"CallSign"_s), expected);
    QCOMPARE(walk(*view, u"D"_s), QStringList({u""_s, u""_s, u"2006-10-21"_s, u"2006-10-22"_s, u"2006-10-22"_s}));

    auto fresh = contestView();
    QCOMPARE(walk(*fresh, u"CallSign"_s), expected);
}

// The view keeps its order in memory and updates it in place on every post; after many appends, edits
// that move rows and deletes, in blocks large enough to split, it must list what a fresh read lists.
void TestTableView::orderKeptInPlaceMatchesAFreshRead()
{
    const QList<QVariant> dates = {QVariant(), QDate(2006, 10, 21), QDate(2006, 10, 22), QDate(2006, 10, 23)};
    QRandomGenerator random(20061022);
    auto callsign = [&random] { return u"QQ%1"_s.arg(random.bounded(60)); };

    auto view = contestView(false);
    auto band = contestView(true);
    Transaction transaction(*m_db);
    for (int step = 0; step < 2600; ++step) {
        const int action = random.bounded(10);
        if (action < 7 || view->recordCount() == 0) {
            appendRow(*view, dates.at(random.bounded(dates.size())), callsign(), random.bounded(2) ? 80 : 160);
        } else if (action < 9) {
            view->moveTo(random.bounded(view->recordCount()));
            view->edit();
            view->setValue(u"D"_s, dates.at(random.bounded(dates.size())));
            view->setValue(u"CallSign"_s, callsign());
            view->setValue(u"Diapasone"_s, random.bounded(2) ? 80 : 160);
            view->post();
        } else {
            view->moveTo(random.bounded(view->recordCount()));
            view->remove();
        }
        if (step % 650 == 649) {
            QCOMPARE(idsInOrder(*view), idsInOrder(*contestView(false)));
            QCOMPARE(idsInOrder(*band), idsInOrder(*contestView(true)));
        }
    }
    transaction.commit();
}

void TestTableView::locate_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<QString>("expected"); // Commentary of the row found; empty when none is

    const QString five = u"ContestNumber;TourNumber;Diapasone;Modulation;Callsign"_s;
    QTest::newRow("five fields, numbers as text")
        << five << QVariantList({u"1"_s, u"3"_s, u"80"_s, u"ssb"_s, u"qq0qqq"_s}) << true << u"r2"_s;
    QTest::newRow("five fields, case-sensitive misses")
        << five << QVariantList({u"1"_s, u"3"_s, u"80"_s, u"ssb"_s, u"qq0qqq"_s}) << false << QString();
    QTest::newRow("five fields, case-sensitive exact")
        << five << QVariantList({1, 3, 80, u"CW"_s, u"QQ0QQQ"_s}) << false << u"r3"_s;
    QTest::newRow("cyrillic ignores case") << u"Callsign"_s << QVariantList({u"жж0жж"_s}) << true << u"r4"_s;
    QTest::newRow("stored in lower case") << u"CALLSIGN"_s << QVariantList({u"QQ0QQR"_s}) << true << u"r5"_s;
    QTest::newRow("first in view order") << u"Callsign"_s << QVariantList({u"QQ0QQQ"_s}) << true << u"r1"_s;
    QTest::newRow("whole text, not a prefix") << u"Modulation"_s << QVariantList({u"SS"_s}) << true << QString();
    QTest::newRow("number given as text misses") << u"TourNumber"_s << QVariantList({u"4"_s}) << true << QString();
    QTest::newRow("text that is no number") << u"TourNumber"_s << QVariantList({u"abc"_s}) << true << QString();
    QTest::newRow("latin and cyrillic in one callsign")
        << u"Callsign"_s << QVariantList({u"UA3жЯ"_s}) << true << u"r6"_s;
    QTest::newRow("latin prefix of a mixed callsign") << u"Callsign"_s << QVariantList({u"ua3"_s}) << true << QString();
    QTest::newRow("null matches null") << u"SentText;Callsign"_s << QVariantList({QVariant(), u"qq0qqr"_s}) << true
                                       << u"r5"_s;
}

void TestTableView::locate()
{
    QFETCH(QString, fields);
    QFETCH(QVariantList, values);
    QFETCH(bool, caseInsensitive);
    QFETCH(QString, expected);

    auto view = contestView(false);
    appendRow(*view, QVariant(), u"QQ0QQQ"_s, 80, u"SSB"_s, 1, 1, u"r1"_s);
    appendRow(*view, QVariant(), u"QQ0QQQ"_s, 80, u"SSB"_s, 3, 1, u"r2"_s);
    appendRow(*view, QVariant(), u"QQ0QQQ"_s, 80, u"CW"_s, 3, 1, u"r3"_s);
    appendRow(*view, QVariant(), u"ЖЖ0ЖЖ"_s, 160, u"SSB"_s, 3, 1, u"r4"_s);
    appendRow(*view, QVariant(), u"qq0qqr"_s, 80, u"SSB"_s, 3, 2, u"r5"_s);
    appendRow(*view, QVariant(), u"ua3Жя"_s, 80, u"CW"_s, 3, 2, u"r6"_s);
    view->last();
    const QString before = view->text(u"Commentary"_s);

    const bool found = view->locate(fields, values, caseInsensitive);

    QCOMPARE(found, !expected.isEmpty());
    QCOMPARE(view->text(u"Commentary"_s), found ? expected : before);
    QCOMPARE(view->eof(), !found); // last() set the end flag, a match clears it
}

void TestTableView::locateStaysWithinTheFilter()
{
    auto all = contestView(false);
    appendRow(*all, QVariant(), u"QQ0QQQ"_s, 160);
    appendRow(*all, QVariant(), u"QQ0QQQ"_s, 80, u"SSB"_s, 2);

    auto band = contestView(true);
    QVERIFY(band->locate(u"Callsign"_s, {u"qq0qqq"_s}, true));
    QCOMPARE(band->value(u"Diapasone"_s), QVariant(80));
    QVERIFY(!band->locate(u"Callsign;Diapasone"_s, {u"QQ0QQQ"_s, 160}, true));
}

void TestTableView::currentRowAfterAppendEditPost()
{
    auto view = contestView();
    appendRow(*view, QVariant(), u"QQ0MMM"_s);
    appendRow(*view, QVariant(), u"QQ0NNN"_s);
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0NNN"_s);
    QCOMPARE(view->currentRow(), 1);

    // an appended row that sorts first is current where it landed
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    QCOMPARE(view->currentRow(), 0);
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0AAA"_s);
    QVERIFY(!view->eof());

    // an edit that moves the row keeps it current
    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0ZZZ"_s);
    view->post();
    QCOMPARE(view->currentRow(), 2);
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0ZZZ"_s);
    QCOMPARE(walk(*view, u"CallSign"_s), QStringList({u"QQ0MMM"_s, u"QQ0NNN"_s, u"QQ0ZZZ"_s}));

    // an edit that leaves the order alone stays on its row
    view->moveTo(1);
    view->edit();
    view->setValue(u"RecvText"_s, u"22 005"_s);
    view->post();
    QCOMPARE(view->currentRow(), 1);
    QCOMPARE(view->text(u"RecvText"_s), u"22 005"_s);
}

void TestTableView::currentRowAfterDelete()
{
    auto view = contestView();
    for (const QString& callsign : {u"QQ0AAA"_s, u"QQ0BBB"_s, u"QQ0CCC"_s}) {
        appendRow(*view, QVariant(), callsign);
    }
    view->first();
    view->remove();
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0BBB"_s); // the next one
    view->last();
    view->remove();
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0BBB"_s); // no next one: the one before
    view->remove();
    QCOMPARE(view->recordCount(), 0);
    QCOMPARE(view->currentRow(), -1);
    QVERIFY(view->eof());
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(StoreError, view->remove());
}

void TestTableView::eofFirstNext()
{
    auto view = contestView();
    view->first();
    QVERIFY(view->eof());

    for (const QString& callsign : {u"QQ0AAA"_s, u"QQ0BBB"_s, u"QQ0CCC"_s}) {
        appendRow(*view, QVariant(), callsign);
    }
    view->first();
    QVERIFY(!view->eof());
    QCOMPARE(view->currentRow(), 0);
    view->next();
    view->next();
    QVERIFY(!view->eof());
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0CCC"_s);
    view->next();
    QVERIFY(view->eof());
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0CCC"_s); // passing the end keeps the last row
    view->first();
    QVERIFY(!view->eof());
    QCOMPARE(walk(*view, u"CallSign"_s).size(), 3);
}

void TestTableView::everyPostIsAnnounced()
{
    auto view = contestView();
    const PostCounter counter(*view);

    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0BBB"_s);
    view->post();
    // a pending change posted by moving away is announced too
    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0CCC"_s);
    view->first();
    QCOMPARE(counter.posts, 3);

    // neither a cancelled change nor an unchanged edit is a post
    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0DDD"_s);
    view->cancel();
    view->edit();
    view->next();
    QCOMPARE(counter.posts, 3);
}

void TestTableView::postTogetherLandsWholeOrNotAtAll_data()
{
    QTest::addColumn<bool>("alongsideFails");
    QTest::newRow("both land") << false;
    QTest::newRow("a failure alongside writes neither") << true;
}

void TestTableView::postTogetherLandsWholeOrNotAtAll()
{
    QFETCH(bool, alongsideFails);
    auto view = contestView();
    auto other = contestView();
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0BBB"_s);
    bool failed = false;
    try {
        view->postTogether([&] {
            appendRow(*other, QVariant(), u"QQ0CCC"_s);
            if (alongsideFails) {
                throw StoreError(u"refused"_s);
            }
        });
    } catch (const StoreError&) {
        failed = true;
    }
    QCOMPARE(failed, alongsideFails);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), alongsideFails ? 1 : 2);
    QCOMPARE(QuerySingleValue(*m_db, u"select min(CallSign) from Contest"_s).toString(),
             alongsideFails ? u"QQ0AAA"_s : u"QQ0BBB"_s);
    // a change not written stays pending as typed, for the operator to mend or undo
    QCOMPARE(view->isEditing(), alongsideFails);
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0BBB"_s);
}

void TestTableView::charFieldsAreCutByCharacters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("stored");

    QTest::newRow("KI takes two") << u"KI"_s << u"22 001"_s << u"22"_s;
    QTest::newRow("KI of one") << u"KI"_s << u"7"_s << u"7"_s;
    QTest::newRow("cyrillic callsign") << u"CallSign"_s << u"ЖЖЖЖЖЖЖЖЖЖЯЯ"_s << u"ЖЖЖЖЖЖЖЖЖЖ"_s;
    QTest::newRow("cyrillic KI") << u"KI"_s << u"ЖЯ 017"_s << u"ЖЯ"_s;
    QTest::newRow("commentary of 300") << u"Commentary"_s << QString(300, u'Я') << QString(255, u'Я');
    QTest::newRow("short text unchanged") << u"Modulation"_s << u"SSB"_s << u"SSB"_s;
    QTest::newRow("characters beyond 16 bits stay whole") << u"RecvText"_s << u"😀😀😀😀😀😀😀😀😀😀😀"_s << u"😀😀😀😀😀😀😀😀😀😀"_s;
}

void TestTableView::charFieldsAreCutByCharacters()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    QFETCH(QString, stored);

    TableView journal(*m_db, journalViewDefinition());
    journal.open();
    journal.append();
    journal.setValue(field, written);
    journal.post();

    QCOMPARE(journal.text(field), stored);
    RawTableFile file(m_env->path(u"Journal.db"_s));
    QCOMPARE(file.value(u"select %1 from Journal"_s.arg(field)), QVariant(stored));
}

void TestTableView::valuesAreBoundNotPasted_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");

    QTest::newRow("apostrophe") << u"CallSign"_s << u"O'BRIEN"_s;
    QTest::newRow("statement in a callsign") << u"CallSign"_s << u"X'); delet"_s;
    QTest::newRow("statement in a commentary") << u"Commentary"_s << u"X'); delete from Contest;--"_s;
    QTest::newRow("double quotes") << u"Commentary"_s << u"\"; DROP TABLE Contest; --"_s;
    QTest::newRow("question mark") << u"Commentary"_s << u"?1 ?"_s;
}

void TestTableView::valuesAreBoundNotPasted()
{
    QFETCH(QString, field);
    QFETCH(QString, text);

    auto view = contestView();
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    view->append();
    view->setValue(field, text);
    view->post();
    view->first();

    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s).toInt(), 2);
    QVERIFY(view->locate(field, {text}, true));
    QCOMPARE(view->text(field), text);
    view->edit();
    view->setValue(u"SentText"_s, u"22 001"_s);
    view->post();
    QVERIFY(view->locate(field, {text}, false));
    QCOMPARE(view->text(u"SentText"_s), u"22 001"_s);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest where SentText is null"_s).toInt(), 1);

    // so is a filter's: a view of the rows holding the text counts, finds and places those rows alone
    TableView holding(*m_db, contestViewDefinition(u"Contest80"_s));
    holding.setFilter({{field, text}});
    holding.setFiltered(true);
    holding.open();
    QCOMPARE(holding.recordCount(), 1);
    QVERIFY(holding.locate(u"SentText"_s, {u"22 001"_s}, false));
    holding.append();
    holding.setValue(field, text);
    holding.post();
    QCOMPARE(holding.recordCount(), 2);
    QCOMPARE(holding.text(field), text);
    QVERIFY(holding.isNull(u"SentText"_s));
}

void TestTableView::secondViewFollowsPostsOfTheFirst()
{
    auto writer = contestView(false);
    appendRow(*writer, QVariant(), u"QQ0MMM"_s, 80, u"SSB"_s, 1, 1, u"m"_s);
    appendRow(*writer, QVariant(), u"QQ0NNN"_s, 80, u"SSB"_s, 1, 1, u"n"_s);
    auto band = contestView(true);
    QVERIFY(band->locate(u"Callsign"_s, {u"QQ0NNN"_s}, false));
    const qint64 followed = band->currentId();

    appendRow(*writer, QVariant(), u"QQ0AAA"_s);      // sorts before the followed row
    appendRow(*writer, QVariant(), u"QQ0BBB"_s, 160); // outside the band's filter
    QCOMPARE(walk(*band, u"CallSign"_s), QStringList({u"QQ0AAA"_s, u"QQ0MMM"_s, u"QQ0NNN"_s}));
    QVERIFY(band->locateId(followed));

    // the second view reads the written value, not what it held before
    QVERIFY(writer->locate(u"Callsign"_s, {u"QQ0NNN"_s}, false));
    writer->edit();
    writer->setValue(u"RecvText"_s, u"22 001"_s);
    writer->post();
    QCOMPARE(band->currentId(), followed);
    QCOMPARE(band->text(u"RecvText"_s), u"22 001"_s);

    // a row edited out of the filter leaves the view
    QVERIFY(writer->locate(u"Callsign"_s, {u"QQ0AAA"_s}, false));
    writer->edit();
    writer->setValue(u"Modulation"_s, u"CW"_s);
    writer->post();
    QCOMPARE(band->recordCount(), 2);
    QCOMPARE(band->currentId(), followed);

    // a deleted row leaves it too
    QVERIFY(writer->locate(u"Callsign"_s, {u"QQ0MMM"_s}, false));
    writer->remove();
    QCOMPARE(walk(*band, u"CallSign"_s), QStringList({u"QQ0NNN"_s}));
}

void TestTableView::closeDiscardsAPendingChange()
{
    auto view = contestView();
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    const PostCounter counter(*view);

    view->edit();
    view->setValue(u"CallSign"_s, u"QQ0ZZZ"_s);
    view->close();
    view->open();
    QCOMPARE(view->text(u"CallSign"_s), u"QQ0AAA"_s);

    view->append();
    view->setValue(u"CallSign"_s, u"QQ0BBB"_s);
    view->close();
    view->open();
    QCOMPARE(view->recordCount(), 1);
    QCOMPARE(counter.posts, 0);
    QCOMPARE(view->state(), TableView::State::Browse);
}

void TestTableView::datesTimesAndFlagsAsStored()
{
    auto view = contestView();
    view->append();
    view->setValue(u"D"_s, QDate(2006, 10, 22));
    view->setValue(u"T"_s, QTime(16, 43, 19, 250));
    view->setValue(u"OutFlag"_s, true);
    view->setValue(u"TourNumber"_s, u" 3 "_s);
    view->post();
    view->append();
    view->setValue(u"D"_s, u"2006-10-23"_s);
    view->setValue(u"T"_s, u"7:05"_s);
    view->setValue(u"OutFlag"_s, false);
    view->post();

    RawTableFile file(m_env->path(u"Contest.db"_s));
    QCOMPARE(file.rows(u"select D, T, OutFlag, TourNumber from Contest order by ID"_s),
             QList<QVariantList>({{u"2006-10-22"_s, u"16:43:19.250"_s, qlonglong(1), qlonglong(3)},
                                  {u"2006-10-23"_s, u"07:05:00.000"_s, qlonglong(0), QVariant()}}));
    view->first();
    QCOMPARE(view->value(u"D"_s), QVariant(QDate(2006, 10, 22)));
    QCOMPARE(view->value(u"T"_s), QVariant(QTime(16, 43, 19, 250)));
    QCOMPARE(view->value(u"OutFlag"_s), QVariant(true));
    QCOMPARE(view->value(u"TourNumber"_s), QVariant(3));

    view->edit();
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setValue(u"D"_s, u"31.02.06"_s));
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setValue(u"TourNumber"_s, u"3a"_s));
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setValue(u"TourNumber"_s, qlonglong(1) << 40));
    view->cancel();
}

void TestTableView::fieldAccessByName()
{
    auto view = contestView();
    appendRow(*view, QVariant(), u"QQ0AAA"_s);
    QCOMPARE(view->text(u"callsign"_s), u"QQ0AAA"_s);
    QCOMPARE(view->text(u"CALLSIGN"_s), u"QQ0AAA"_s);
    QVERIFY(view->isNull(u"t"_s));
    QVERIFY_THROWS_EXCEPTION(StoreError, view->value(u"Nothing"_s));
    view->edit();
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setValue(u"ID"_s, 5));
    view->setValue(u"T"_s, QVariant());
    view->post();
    QVERIFY_THROWS_EXCEPTION(StoreError, view->setValue(u"T"_s, QTime(1, 0))); // not in edit mode
}

QTEST_GUILESS_MAIN(TestTableView)
#include "test_tableview.moc"
