#include "RawTableFile.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/SqlDialect.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kCallsignFile = u"Callsign.db"_s;
const QString kContestFile = u"Contest.db"_s;
const QString kJournalFile = u"Journal.db"_s;
const QString kFrequencyFile = u"Frequency.db"_s;
const QString kTieFile = u"Tie.db"_s;

// Journal as an older version of the program kept it, before KI existed.
const QString kJournalWithoutKi = u"CREATE TABLE Journal (ID INTEGER PRIMARY KEY AUTOINCREMENT, D Date, T Time, "
                                  "CallSign Char(10), ContestNumber Integer, TourNumber Integer, Diapasone Integer, "
                                  "Modulation Char(10), OutFlag Boolean, SentText Char(10), RecvText Char(10), "
                                  "Commentary Char(255))"_s;

// names and declared types are matched without regard to case; SQLite reports some in capitals
QStringList lowerCase(QStringList list)
{
    for (QString& item : list) {
        item = item.toLower();
    }
    return list;
}

QStringList declaredFields(const QString& path, const QString& table)
{
    RawTableFile file(path);
    QStringList fields;
    for (const QVariantList& column : file.rows(u"PRAGMA table_info(%1)"_s.arg(table))) {
        fields.append(column.at(1).toString() + u' ' + column.at(2).toString());
    }
    return lowerCase(fields);
}

// index name -> its columns, for every index of the file's table
QMap<QString, QStringList> indexes(const QString& path, const QString& table)
{
    RawTableFile file(path);
    QMap<QString, QStringList> result;
    for (const QVariantList& index : file.rows(u"PRAGMA index_list(%1)"_s.arg(table))) {
        const QString name = index.at(1).toString();
        QStringList columns;
        for (const QVariantList& column : file.rows(u"PRAGMA index_info(\"%1\")"_s.arg(name))) {
            columns.append(column.at(2).toString());
        }
        result.insert(name, lowerCase(columns));
    }
    return result;
}
} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void emptyDirectoryGetsItsTables();
    void emptyDirectoryGetsTheIndexes();
    void tablesOpenThroughTheirViews();
    void journalMissingBesideExistingTables_data();
    void journalMissingBesideExistingTables();
    void journalWithoutKiIsUpgraded();
    void upgradedJournalIsLeftAloneOnSecondStart();
    void failedKiUpgradeIsTriedWholeAgain();
    void journalWithKiIsLeftAlone_data();
    void journalWithKiIsLeftAlone();
    void zeroByteFileCountsAsMissing_data();
    void zeroByteFileCountsAsMissing();
    void existingTablesAreNotTouched();

private:
    void startProgram();
    QString path(const QString& file) const { return m_env->path(file); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestSchema::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TestSchema::cleanup()
{
    m_db.reset();
    m_env.reset();
}

// A fresh connection and EnsureTables, as every start of the program does.
void TestSchema::startProgram()
{
    m_db.reset();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
}

void TestSchema::emptyDirectoryGetsItsTables()
{
    startProgram();

    QCOMPARE(declaredFields(path(kCallsignFile), u"Callsign"_s),
             lowerCase({u"ID INTEGER"_s, u"CallSign Char(10)"_s, u"InCalls Integer"_s, u"OutCalls Integer"_s,
                        u"Name Char(60)"_s, u"Commentary Char(255)"_s}));
    QCOMPARE(declaredFields(path(kContestFile), u"Contest"_s),
             lowerCase({u"ID INTEGER"_s, u"D Date"_s, u"T Time"_s, u"CallSign Char(10)"_s, u"ContestNumber Integer"_s,
                        u"TourNumber Integer"_s, u"Diapasone Integer"_s, u"Modulation Char(10)"_s, u"OutFlag Boolean"_s,
                        u"SentText Char(10)"_s, u"RecvText Char(10)"_s, u"Commentary Char(255)"_s}));
    QCOMPARE(declaredFields(path(kJournalFile), u"Journal"_s),
             lowerCase({u"ID INTEGER"_s, u"D Date"_s, u"T Time"_s, u"CallSign Char(10)"_s, u"ContestNumber Integer"_s,
                        u"TourNumber Integer"_s, u"Diapasone Integer"_s, u"Modulation Char(10)"_s, u"OutFlag Boolean"_s,
                        u"SentText Char(10)"_s, u"RecvText Char(10)"_s, u"KI Char(2)"_s, u"Commentary Char(255)"_s}));
    QCOMPARE(declaredFields(path(kFrequencyFile), u"Frequency"_s),
             lowerCase({u"JournalID INTEGER"_s, u"Hz Integer"_s, u"RadioMode Char(10)"_s}));
    QCOMPARE(declaredFields(path(kTieFile), u"Tie"_s), lowerCase({u"ContestID INTEGER"_s, u"JournalID Integer"_s}));

    // each file holds its own table and nothing else of ours lands beside them
    const QStringList files = QDir(m_env->workDir()).entryList({u"*.db"_s}, QDir::Files);
    QCOMPARE(files, QStringList({kCallsignFile, kContestFile, kFrequencyFile, kJournalFile, kTieFile}));
    RawTableFile contest(path(kContestFile));
    QCOMPARE(
        contest.value(u"select count(*) from sqlite_master where type='table' and name<>'sqlite_sequence'"_s).toInt(),
        1);
}

void TestSchema::emptyDirectoryGetsTheIndexes()
{
    startProgram();

    QCOMPARE(indexes(path(kCallsignFile), u"Callsign"_s),
             (QMap<QString, QStringList>{{scopedIndexName(u"Callsign"_s, u"Callsign"_s), {u"callsign"_s}}}));
    QCOMPARE(indexes(path(kContestFile), u"Contest"_s),
             (QMap<QString, QStringList>{{scopedIndexName(u"Contest"_s, u"Callsign"_s), {u"d"_s, u"callsign"_s}},
                                         {scopedIndexName(u"Contest"_s, u"DT"_s), {u"d"_s, u"t"_s}},
                                         {scopedIndexName(u"Contest"_s, u"BandAllTours"_s),
                                          {u"diapasone"_s, u"modulation"_s, u"d"_s, u"callsign"_s}},
                                         {scopedIndexName(u"Contest"_s, u"Band"_s),
                                          {u"diapasone"_s, u"modulation"_s, u"tournumber"_s, u"d"_s, u"callsign"_s}}}));
    QCOMPARE(indexes(path(kJournalFile), u"Journal"_s),
             (QMap<QString, QStringList>{
                 {scopedIndexName(u"Journal"_s, u"ContestCallSign"_s), {u"contestnumber"_s, u"callsign"_s}},
                 {scopedIndexName(u"Journal"_s, u"ContestKI"_s), {u"contestnumber"_s, u"ki"_s}}}));
    // nothing went into the connection's own file
    RawTableFile main(path(QString::fromLatin1(Database::kMainFileName)));
    QCOMPARE(main.value(u"select count(*) from sqlite_master"_s).toInt(), 0);
}

void TestSchema::tablesOpenThroughTheirViews()
{
    startProgram();
    TableView callsign(*m_db, callsignViewDefinition());
    TableView journal(*m_db, journalViewDefinition());
    TableView contest(*m_db, contestViewDefinition(u"Contest80"_s));
    callsign.open();
    journal.open();
    contest.open();
    QCOMPARE(journal.fieldDef(journal.fieldIndex(u"KI"_s)).width, 2);
    QCOMPARE(contest.fieldDef(contest.fieldIndex(u"Commentary"_s)).width, 255);
    QCOMPARE(callsign.fieldDef(callsign.fieldIndex(u"Name"_s)).width, 60);
    QCOMPARE(contest.fieldDef(contest.fieldIndex(u"D"_s)).kind, FieldKind::Date);
    QCOMPARE(contest.fieldDef(contest.fieldIndex(u"T"_s)).kind, FieldKind::Time);
    QCOMPARE(contest.fieldDef(contest.fieldIndex(u"OutFlag"_s)).kind, FieldKind::Boolean);
    QCOMPARE(contest.fieldDef(contest.fieldIndex(u"ID"_s)).kind, FieldKind::AutoInc);
}

void TestSchema::journalMissingBesideExistingTables_data()
{
    QTest::addColumn<bool>("contestHasDt");
    QTest::newRow("Contest lacks DT") << false;
    QTest::newRow("Contest already has DT") << true;
}

void TestSchema::journalMissingBesideExistingTables()
{
    QFETCH(bool, contestHasDt);
    startProgram();
    m_db.reset();
    QVERIFY(QFile::remove(path(kJournalFile)));
    if (!contestHasDt) {
        RawTableFile(path(kContestFile), false)
            .exec(u"DROP INDEX \"%1\""_s.arg(scopedIndexName(u"Contest"_s, u"DT"_s)));
    }
    const QByteArray callsignBefore = fileBytes(path(kCallsignFile));

    startProgram();

    QVERIFY(declaredFields(path(kJournalFile), u"Journal"_s).contains(u"ki char(2)"_s));
    QCOMPARE(indexes(path(kContestFile), u"Contest"_s).value(scopedIndexName(u"Contest"_s, u"DT"_s)),
             QStringList({u"d"_s, u"t"_s}));
    QCOMPARE(fileBytes(path(kCallsignFile)), callsignBefore);
    TableView journal(*m_db, journalViewDefinition());
    journal.open();
    QCOMPARE(journal.recordCount(), 0);
}

void TestSchema::journalWithoutKiIsUpgraded()
{
    {
        RawTableFile old(path(kJournalFile), false);
        old.exec(kJournalWithoutKi);
        old.exec(u"INSERT INTO Journal (CallSign, RecvText) VALUES ('QQ0QQQ', '22 001'), ('QQ0QQR', null), "
                 "('QQ0QQS', '5'), ('QQ0QQT', 'ЖЯ 017'), ('QQ0QQU', '')"_s);
    }
    // the view cannot open before the upgrade: KI is missing
    {
        Database before(m_env->workDir());
        TableView journal(before, journalViewDefinition());
        QVERIFY_THROWS_EXCEPTION(StoreError, journal.open());
    }

    startProgram();

    const QStringList fields = declaredFields(path(kJournalFile), u"Journal"_s);
    QCOMPARE(fields.size(), 13);
    QCOMPARE(fields.last(), u"ki char(2)"_s);
    RawTableFile file(path(kJournalFile));
    QCOMPARE(file.rows(u"SELECT KI FROM Journal ORDER BY ID"_s),
             QList<QVariantList>({{u"22"_s}, {QVariant()}, {u"5"_s}, {u"ЖЯ"_s}, {u""_s}}));

    TableView journal(*m_db, journalViewDefinition());
    journal.open();
    QCOMPARE(journal.recordCount(), 5);
    QCOMPARE(journal.value(u"KI"_s), QVariant(u"22"_s));
}

void TestSchema::upgradedJournalIsLeftAloneOnSecondStart()
{
    {
        RawTableFile old(path(kJournalFile), false);
        old.exec(kJournalWithoutKi);
        old.exec(u"INSERT INTO Journal (RecvText) VALUES ('22 001')"_s);
    }
    startProgram();
    m_db.reset();
    // an operator's correction after the upgrade must survive the next start
    RawTableFile(path(kJournalFile), false).exec(u"UPDATE Journal SET KI='99'"_s);
    const QByteArray before = fileBytes(path(kJournalFile));

    startProgram();

    QCOMPARE(fileBytes(path(kJournalFile)), before);
    QCOMPARE(declaredFields(path(kJournalFile), u"Journal"_s).size(), 13);
}

// A KI column added but left unfilled would stay so for good, and the score would count no regions.
void TestSchema::failedKiUpgradeIsTriedWholeAgain()
{
    {
        RawTableFile old(path(kJournalFile), false);
        old.exec(kJournalWithoutKi);
        old.exec(u"INSERT INTO Journal (RecvText) VALUES ('22 001')"_s);
        // the filling fails, as on a full disk
        old.exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON Journal BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s);
    }
    startProgram();
    m_db.reset();
    QCOMPARE(declaredFields(path(kJournalFile), u"Journal"_s).size(), 12);

    RawTableFile(path(kJournalFile), false).exec(u"DROP TRIGGER refuse"_s);
    startProgram();
    QCOMPARE(RawTableFile(path(kJournalFile)).rows(u"SELECT KI FROM Journal"_s), QList<QVariantList>({{u"22"_s}}));
}

void TestSchema::journalWithKiIsLeftAlone_data()
{
    QTest::addColumn<QString>("rows");
    QTest::newRow("empty") << QString();
    QTest::newRow("first KI null") << u"INSERT INTO Journal (RecvText, KI) VALUES ('22 001', null), ('23 002', '23')"_s;
    QTest::newRow("first KI set") << u"INSERT INTO Journal (RecvText, KI) VALUES ('22 001', '77')"_s;
}

void TestSchema::journalWithKiIsLeftAlone()
{
    QFETCH(QString, rows);
    startProgram();
    m_db.reset();
    if (!rows.isEmpty()) {
        RawTableFile(path(kJournalFile), false).exec(rows);
    }
    const QByteArray before = fileBytes(path(kJournalFile));

    startProgram();

    QCOMPARE(fileBytes(path(kJournalFile)), before);
}

void TestSchema::zeroByteFileCountsAsMissing_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("Callsign") << u"Callsign"_s;
    QTest::newRow("Contest") << u"Contest"_s;
    QTest::newRow("Journal") << u"Journal"_s;
}

void TestSchema::zeroByteFileCountsAsMissing()
{
    QFETCH(QString, table);
    QFile empty(path(table + u".db"_s));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    startProgram();

    QVERIFY(QFileInfo(path(table + u".db"_s)).size() > 0);
    QVERIFY(!declaredFields(path(table + u".db"_s), table).isEmpty());
    const ViewDefinition definition = table == u"Contest"_s ? contestViewDefinition(u"Contest80"_s)
        : table == u"Journal"_s                             ? journalViewDefinition()
                                                            : callsignViewDefinition();
    TableView view(*m_db, definition);
    view.open();
    QCOMPARE(view.recordCount(), 0);
}

void TestSchema::existingTablesAreNotTouched()
{
    startProgram();
    QVERIFY(RunSql(*m_db, u"insert into Callsign (CallSign) values ('QQ0QQQ')"_s));
    QVERIFY(RunSql(*m_db, u"insert into Contest (CallSign, TourNumber) values ('QQ0QQQ', 1)"_s));
    QVERIFY(RunSql(*m_db, u"insert into Journal (CallSign, KI) values ('QQ0QQQ', '22')"_s));
    m_db.reset();
    const QByteArray callsign = fileBytes(path(kCallsignFile));
    const QByteArray contest = fileBytes(path(kContestFile));
    const QByteArray journal = fileBytes(path(kJournalFile));

    startProgram();

    QCOMPARE(fileBytes(path(kCallsignFile)), callsign);
    QCOMPARE(fileBytes(path(kContestFile)), contest);
    QCOMPARE(fileBytes(path(kJournalFile)), journal);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
