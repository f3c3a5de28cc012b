#include "store/Database.h"
#include "store/FoldedSearch.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const ViewFilter kBandFilter{{u"Diapasone"_s, 80}, {u"Modulation"_s, u"SSB"_s}};
// more than a view reads at open, all sorting first: the rows searched for lie where the order is not read
constexpr int kFillerRows = 600;

struct Row
{
    QString call;
    bool worked = false;
    int band = 80;
};

const QList<Row> kRows = {
    {u"RA5KLM"_s},       {u"РА3ДЕФ"_s},      {u"UA3XYZ"_s, true},       {u"УА3ЧЕ"_s},
    {u"RW1A/P"_s, true}, {u"KL7RA"_s, true}, {u"UA9ABC"_s, false, 160}, {u"UA3A"_s, true},
    {u"UA3A/P"_s, true},
};
} // namespace

// The operator's typed search finds a callsign in a band view whichever keyboard layout it was typed in.
class TestTypedSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typedTextFindsItsRow_data();
    void typedTextFindsItsRow();
    void foldedInstrCountsCharacters_data();
    void foldedInstrCountsCharacters();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestTypedSearch::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
    m_db->attachExisting(u"Contest"_s);
    Transaction transaction(*m_db);
    Statement insert = m_db->prepare(u"INSERT INTO Contest.Contest (D, T, CallSign, TourNumber, Diapasone, "
                                     "Modulation) VALUES (?, ?, ?, 1, ?, 'SSB')"_s);
    const auto add = [&insert](const Row& row) {
        insert.bindAll({row.worked ? QVariant(u"2006-10-21"_s) : QVariant(),
                        row.worked ? QVariant(u"10:00:00.000"_s) : QVariant(), row.call, row.band});
        insert.run();
        insert.reset();
    };
    for (int i = 0; i < kFillerRows; ++i) {
        add({u"AA%1"_s.arg(i, 4, 10, QChar(u'0'))});
    }
    for (const Row& row : kRows) {
        add(row);
    }
    transaction.commit();
}

void TestTypedSearch::cleanup()
{
    m_db.reset();
    m_env.reset();
}

void TestTypedSearch::typedTextFindsItsRow_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // empty: nothing found, the cursor stays

    QTest::newRow("Latin finds Cyrillic") << u"RA3DEF"_s << u"РА3ДЕФ"_s;
    QTest::newRow("Cyrillic finds Latin") << u"РА5"_s << u"RA5KLM"_s;
    QTest::newRow("case is ignored") << u"ra5k"_s << u"RA5KLM"_s;
    QTest::newRow("not worked before worked") << u"ua3"_s << u"УА3ЧЕ"_s;
    QTest::newRow("worked when alone") << u"UA3X"_s << u"UA3XYZ"_s;
    QTest::newRow("letter without twin is itself") << u"ua3ч"_s << u"УА3ЧЕ"_s;
    QTest::newRow("beginning before holding") << u"kl"_s << u"KL7RA"_s;
    QTest::newRow("contained when none begins") << u"KLM"_s << u"RA5KLM"_s;
    QTest::newRow("first contained in order") << u"A3"_s << u"РА3ДЕФ"_s;
    QTest::newRow("slash") << u"/p"_s << u"RW1A/P"_s;
    QTest::newRow("portable call whole") << u"ua3a/p"_s << u"UA3A/P"_s;
    QTest::newRow("small ё as е") << u"ра3дё"_s << u"РА3ДЕФ"_s;
    QTest::newRow("longer than any") << u"RA3DEFG"_s << QString();
    QTest::newRow("other band") << u"UA9"_s << QString();
    QTest::newRow("percent is no wildcard") << u"%"_s << QString();
    QTest::newRow("underscore is no wildcard") << u"R_5"_s << QString();
    QTest::newRow("quote") << u"RA5'"_s << QString();
    QTest::newRow("backslash") << u"\\"_s << QString();
}

void TestTypedSearch::typedTextFindsItsRow()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    TableView view(*m_db, contestViewDefinition(u"Contest80"_s));
    view.setFilter(kBandFilter);
    view.setFiltered(true);
    view.open();
    view.moveTo(1);
    const qint64 before = view.currentId();

    QCOMPARE(view.locateTyped(u"CallSign"_s, typed), !found.isEmpty());
    if (found.isEmpty()) {
        QCOMPARE(view.currentId(), before);
        return;
    }
    QCOMPARE(view.text(u"CallSign"_s), found);
    QCOMPARE(view.idAt(view.currentRow()), view.currentId());
}

void TestTypedSearch::foldedInstrCountsCharacters_data()
{
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QVariant>("typed");
    QTest::addColumn<QVariant>("place");

    QTest::newRow("Latin in Cyrillic") << QVariant(u"УА3ЧЕ"_s) << QVariant(u"a3"_s) << QVariant(2);
    QTest::newRow("after a letter without twin") << QVariant(u"УА3ЧЕ"_s) << QVariant(u"е"_s) << QVariant(5);
    QTest::newRow("three-byte character") << QVariant(u"R€Ё"_s) << QVariant(u"e"_s) << QVariant(3);
    QTest::newRow("small ё stored") << QVariant(u"УА3ёЖ"_s) << QVariant(u"ev"_s) << QVariant(4);
    QTest::newRow("absent") << QVariant(u"RA3"_s) << QVariant(u"RA3A"_s) << QVariant(0);
    QTest::newRow("null text") << QVariant() << QVariant(u"R"_s) << QVariant();
}

void TestTypedSearch::foldedInstrCountsCharacters()
{
    QFETCH(QVariant, text);
    QFETCH(QVariant, typed);
    QFETCH(QVariant, place);
    Statement query = m_db->prepare(u"SELECT %1(?, ?)"_s.arg(QLatin1String(kFoldedInstr)));
    query.bindAll({text, typed});
    QVERIFY(query.step());
    QCOMPARE(query.column(0).toInt(), place.toInt());
    QCOMPARE(query.column(0).isNull(), place.isNull());
}

QTEST_GUILESS_MAIN(TestTypedSearch)
#include "test_typedsearch.moc"
