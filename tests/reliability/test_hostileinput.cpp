#include "contest/Participants.h"
#include "shell/ProfileFile.h"
#include "shell/SettingsFormat.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/ContestFixture.h"
#include "support/FolderPermissions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kTours = 2;
const auto isLetter = [](QChar c) { return c.isLetter(); };
const auto isDigit = [](QChar c) { return c.isDigit(); };
constexpr qint64 kMegabyte = 1024 * 1024;
// What reading a list may hold beyond the file itself: the tables' page cache, the distinct participants.
constexpr qint64 kMemorySlack = 64 * kMegabyte;
constexpr qint64 kMemoryPerFileByte = 3;
constexpr int kHugeListCallsigns = 3000;
const QString kSection = u"TForm1"_s;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false; // the sanitizer keeps freed memory in quarantine
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

// Every file of a folder with a hash of its bytes, hidden files included.
QMap<QString, QByteArray> folderSnapshot(const QString& folder)
{
    QMap<QString, QByteArray> snapshot;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        snapshot.insert(name, fileHash(dir.filePath(name)));
    }
    return snapshot;
}

qint64 statusKilobytes(const QByteArray& field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':'))) {
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
        }
    }
    return -1;
}

// How far the resident memory rose above its starting level while `work` ran.
qint64 peakMemoryGrowth(const std::function<void()>& work)
{
    QFile clearRefs(u"/proc/self/clear_refs"_s);
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1) {
        // not measurable here (no /proc, as on Windows): the work is done all the same
        work();
        return -1;
    }
    clearRefs.close();
    const qint64 before = statusKilobytes("VmRSS");
    work();
    return (statusKilobytes("VmHWM") - before) * 1024;
}

QString callsignOf(int index)
{
    static const QString prefixes[] = {u"RA"_s, u"UA"_s, u"RW"_s, u"UR"_s, u"EW"_s, u"RZ"_s};
    QString suffix;
    for (int i = index, letters = 0; letters < 3; i /= 26, ++letters) {
        suffix += QChar(u'A' + i % 26);
    }
    return prefixes[index % 6] + QString::number(index % 10) + suffix;
}

// A list far larger than any contest: a few thousand callsigns over and over, with remarks and both
// line ends, as a log export picked by mistake might look.
QByteArray hugeList(qint64 size, int distinct)
{
    QByteArray bytes;
    bytes.reserve(size + 64);
    for (int line = 0; bytes.size() < size; ++line) {
        bytes += callsignOf(line % distinct).toLatin1();
        bytes += line % 3 == 0 ? QByteArrayLiteral("  59 \r\n") : QByteArrayLiteral("\n");
    }
    return bytes;
}

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / qint64(sizeof(quint32)));
    bytes[0] = '\0'; // NUL bytes are certain, not left to chance
    bytes[size / 2] = '\0';
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct ImportedContest : ContestFixture
{
    ParticipantViews views() { return {*callsign, *contest80, *contest80CW, *contest160, *contest160CW}; }

    void import()
    {
        ImportCallsign(*db, views(), env.path(u"Callsign.txt"_s), {1, [] { return kTours; }});
    }

    QStringList participants()
    {
        QStringList list;
        Statement query = db->prepare(u"SELECT CallSign FROM Callsign ORDER BY ID"_s);
        while (query.step()) {
            list.append(query.column(0).toString());
        }
        return list;
    }

    QMap<QString, int> matrixRows()
    {
        QMap<QString, int> rows;
        Statement query = db->prepare(u"SELECT CallSign, count(*) FROM Contest GROUP BY CallSign"_s);
        while (query.step()) {
            rows.insert(query.column(0).toString(), query.column(1).toInt());
        }
        return rows;
    }
};

enum class ListKind
{
    Binary,
    Huge,
    OneLongLine,
    MixedEncodings,
};

// Gives the folder its permissions back however the test ends, so that it can be removed.
class FolderPermissions
{
public:
    FolderPermissions(QString folder, QFile::Permissions permissions)
        : m_folder(std::move(folder))
    {
        QFile::setPermissions(m_folder, permissions);
    }
    ~FolderPermissions() { QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    FolderPermissions(const FolderPermissions&) = delete;
    FolderPermissions& operator=(const FolderPermissions&) = delete;

private:
    QString m_folder;
};

bool canCreateFileIn(const QString& folder)
{
    QFile probe(QDir(folder).filePath(u"probe"_s));
    if (!probe.open(QIODevice::WriteOnly)) {
        return false;
    }
    probe.remove();
    return true;
}

// Expects the store's error, naming `name` and giving none of the `wrongReasons`.
template<typename Operation>
void expectErrorNaming(const QString& name, Operation operation, const QStringList& wrongReasons = {})
{
    try {
        operation();
    } catch (const StoreError& error) {
        QVERIFY2(error.message().contains(name), qPrintable(error.message()));
        for (const QString& reason : wrongReasons) {
            QVERIFY2(!error.message().contains(reason), qPrintable(error.message()));
        }
        return;
    }
    QFAIL("no StoreError was raised");
}
} // namespace

Q_DECLARE_METATYPE(ListKind)

class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void participantList_data();
    void participantList();
    void unusableFolder_data();
    void unusableFolder();
    void garbageSettingsFile_data();
    void garbageSettingsFile();
};

void TestHostileInput::participantList_data()
{
    QTest::addColumn<ListKind>("kind");
    // the participants expected in order; empty when only the general rules can be checked
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("binary, NUL bytes included") << ListKind::Binary << QStringList();
    QStringList pool;
    for (int i = 0; i < kHugeListCallsigns; ++i) {
        // every third line of the list carries a remark, and the list repeats in whole rounds of three
        pool.append(callsignOf(i) + (i % 3 == 0 ? u"59"_s : QString()));
    }
    QTest::newRow("50 MB") << ListKind::Huge << pool;
    QTest::newRow("one line of 10 MB") << ListKind::OneLongLine << QStringList{u"RA3ABCqwer"_s, u"UA9XYZ"_s};
    QTest::newRow("UTF-8 and code page 1251 lines in one file")
        << ListKind::MixedEncodings
        << QStringList{u"RA3ABCИван"_s, u"UA9XYZПётр"_s, u"RW1AAA"_s, u"UR5ЖЩЮЯ"_s, u"EW1ÄÖÜ"_s};
}

void TestHostileInput::participantList()
{
    QFETCH(ListKind, kind);
    QFETCH(QStringList, expected);

    ImportedContest contest;
    const QString listPath = contest.env.path(u"Callsign.txt"_s);
    switch (kind) {
    case ListKind::Binary:
        writeFile(listPath, randomBytes(kMegabyte, 1006));
        break;
    case ListKind::Huge:
        writeFile(listPath, hugeList(50 * kMegabyte, kHugeListCallsigns));
        break;
    case ListKind::OneLongLine: {
        QByteArray line = "RA3ABC ";
        while (line.size() < 10 * kMegabyte) {
            line += "qwerty uiop asdf ghjkl ";
        }
        writeFile(listPath, line + "\r\nUA9XYZ\r\n");
        break;
    }
    case ListKind::MixedEncodings:
        writeFile(listPath,
                  "\xEF\xBB\xBF" + u"RA3ABC Иван\r\n"_s.toUtf8() + toCp1251(u"UA9XYZ Пётр\r\n"_s) + "RW1AAA\n"
                      + toCp1251(u"UR5 ЖЩЮЯ\n"_s) + u"EW1 ÄÖÜ\n"_s.toUtf8());
        break;
    }
    if (QTest::currentTestFailed()) {
        return;
    }
    const qint64 fileSize = QFileInfo(listPath).size();
    const QByteArray hashBefore = fileHash(listPath);

    const qint64 growth = peakMemoryGrowth([&] { contest.import(); });

    QCOMPARE(fileHash(listPath), hashBefore);
    if (kMemoryIsMeasurable && growth >= 0) {
        const qint64 limit = kMemoryPerFileByte * fileSize + kMemorySlack;
        QVERIFY2(growth <= limit, qPrintable(u"reading %1 bytes took %2 bytes"_s.arg(fileSize).arg(growth)));
    }

    const QStringList participants = contest.participants();
    if (!expected.isEmpty()) {
        QCOMPARE(participants, expected);
    }
    QSet<QString> folded;
    for (const QString& callsign : participants) {
        // four characters are a callsign only with a letter and a digit among them
        const bool fourAsCallsign = callsign.size() == 4 && std::any_of(callsign.cbegin(), callsign.cend(), isLetter)
            && std::any_of(callsign.cbegin(), callsign.cend(), isDigit);
        QVERIFY2((callsign.size() >= 5 || fourAsCallsign) && callsign.size() <= 10, qPrintable(callsign));
        QVERIFY2(!callsign.contains(u' ') && !callsign.contains(u'\n'), qPrintable(callsign));
        folded.insert(callsign.toCaseFolded());
    }
    QCOMPARE(folded.size(), participants.size());
    const QMap<QString, int> rows = contest.matrixRows();
    QCOMPARE(rows.size(), participants.size());
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        QVERIFY2(participants.contains(it.key()) && it.value() == 4 * kTours, qPrintable(it.key()));
    }
}

void TestHostileInput::unusableFolder_data()
{
    QTest::addColumn<bool>("withTables");
    QTest::addColumn<bool>("withMainFile");
    QTest::addColumn<int>("permissions");
    const int readOnly = QFile::ReadOwner | QFile::ExeOwner;

    QTest::newRow("read-only, empty") << false << false << readOnly;
    QTest::newRow("read-only, with tables") << true << true << readOnly;
    QTest::newRow("read-only, tables copied without the main file") << true << false << readOnly;
    QTest::newRow("no permission at all, empty") << false << false << 0;
    QTest::newRow("no permission at all, with tables") << true << true << 0;
}

void TestHostileInput::unusableFolder()
{
    QFETCH(bool, withTables);
    QFETCH(bool, withMainFile);
    QFETCH(int, permissions);
    TestEnvironment env;
    const QString folder = env.workDir();
    if (withTables) {
        Database db(folder);
        EnsureTables(db);
        db.execute(u"insert into Contest (CallSign, Diapasone, Modulation) values ('QQ0AAA', 80, 'SSB')"_s);
    }
    if (!withMainFile) {
        QFile::remove(env.path(QString::fromLatin1(Database::kMainFileName)));
    }
    const QMap<QString, QByteArray> before = folderSnapshot(folder);
    const bool tablesReadable = withTables && (permissions & QFile::ReadOwner);

    {
        WithoutFileAccessOverride restricted;
        FolderPermissions restrictedFolder(folder, QFile::Permissions::fromInt(permissions));
        if (canCreateFileIn(folder)) {
            QSKIP("this process may write into a folder without write permission");
        }

        Database db(folder);
        EnsureTables(db);
        for (const ViewDefinition& definition :
             {callsignViewDefinition(), journalViewDefinition(), contestViewDefinition(u"Contest80"_s)}) {
            TableView view(db, definition);
            if (tablesReadable) {
                view.open();
                view.append();
                view.setValue(u"CallSign"_s, u"QQ0BBB"_s);
                expectErrorNaming(folderTableName(definition.table) + u".db"_s, [&] { view.post(); });
                view.cancel();
            } else {
                // the reason is the folder, not a missing or foreign table file
                expectErrorNaming(folder, [&] { view.open(); }, {u"missing"_s, u"not a table file"_s});
                QVERIFY(!view.isOpen());
            }
        }
    }

    QCOMPARE(folderSnapshot(folder), before);
}

void TestHostileInput::garbageSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("random bytes") << randomBytes(64 * 1024, 2006);
    QTest::newRow("NUL bytes only") << QByteArray(4096, '\0');
    QTest::newRow("one line of 1 MB") << QByteArray(kMegabyte, 'K');
    QTest::newRow("the section, then garbage values")
        << QByteArrayLiteral("[TForm1]\r\nKIEdit_Value=\xff\xfe\x00\x01\r\nTour_Value=1e400\r\nTours_Value=0x7\x80\r\n"
                             "AutoChangeTour_Checked=\x01True\r\nBegTime_Time=nan\r\nNormPos=\xc3\x28,,\xf0\r\n"
                             "FormVersion=0xZZ\r\nShowCmd=\xff\r\n");
    // the longest value that is read ends in the middle of a character outside the 16-bit range
    QTest::newRow("a value cut within a character")
        << (QByteArray("[TForm1]\r\nBegDate_Text=") + QByteArray(ProfileFile::kMaxValueLength - 1, 'a')
            + u"\U0001F4FB\r\n"_s.toUtf8());
}

void TestHostileInput::garbageSettingsFile()
{
    QFETCH(QByteArray, content);
    TestEnvironment env;
    const QString path = QDir(userConfigDirectory()).filePath(settingsFileName(u"tourlog"_s));
    QCOMPARE(QFileInfo(path).absolutePath(), QDir(env.configDir()).absolutePath());
    writeFile(path, content);

    ProfileFile profile(path);
    QVERIFY(profile.load());
    // what the window restores goes through these readers: each falls back to the control's own value
    const auto read = [&](const QString& key) { return profile.value(kSection, key, u"default"_s); };
    // never half a character, which would be written back as a replacement mark
    const QString date = read(u"BegDate_Text"_s);
    QCOMPARE(QString::fromUtf8(date.toUtf8()), date);
    for (const QString& key : {u"KIEdit_Value"_s, u"NppEdit_Value"_s, u"Tour_Value"_s, u"Tours_Value"_s}) {
        QCOMPARE(parseWholeNumber(read(key)).value_or(22), 22);
    }
    QCOMPARE(parseTruth(read(u"AutoChangeTour_Checked"_s)).value_or(true), true);
    QCOMPARE(parseTimeOfDay(read(u"BegTime_Time"_s)).value_or(QTime(16, 43)), QTime(16, 43));
    QCOMPARE(parseProfileInteger(read(u"FormVersion"_s), 0), 0);
    QCOMPARE(parseProfileInteger(read(u"ShowCmd"_s), 1), 1);
    const FourNumbers position = parseFourNumbers(read(u"NormPos"_s), {11, 86, 1035, 724});
    QCOMPARE(position.b, 86);
    QCOMPARE(position.d, 724);

    // saving over the garbage keeps every line of it and reads back what was written
    profile.setValue(kSection, u"KIEdit_Value"_s, u"23"_s);
    profile.save();
    ProfileFile again(path);
    QVERIFY(again.load());
    QCOMPARE(again.value(kSection, u"KIEdit_Value"_s, QString()), u"23"_s);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray savedBytes = saved.readAll();
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!line.startsWith("KIEdit_Value")) {
            QVERIFY(savedBytes.contains(line));
        }
    }
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "test_hostileinput.moc"
