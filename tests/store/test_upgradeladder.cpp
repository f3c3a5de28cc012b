#include "RawTableFile.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableLayouts.h"
#include "store/TableNames.h"
#include "store/UpgradeLadder.h"
#include "support/FailingVfs.h"
#include "support/ParadoxFixtures.h"
#include "support/PowerCutVfs.h"
#include "support/TestEnvironment.h"

#include <QTest>
#include <QtEndian>

#include <map>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr long long kDiskFullStride = 2048;

QStringList rows(Database& db, const QString& sql)
{
    QStringList lines;
    Statement query = db.prepare(sql);
    while (query.step()) {
        QStringList fields;
        for (int i = 0; i < query.columnCount(); ++i) {
            fields.append(query.column(i).toString());
        }
        lines.append(fields.join(u'|'));
    }
    return lines;
}

// Each table file as a start finds it: its version, and then its definitions and rows.
std::pair<QStringList, QStringList> folderState(Database& db)
{
    QStringList versions;
    QStringList tables;
    for (const QString& table : contestTableNames() + QStringList{kTableTie}) {
        try {
            db.attachExisting(table);
            if (!db.isAttached(table) || !db.tableFileExists(table)) {
                versions.append(u"missing"_s);
                continue;
            }
            versions += rows(db, u"PRAGMA %1.user_version"_s.arg(table));
            tables += rows(db, u"SELECT type, name, sql FROM %1.sqlite_master ORDER BY 2"_s.arg(table))
                + rows(db, u"SELECT * FROM %1.%1 ORDER BY 1"_s.arg(table));
        } catch (const StoreError& error) {
            versions.append(u"unreadable: "_s + error.message());
        }
    }
    return {versions, tables};
}

// A folder as the program made it before the ladder, with rows: no versions, a Journal without KI, none of
// the speed indexes.
void makeOldFolder(const QString& folder)
{
    Database db(folder);
    for (const QString& table : contestTableNames()) {
        QList<ColumnDeclaration> columns = tableColumns(table);
        columns.removeIf([](const ColumnDeclaration& column) { return column.name == kFieldKi; });
        db.execute(createTableSql(table, columns));
        for (const QString& index : tableIndexSql(table)) {
            db.execute(index);
        }
    }
    db.execute(contestTimeIndexSql());
    db.execute(u"insert into Callsign (CallSign) values ('QQ0QQQ')"_s);
    // QQ0QQQ's contact is tied by its key, letter case aside; QQ0QQR's worked row matches no journal line
    db.execute(u"insert into Contest (CallSign, TourNumber, ContestNumber, Diapasone, Modulation, T) values "
               "('QQ0QQQ', 1, 1, 80, 'SSB', '20:05:13.000'), ('QQ0QQR', 2, 1, 80, 'SSB', '20:06:13.000')"_s);
    db.execute(u"insert into Journal (CallSign, RecvText, TourNumber, ContestNumber, Diapasone, Modulation) values "
               "('qq0qqq', '22 001', 1, 1, 80, 'ssb'), ('QQ0QQR', null, 1, 1, 80, 'SSB'), ('QQ0QQS', 'ЖЯ 017', 1, 1, "
               "80, 'SSB')"_s);
}
} // namespace

class TestUpgradeLadder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PowerCutVfs::registerOnce();
        FailingVfs::registerOnce();
    }

    void interruptedStepLandsWholeOrNotAtAll_data();
    void interruptedStepLandsWholeOrNotAtAll();
    void startUp_data();
    void startUp();
};

void TestUpgradeLadder::interruptedStepLandsWholeOrNotAtAll_data()
{
    QTest::addColumn<bool>("old");
    QTest::addColumn<QString>("fault");
    for (const bool old : {false, true}) {
        for (const QString& fault : {u"power cut, unsynced lost"_s, u"power cut, part kept"_s, u"disk full"_s}) {
            QTest::addRow("%s, %s", old ? "made before the ladder" : "empty folder", qPrintable(fault)) << old << fault;
        }
    }
}

// Interrupted at every point, the start after it finds the folder at versions it has before or after a step,
// with the tables that go with them (a version with tables of two shapes is a step landed in part), and
// carries the ladder on to the end.
void TestUpgradeLadder::interruptedStepLandsWholeOrNotAtAll()
{
    QFETCH(bool, old);
    QFETCH(QString, fault);
    TestEnvironment fixture;
    if (old) {
        makeOldFolder(fixture.workDir());
    }
    std::map<QStringList, QStringList> seen;
    {
        Database db(fixture.workDir());
        seen.insert(folderState(db));
    }
    QStringList finished;
    const bool powerCut = fault != u"disk full"_s;
    // the first run is not interrupted: it sets where the ladder ends
    for (long long point = -1; !QTest::currentTestFailed(); ++point) {
        QTemporaryDir folder;
        for (const QString& name : QDir(fixture.workDir()).entryList(QDir::Files | QDir::Hidden)) {
            QVERIFY(QFile::copy(fixture.path(name), QDir(folder.path()).filePath(name)));
        }
        auto db = std::make_unique<Database>(folder.path(), powerCut ? PowerCutVfs::kName : FailingVfs::kName);
        bool interrupted = false;
        if (powerCut) {
            const auto loss = fault.endsWith(u"lost"_s) ? PowerCutVfs::Loss::AllUnsynced
                                                        : PowerCutVfs::Loss::RandomPart;
            PowerCutVfs::arm(folder.path(), point, loss, quint32(point));
            EnsureTables(*db);
            interrupted = PowerCutVfs::powerIsGone();
            db.reset();
            PowerCutVfs::restoreAfterCut();
            db = std::make_unique<Database>(folder.path());
        } else {
            // the program works on with what its connection holds after the rollback
            if (point >= 0) {
                FailingVfs::failAfter(point * kDiskFullStride);
            }
            EnsureTables(*db);
            interrupted = FailingVfs::refusedWrites() > 0;
            FailingVfs::heal();
        }
        const auto [versions, tables] = folderState(*db);
        const QString where = u"interrupted at %1, versions %2"_s.arg(point).arg(versions.join(u", "_s));
        QVERIFY2(!where.contains(u"unreadable"_s), qPrintable(where));
        QVERIFY2(seen.emplace(versions, tables).first->second == tables, qPrintable(where + u": a step in part"_s));
        db = std::make_unique<Database>(folder.path());
        EnsureTables(*db);
        if (point < 0) {
            finished = folderState(*db).second;
            QCOMPARE(rows(*db, u"SELECT * FROM Tie.Tie"_s), old ? QStringList{u"1|1"_s} : QStringList());
            continue;
        }
        QVERIFY2(folderState(*db).second == finished, qPrintable(where + u": the next start did not finish"_s));
        if (!interrupted) {
            qInfo("%lld interruptions, %zu versions of the folder", point, seen.size());
            break;
        }
    }
}

void TestUpgradeLadder::startUp_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("keptFile"); // a file that start-up must leave byte for byte as it was
    QTest::addColumn<bool>("refused");
    // the worked rows that start-up names as having no journal line of their own
    QTest::addColumn<QStringList>("untied");
    const QStringList unmatched{u"QQ0QQR"_s};
    QTest::newRow("Callsign of another program") << u"foreign"_s << u"Callsign.db"_s << false << unmatched;
    // the damage took QQ0QQR's row
    QTest::newRow("Contest damaged") << u"damaged"_s << u"Contest.db"_s << false << QStringList();
    QTest::newRow("Journal whose step fails") << u"failing"_s << u"Journal.db"_s << false << unmatched;
    QTest::newRow("Paradox tables without KI") << u"v7_noki"_s << QString() << false << QStringList();
    QTest::newRow("Paradox tables beside a Journal of ours") << u"v7_ki"_s << u"Journal.db"_s << true << QStringList();
}

// The Paradox conversion comes first, and a folder it refuses gets no table step. A table file made before
// the ladder that is not to be written, or cannot be, is left as it was, and the other tables go to the top.
void TestUpgradeLadder::startUp()
{
    QFETCH(QString, folder);
    QFETCH(QString, keptFile);
    QFETCH(bool, refused);
    QFETCH(QStringList, untied);
    TestEnvironment env;
    const bool paradox = folder.startsWith(u'v');
    const QString path = env.path(keptFile);
    if (paradox) {
        paradoxfixtures::copyFixture(folder, env.workDir());
    } else {
        makeOldFolder(env.workDir());
    }
    if (folder == u"foreign"_s) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("QQ0QQQ\r\n") > 0);
    } else if (folder == u"damaged"_s) {
        // the table's first page loses its last row, which only the quick check notices
        const qint64 root =
            RawTableFile(path).value(u"SELECT rootpage FROM sqlite_master WHERE name='Contest'"_s).toLongLong();
        QFile file(path);
        QByteArray bytes = file.open(QIODevice::ReadWrite) ? file.readAll() : QByteArray();
        const qint64 cellCount = (root - 1) * qFromBigEndian<quint16>(bytes.constData() + 16) + 4;
        bytes[cellCount] = char(bytes.at(cellCount) - 1);
        QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
    } else if (folder == u"failing"_s) {
        RawTableFile(path, false)
            .exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON Journal BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s);
    } else if (refused) {
        // the table steps would add KI to it
        QVERIFY(QFile::remove(path));
        RawTableFile(path, false).exec(u"CREATE TABLE Journal (ID INTEGER PRIMARY KEY)"_s);
    }
    const QByteArray before = fileBytes(path);
    Database db(env.workDir());

    FolderUpgrade upgrade;
    try {
        upgrade = upgradeContestFolder(db);
    } catch (const StoreError&) {
        QVERIFY(refused);
        QCOMPARE(fileBytes(path), before);
        return;
    }

    QVERIFY(!refused);
    QCOMPARE(upgrade.notice.isEmpty(), !paradox);
    QStringList untiedCallsigns;
    for (const StoredContact& row : upgrade.untied) {
        untiedCallsigns.append(row.key.callsign);
    }
    QCOMPARE(untiedCallsigns, untied);
    QCOMPARE(fileBytes(path), before);
    QTemporaryDir made;
    Database madeDb(made.path());
    EnsureTables(madeDb);
    QStringList versions = folderState(db).first;
    QStringList top = folderState(madeDb).first;
    const qsizetype kept = contestTableNames().indexOf(QFileInfo(path).completeBaseName());
    if (kept >= 0) {
        versions.removeAt(kept);
        top.removeAt(kept);
    }
    QCOMPARE(versions, top);
}

QTEST_GUILESS_MAIN(TestUpgradeLadder)
#include "test_upgradeladder.moc"
