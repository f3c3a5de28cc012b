#include "RawTableFile.h"

#include "store/Database.h"
#include "store/FolderAccess.h"
#include "store/FolderLock.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/StoreError.h"
#include "store/TableDamage.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/FolderPermissions.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
enum class Damage
{
    RandomBytes,
    TextFile,
    TruncatedToHeader,
    TruncatedMidTable,
    ForeignDatabase,
    ForeignDatabaseInWalMode,
};

const QString kContestFile = u"Contest.db"_s;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void truncateFile(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.resize(size));
}

// Expects the store's error, and a message that names the given file.
template<typename Operation>
void expectErrorNaming(const QString& fileName, Operation operation)
{
    try {
        operation();
    } catch (const StoreError& error) {
        QVERIFY2(error.message().contains(fileName), qPrintable(error.message()));
        return;
    }
    QFAIL("no StoreError was raised");
}

void appendAndPost(TableView& view, const QString& callsign)
{
    view.append();
    view.setValue(u"CallSign"_s, callsign);
    view.post();
}

// Root writes into a read-only directory whatever its permissions say, so as root such a test runs again
// in a child process under an unprivileged user, and its outcome is this one's.
void runAsUnprivilegedUser()
{
    QProcess child;
    child.setWorkingDirectory(QDir::tempPath());
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString function = QString::fromLatin1(QTest::currentTestFunction());
    child.start(u"setpriv"_s,
                {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, QCoreApplication::applicationFilePath(),
                 function});
    if (!child.waitForStarted() || !child.waitForFinished(-1)) {
        QSKIP("running as root, and setpriv cannot start an unprivileged copy of this test");
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (!output.contains(u"Totals:"_s)) {
        QSKIP("running as root, and the test binary cannot run as an unprivileged user");
    }
    QVERIFY2(child.exitCode() == 0, qPrintable(output));
}
} // namespace

Q_DECLARE_METATYPE(Damage)

class TestHostileFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void damagedContestFile_data();
    void damagedContestFile();
    void readOnlyEmptyDirectory();
    void backupCopiesNewestFirst();
    void folderAccessGoesByWhatCanBeDone();
    void readOnlyDirectoryWithTables();

private:
    void startProgram();
    void makeContestWithRows(int rows);
    QString path(const QString& file) const { return m_env->path(file); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
};

void TestHostileFiles::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TestHostileFiles::cleanup()
{
    m_db.reset();
    QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_env.reset();
}

void TestHostileFiles::startProgram()
{
    m_db.reset();
    m_db = std::make_unique<Database>(m_env->workDir());
    EnsureTables(*m_db);
}

void TestHostileFiles::makeContestWithRows(int rows)
{
    startProgram();
    QVERIFY(RunSql(*m_db, u"insert into Contest (CallSign, TourNumber) values ('QQ0AAA', 1)"_s));
    for (int doubling = 1; doubling < rows; doubling *= 2) {
        QVERIFY(RunSql(*m_db,
                       u"insert into Contest (CallSign, TourNumber, Commentary) "
                       "select CallSign, TourNumber + 1, 'a remark long enough to fill pages' from Contest"_s));
    }
    m_db.reset();
    QFile::remove(path(u"Callsign.db"_s));
    QFile::remove(path(u"Journal.db"_s));
}

void TestHostileFiles::damagedContestFile_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::newRow("random bytes") << Damage::RandomBytes;
    QTest::newRow("a text file") << Damage::TextFile;
    QTest::newRow("SQLite file truncated to its header") << Damage::TruncatedToHeader;
    QTest::newRow("SQLite file truncated mid-table") << Damage::TruncatedMidTable;
    QTest::newRow("another program's database") << Damage::ForeignDatabase;
    QTest::newRow("another program's database in WAL mode") << Damage::ForeignDatabaseInWalMode;
}

void TestHostileFiles::damagedContestFile()
{
    QFETCH(Damage, damage);
    const QString contestPath = path(kContestFile);
    switch (damage) {
    case Damage::RandomBytes: {
        QByteArray bytes(3 * 4096, Qt::Uninitialized);
        QRandomGenerator random(1006);
        random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / int(sizeof(quint32)));
        writeFile(contestPath, bytes);
        break;
    }
    case Damage::TextFile:
        writeFile(contestPath, "QQ0AAA\r\nQQ0BBB\r\n");
        break;
    case Damage::TruncatedToHeader:
        makeContestWithRows(2000);
        truncateFile(contestPath, 60);
        break;
    case Damage::TruncatedMidTable:
        makeContestWithRows(2000);
        truncateFile(contestPath, QFile(contestPath).size() / 2);
        break;
    case Damage::ForeignDatabase:
    case Damage::ForeignDatabaseInWalMode: {
        RawTableFile foreign(contestPath, false);
        if (damage == Damage::ForeignDatabaseInWalMode) {
            foreign.exec(u"PRAGMA journal_mode=WAL"_s);
        }
        foreign.exec(u"CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('not ours')"_s);
        break;
    }
    }
    if (QTest::currentTestFailed()) {
        return;
    }
    const QByteArray before = fileBytes(contestPath);

    startProgram();

    TableView contest(*m_db, contestViewDefinition(u"Contest80"_s));
    expectErrorNaming(kContestFile, [&] {
        contest.open();
        contest.last(); // a damaged file may hold its damage in pages read only now
        contest.value(u"CallSign"_s);
        appendAndPost(contest, u"QQ0ZZZ"_s);
    });
    QVERIFY(!RunSql(*m_db, u"delete from Contest"_s));
    QVERIFY(!RunSql(*m_db, u"insert into Contest (CallSign) values ('QQ0ZZZ')"_s));
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Contest"_s), QVariant(kQueryFailed));

    // the other two tables were made and work
    TableView callsign(*m_db, callsignViewDefinition());
    TableView journal(*m_db, journalViewDefinition());
    callsign.open();
    journal.open();
    appendAndPost(callsign, u"QQ0AAA"_s);
    appendAndPost(journal, u"QQ0AAA"_s);
    QCOMPARE(QuerySingleValue(*m_db, u"select count(*) from Journal"_s).toInt(), 1);

    m_db.reset();
    QCOMPARE(fileBytes(contestPath), before);
}

// the damage report sends the operator to the newest copy first: an older one would lose the latest work
void TestHostileFiles::backupCopiesNewestFirst()
{
    // made in another order than their times, as the file system may list them
    for (const QString& stamp : {u"2024-11-16_180507"_s, u"2025-01-02_090000"_s, u"2023-12-31_235959"_s,
                                 u"2024-11-16_180507-2"_s, u"2025-03-01_120000"_s}) {
        QVERIFY(QDir().mkpath(m_env->path(u"backup/"_s + stamp)));
        if (stamp != u"2025-03-01_120000"_s) { // a copy of the other tables only
            writeFile(m_env->path(u"backup/%1/%2"_s.arg(stamp, kContestFile)), "copy");
        }
    }
    QCOMPARE(backupCopies(m_env->workDir(), kContestFile),
             QStringList({u"backup/2025-01-02_090000/Contest.db"_s, u"backup/2024-11-16_180507-2/Contest.db"_s,
                          u"backup/2024-11-16_180507/Contest.db"_s, u"backup/2023-12-31_235959/Contest.db"_s}));
}

// A folder that can be listed but not entered cannot be read either: offered as a read-only contest folder,
// it would show no tables and fail at every read.
void TestHostileFiles::folderAccessGoesByWhatCanBeDone()
{
    SKIP_WITHOUT_FOLDER_PERMISSIONS();
    if (runningAsRoot()) {
        runAsUnprivilegedUser();
        return;
    }
    struct Case
    {
        QFile::Permissions mode;
        bool read;
        bool write;
    };
    const QFile::Permissions r = QFile::ReadOwner;
    const QFile::Permissions w = QFile::WriteOwner;
    const QFile::Permissions x = QFile::ExeOwner;
    for (const Case& row :
         {Case{r | w | x, true, true}, Case{r | x, true, false}, Case{r, false, false}, Case{x, false, false}}) {
        const QString folder = m_env->path(QString::number(int(row.mode), 16));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, row.mode));
        QCOMPARE(folderCanBeRead(folder), row.read);
        QCOMPARE(folderCanBeWritten(folder), row.write);
        QCOMPARE(FolderLock(folder).readOnlyFolder(), row.read && !row.write);
        QVERIFY(QFile::setPermissions(folder, r | w | x));
    }
}

void TestHostileFiles::readOnlyEmptyDirectory()
{
    SKIP_WITHOUT_FOLDER_PERMISSIONS();
    if (runningAsRoot()) {
        runAsUnprivilegedUser();
        return;
    }
    QVERIFY(QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::ExeOwner));

    startProgram();

    QVERIFY(QDir(m_env->workDir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    for (const ViewDefinition& definition :
         {callsignViewDefinition(), journalViewDefinition(), contestViewDefinition(u"Contest80"_s)}) {
        TableView view(*m_db, definition);
        expectErrorNaming(folderTableName(definition.table) + u".db"_s, [&] { view.open(); });
        QVERIFY(!view.isOpen());
    }
}

void TestHostileFiles::readOnlyDirectoryWithTables()
{
    SKIP_WITHOUT_FOLDER_PERMISSIONS();
    if (runningAsRoot()) {
        runAsUnprivilegedUser();
        return;
    }
    startProgram();
    QVERIFY(RunSql(*m_db, u"insert into Contest (CallSign, Diapasone, Modulation) values ('QQ0AAA', 80, 'SSB')"_s));
    m_db.reset();
    const QByteArray contestBefore = fileBytes(path(kContestFile));
    QVERIFY(QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::ExeOwner));

    startProgram();

    TableView contest(*m_db, contestViewDefinition(u"Contest80"_s));
    contest.open();
    QCOMPARE(contest.text(u"CallSign"_s), u"QQ0AAA"_s);
    expectErrorNaming(kContestFile, [&] { appendAndPost(contest, u"QQ0BBB"_s); });
    contest.cancel();
    expectErrorNaming(kContestFile, [&] {
        contest.edit();
        contest.setValue(u"SentText"_s, u"22 001"_s);
        contest.post();
    });
    contest.cancel();
    QCOMPARE(contest.recordCount(), 1);
    QVERIFY(contest.isNull(u"SentText"_s));
    expectErrorNaming(kContestFile, [&] { contest.remove(); });
    QCOMPARE(contest.recordCount(), 1);

    m_db.reset();
    QCOMPARE(fileBytes(path(kContestFile)), contestBefore);
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
