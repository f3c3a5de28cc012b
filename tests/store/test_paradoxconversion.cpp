#include "support/ParadoxFixtures.h"

#include "contest/ReportExport.h"
#include "store/Database.h"
#include "store/ParadoxConversion.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/FolderPermissions.h"
#include "support/TestEnvironment.h"

#include <QDirIterator>
#include <QMap>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace paradoxfixtures;

namespace
{
// every file under the folder with its bytes, so that "nothing changed" can be checked whole
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

// the table's rows as the TSV writes them, read back through SQL in ID order
QStringList storedLines(Database& db, const QString& table, const QString& header)
{
    const QStringList fields = header.split(u'\t');
    Statement rows = db.prepareDialect(u"select %1 from %2 order by ID"_s.arg(fields.join(u", "_s), table));
    QStringList lines = {header};
    while (rows.step()) {
        QVariantList row;
        for (int i = 0; i < fields.size(); ++i) {
            row.append(rows.column(i));
        }
        lines.append(tsvLine(row));
    }
    return lines;
}

QVariant enteredValue(const QString& field, const QString& text)
{
    if (text == u"\\N"_s) {
        return {};
    }
    if (field == u"D"_s) {
        return QDate::fromString(text, Qt::ISODate);
    }
    if (field == u"T"_s) {
        return QTime::fromString(text, u"HH:mm:ss.zzz"_s);
    }
    if (field == u"OutFlag"_s) {
        return text == u"1"_s;
    }
    if (field == u"ContestNumber"_s || field == u"TourNumber"_s || field == u"Diapasone"_s) {
        return text.toInt();
    }
    return text;
}

QByteArray reportOf(const QString& folder)
{
    Database db(folder);
    EnsureTables(db);
    TableView journal(db, journalViewDefinition());
    journal.open();
    writeReport(journal, ScoreTotals{}, QDir(folder));
    return readAll(QDir(folder).filePath(u"Report.txt"_s));
}
} // namespace

// A contest folder of Paradox tables taken over at start-up: every row kept, the originals moved aside
// unchanged, all of the folder or none of it.
class TestParadoxConversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsEveryRowAndKeepsTheOriginals_data();
    void convertsEveryRowAndKeepsTheOriginals();
    void reportIsTheSameAsForTheRowsEnteredAnew();
    void refusalChangesNothing_data();
    void refusalChangesNothing();
    void startAfterACrashRetriesOrFinishes_data();
    void startAfterACrashRetriesOrFinishes();
};

void TestParadoxConversion::convertsEveryRowAndKeepsTheOriginals_data()
{
    QTest::addColumn<QString>("fixture");
    for (const QString& fixture : {u"v7_ki"_s, u"v7_noki"_s, u"v5_noki"_s, u"v7_edited"_s}) {
        QTest::newRow(qPrintable(fixture)) << fixture;
    }
}

void TestParadoxConversion::convertsEveryRowAndKeepsTheOriginals()
{
    QFETCH(QString, fixture);
    TestEnvironment env;
    copyFixture(fixture, env.workDir());
    const QMap<QString, QByteArray> originals = snapshot(env.workDir());

    const ParadoxConversion conversion = convertParadoxFolder(env.workDir());
    QCOMPARE(conversion.outcome, ParadoxConversion::Outcome::Converted);
    QVERIFY2(conversion.message.contains(u"Contest (8 rows)"_s) || conversion.message.contains(u"Contest (9 rows)"_s),
             qPrintable(conversion.message));
    QVERIFY(conversion.message.contains(QDir::toNativeSeparators(env.path(u"paradox"_s))));
    // the originals are all in paradox/, byte for byte; nothing else is left of the conversion
    QCOMPARE(snapshot(env.path(u"paradox"_s)), originals);
    QCOMPARE(QDir(env.workDir()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot).size(),
             conversion.tables.size() + 1);

    Database db(env.workDir());
    EnsureTables(db);
    for (const auto& [table, rows] : conversion.tables) {
        const QStringList expected = expectedLines(fixture, table);
        QCOMPARE(rows, expected.size() - 1);
        QCOMPARE(storedLines(db, table, expected.first()), expected);
    }
    // an older Journal gained KI; AutoInc goes on after the largest ID
    TableView journal(db, journalViewDefinition());
    journal.open();
    journal.append();
    journal.setValue(u"CallSign"_s, u"UA1AAA"_s);
    journal.post();
    QCOMPARE(journal.value(u"ID"_s).toInt(), fixture == u"v7_edited"_s ? 1 : 11);

    QCOMPARE(convertParadoxFolder(env.workDir()).outcome, ParadoxConversion::Outcome::NothingToDo);
}

void TestParadoxConversion::reportIsTheSameAsForTheRowsEnteredAnew()
{
    TestEnvironment converted;
    copyFixture(u"v7_ki"_s, converted.workDir());
    QCOMPARE(convertParadoxFolder(converted.workDir()).outcome, ParadoxConversion::Outcome::Converted);

    TestEnvironment entered;
    {
        Database db(entered.workDir());
        EnsureTables(db);
        TableView journal(db, journalViewDefinition());
        journal.open();
        const QStringList lines = expectedLines(u"v7_ki"_s, u"Journal"_s);
        const QStringList fields = lines.first().split(u'\t');
        for (const QString& line : lines.mid(1)) {
            journal.append();
            const QStringList values = line.split(u'\t');
            for (int i = 1; i < fields.size(); ++i) {
                journal.setValue(fields.at(i), enteredValue(fields.at(i), values.at(i)));
            }
            journal.post();
        }
    }
    const QByteArray report = reportOf(entered.workDir());
    QVERIFY(report.count("\r\n") > 9);
    QCOMPARE(reportOf(converted.workDir()), report);
}

void TestParadoxConversion::refusalChangesNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("looping chain") << u"loop"_s << u"Journal.db: the block chain loops back to block 1"_s;
    QTest::newRow("truncated") << u"truncate"_s << u"Contest.db: a record of block 2 lies past the end"_s;
    QTest::newRow("beside our tables") << u"ours"_s << u"beside table files of Tourlog (Journal.db)"_s;
    QTest::newRow("read-only folder") << u"readonly"_s << u"the folder is read-only"_s;
    QTest::newRow("a field of another width") << u"width"_s << u"Contest.db: field CallSign is"_s;
}

void TestParadoxConversion::refusalChangesNothing()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    TestEnvironment env;
    copyFixture(u"v7_ki"_s, env.workDir());
    if (damage == u"loop"_s) {
        QFile journal(env.path(u"Journal.db"_s));
        QVERIFY(journal.open(QIODevice::ReadWrite) && journal.seek(2048 + 2048) && journal.write("\x01", 1) == 1);
    } else if (damage == u"truncate"_s) {
        QVERIFY(QFile(env.path(u"Contest.db"_s)).resize(2048 + 2048 + 100));
    } else if (damage == u"width"_s) {
        // CallSign two characters wider and Modulation two narrower: the records keep their size
        QFile contest(env.path(u"Contest.db"_s));
        QVERIFY(contest.open(QIODevice::ReadWrite) && contest.seek(0x78 + 2 * 3 + 1) && contest.write("\x0c", 1) == 1
                && contest.seek(0x78 + 2 * 7 + 1) && contest.write("\x08", 1) == 1);
    } else if (damage == u"ours"_s) {
        QVERIFY(QFile::remove(env.path(u"Journal.db"_s)));
        Database db(env.workDir());
        EnsureTables(db);
    }
    const QMap<QString, QByteArray> before = snapshot(env.workDir());

    ParadoxConversion conversion;
    if (damage == u"readonly"_s) {
        SKIP_WITHOUT_FOLDER_PERMISSIONS();
        QVERIFY(QFile::setPermissions(env.workDir(), QFile::ReadOwner | QFile::ExeOwner));
        const WithoutFileAccessOverride asOperator;
        conversion = convertParadoxFolder(env.workDir());
    } else {
        conversion = convertParadoxFolder(env.workDir());
    }
    QFile::setPermissions(env.workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(conversion.outcome, ParadoxConversion::Outcome::Refused);
    QVERIFY2(conversion.message.contains(reason), qPrintable(conversion.message));
    QVERIFY(conversion.message.contains(u"Nothing was changed"_s));
    QCOMPARE(snapshot(env.workDir()), before);
}

void TestParadoxConversion::startAfterACrashRetriesOrFinishes_data()
{
    QTest::addColumn<QStringList>("originalsMoved");
    QTest::addColumn<QStringList>("tablesMovedIn");
    QTest::newRow("in the middle of the moves") << QStringList{u"Callsign.db"_s} << QStringList();
    QTest::newRow("after a converted table was moved in") << QStringList() << QStringList{u"Contest.db"_s};
}

void TestParadoxConversion::startAfterACrashRetriesOrFinishes()
{
    QFETCH(QStringList, originalsMoved);
    QFETCH(QStringList, tablesMovedIn);
    TestEnvironment env;
    copyFixture(u"v7_noki"_s, env.workDir());
    const QMap<QString, QByteArray> originals = snapshot(env.workDir());
    // an attempt that died before its record: thrown away, the conversion starts again
    QVERIFY(QDir(env.workDir()).mkdir(u".paradox-conversion"_s));
    QFile stale(env.path(u".paradox-conversion/Contest.db"_s));
    QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("half a table") > 0);
    stale.close();
    // a crash right after the point of no return: the folder itself is still as it was
    QCOMPARE(prepareParadoxConversion(env.workDir()).outcome, ParadoxConversion::Outcome::Converted);
    for (const QString& name : originals.keys()) {
        QCOMPARE(readAll(env.path(name)), originals.value(name));
    }
    // and one later on, in the moves
    QVERIFY(QDir(env.workDir()).mkdir(u"paradox"_s));
    for (const QString& name : tablesMovedIn.isEmpty() ? originalsMoved : originals.keys()) {
        QVERIFY(QFile::rename(env.path(name), env.path(u"paradox/"_s + name)));
    }
    for (const QString& name : tablesMovedIn) {
        QVERIFY(QFile::rename(env.path(u".paradox-conversion/"_s + name), env.path(name)));
    }

    const ParadoxConversion finished = convertParadoxFolder(env.workDir());
    QCOMPARE(finished.outcome, ParadoxConversion::Outcome::Converted);
    QCOMPARE(snapshot(env.path(u"paradox"_s)), originals);
    QVERIFY(!QFileInfo::exists(env.path(u".paradox-conversion"_s)));
    Database db(env.workDir());
    for (const QString& table : {u"Callsign"_s, u"Contest"_s, u"Journal"_s}) {
        const QStringList expected = expectedLines(u"v7_noki"_s, table);
        QCOMPARE(storedLines(db, table, expected.first()), expected);
    }
}

QTEST_GUILESS_MAIN(TestParadoxConversion)
#include "test_paradoxconversion.moc"
