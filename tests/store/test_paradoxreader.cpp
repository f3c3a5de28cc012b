#include "support/ParadoxFixtures.h"

#include "store/StoreError.h"
#include "store/paradox/ParadoxTable.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace paradoxfixtures;

// The Paradox reader: every value of every fixture as its expected TSV says, and a damaged table refused
// with the reason, never read in part.
class TestParadoxReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEveryRowAndValueInChainOrder_data();
    void readsEveryRowAndValueInChainOrder();
    void detectsByTheHeaderAlone();
    void tellsTheHeaderLevelsApart_data();
    void tellsTheHeaderLevelsApart();
    void refusesADamagedTable_data();
    void refusesADamagedTable();
};

void TestParadoxReader::readsEveryRowAndValueInChainOrder_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("table");
    for (const auto& [fixture, table] : allExpectedTables()) {
        QTest::newRow(qPrintable(fixture + u'/' + table)) << fixture << table;
    }
}

void TestParadoxReader::readsEveryRowAndValueInChainOrder()
{
    QFETCH(QString, fixture);
    QFETCH(QString, table);
    const ParadoxTable read = readParadoxTable(readAll(fixturePath(fixture, table + u".db"_s)));
    QStringList lines;
    QStringList names;
    for (const ParadoxField& field : read.header.fields) {
        names.append(field.name);
    }
    lines.append(names.join(u'\t'));
    for (const QVariantList& row : read.rows) {
        lines.append(tsvLine(row));
    }
    QCOMPARE(lines, expectedLines(fixture, table));
}

void TestParadoxReader::detectsByTheHeaderAlone()
{
    QByteArray table = readAll(fixturePath(u"v5_noki"_s, u"Journal.db"_s));
    QVERIFY(looksLikeParadoxTable(table));
    // an index file beside the table, and a table file of our own, are no Paradox tables
    QVERIFY(!looksLikeParadoxTable(readAll(fixturePath(u"v7_ki"_s, u"Contest.PX"_s))));
    QVERIFY(!looksLikeParadoxTable(QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\0')));
    QByteArray wrongVersion = table;
    wrongVersion[0x39] = 13;
    QVERIFY(!looksLikeParadoxTable(wrongVersion));
    QByteArray wrongBlockSize = table;
    wrongBlockSize[0x05] = 33;
    QVERIFY(!looksLikeParadoxTable(wrongBlockSize));
}

void TestParadoxReader::tellsTheHeaderLevelsApart_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("asTheFixture");
    QTest::newRow("the first version with the long header") << 5 << true;
    QTest::newRow("the last version with the short one") << 4 << false;
}

// the field descriptors stand after the short or the long header by the version alone: read from the
// wrong place they give other fields, or none
void TestParadoxReader::tellsTheHeaderLevelsApart()
{
    QFETCH(int, version);
    QFETCH(bool, asTheFixture);
    QByteArray table = readAll(fixturePath(u"v5_noki"_s, u"Journal.db"_s));
    table[0x39] = char(version);
    QStringList lines;
    try {
        const ParadoxTable read = readParadoxTable(table);
        for (const QVariantList& row : read.rows) {
            lines.append(tsvLine(row));
        }
    } catch (const StoreError&) {
        lines.clear();
    }
    QCOMPARE(lines == expectedLines(u"v5_noki"_s, u"Journal"_s).mid(1), asTheFixture);
}

void TestParadoxReader::refusesADamagedTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray edited = readAll(fixturePath(u"v7_edited"_s, u"Contest.db"_s));
    const int blockSize = 2048;
    const int headerSize = 2048;

    QTest::newRow("truncated in a record") << edited.left(edited.size() - blockSize + 100) << u"past the end"_s;
    QTest::newRow("truncated at a block") << edited.left(headerSize + blockSize) << u"past the end"_s;
    QByteArray loop = edited;
    loop[headerSize + 2 * blockSize] = 1; // block 3 (second in the chain) leads back to block 1
    QTest::newRow("chain loops") << loop << u"loops back to block 1"_s;
    QByteArray lyingRecordSize = edited;
    lyingRecordSize[0] = char(lyingRecordSize.at(0) + 1);
    QTest::newRow("record size lies") << lyingRecordSize << u"record size"_s;
    QByteArray lyingCount = edited;
    lyingCount[headerSize + 4] = char(0x80); // block 1 claims 7 records of 320 bytes, more than a block holds
    lyingCount[headerSize + 5] = 0x07;
    QTest::newRow("record count lies") << lyingCount << u"more than it can hold"_s;
    QByteArray shortChain = edited;
    shortChain[headerSize] = 0; // block 1 ends the chain: rows of blocks 3 and 2 would be lost
    QTest::newRow("chain ends early") << shortChain << u"the header counts 8 rows"_s;
}

void TestParadoxReader::refusesADamagedTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    try {
        readParadoxTable(bytes);
        QFAIL("a damaged table was read");
    } catch (const StoreError& error) {
        QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestParadoxReader)
#include "test_paradoxreader.moc"
