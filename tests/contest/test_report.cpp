#include "contest/FormatSettings.h"
#include "contest/ReportExport.h"
#include "contest/ReportFormat.h"
#include "store/Cp1251.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"
#include "support/TimeZone.h"

#include <QFile>
#include <QSet>
#include <QTest>

#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace
{
QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

const QByteArray kHeader = " Band\t   Date   \tUTC-Time\t Sign\t Sent\t Recv\r\n";

QByteArray footer(const QByteArray& contacts, const QByteArray& stations, const QByteArray& regions,
                  const QByteArray& total)
{
    return "-----------------------------\r\n"
           "\xce\xf7\xea\xe8 \xe7\xe0 \xf1\xe2\xff\xe7\xe8:           "
        + contacts
        + "\r\n"
          "\xce\xf7\xea\xe8 \xe7\xe0 \xea\xee\xf0\xf0\xe5\xf1\xef\xee\xed\xe4\xe5\xed\xf2\xee\xe2: "
        + stations
        + "\r\n"
          "\xce\xf7\xea\xe8 \xe7\xe0 \xf0\xe0\xe9\xee\xed\xfb:          "
        + regions
        + "\r\n"
          "\xc2\xf1\xe5\xe3\xee \xee\xf7\xea\xee\xe2:             "
        + total + "\r\n";
}

const QByteArray kEmptyReport = kHeader + footer("0", "0", "0", "0");
const ScoreTotals kContestTwo{2, 8, 6, 16};

// A working folder with the tables and the journal view open; rows are "D T callsign band mode sent recv",
// "-" for an empty field.
struct ReportFolder
{
    TestEnvironment env;
    Database db{env.workDir()};
    TableView journal{db, journalViewDefinition()};

    explicit ReportFolder(const QStringList& rows = {})
    {
        EnsureTables(db);
        journal.open();
        const QStringList fields = {u"D"_s,          u"T"_s,        u"CallSign"_s, u"Diapasone"_s,
                                    u"Modulation"_s, u"SentText"_s, u"RecvText"_s};
        for (const QString& row : rows) {
            const QStringList values = row.split(u' ');
            journal.append();
            for (int i = 0; i < fields.size(); ++i) {
                const QString value = values.at(i) == u"-"_s ? QString() : QString(values.at(i)).replace(u'_', u' ');
                journal.setValue(fields.at(i), value);
            }
            journal.post();
        }
    }

    QString path(const QString& name) const { return env.path(name); }
    QDir dir() const { return QDir(env.workDir()); }
    QStringList files() const
    {
        return dir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    void exportWith(const ScoreTotals& totals)
    {
        exportJournal([&] { return totals; }, journal, dir());
    }
};

const QStringList kFourContacts = {
    u"2022-10-22 20:05:13 UA3ABC 80 SSB 22_001 23_015"_s,
    u"2022-10-23 01:30:00 RA3XYZ 160 CW 22_002 23_016"_s,
    u"2022-12-31 23:59:00 UA9AAA 80 CW 22_003 99_001"_s,
    u"2022-12-01 03:00:00 UA9BBB 160 SSB 22_004 98_002"_s,
};
} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useFixedFormatSettings(); }
    void cleanup() { setTimeZone("UTC"); }

    void reportLine_data()
    {
        QTest::addColumn<QVariant>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QDateTime>("utc");
        QTest::addColumn<QString>("callSign");
        QTest::addColumn<QString>("line");

        const QDateTime utc(QDate(2006, 10, 22), QTime(17, 5, 13), Qt::UTC);
        const QString rest = u"\t22 001\t23 015"_s;
        QTest::newRow("80 SSB") << QVariant(80) << u"SSB"_s << utc << u"UA3ABC"_s
                                << u"80 SSB\t22-Oct-06\t  17:05  \tUA3ABC"_s + rest;
        QTest::newRow("no band") << QVariant() << u"CW"_s << utc << u"R3A"_s
                                 << u" CW\t22-Oct-06\t  17:05  \tR3A"_s + rest;
        QTest::newRow("no mode, no callsign")
            << QVariant(160) << QString() << utc << QString() << u"160 \t22-Oct-06\t  17:05  \t"_s + rest;
        QTest::newRow("tab and line break")
            << QVariant(80) << u"CW"_s << utc << u"R\t3\r\nA"_s << u"80 CW\t22-Oct-06\t  17:05  \tR 3  A"_s + rest;
        QTest::newRow("December, 00:00:59")
            << QVariant(80) << u"CW"_s << QDateTime(QDate(2007, 12, 3), QTime(0, 0, 59), Qt::UTC) << u"R3A"_s
            << u"80 CW\t03-Dec-07\t  00:00  \tR3A"_s + rest;
        QTest::newRow("year 2000") << QVariant(80) << u"CW"_s << QDateTime(QDate(2000, 1, 9), QTime(23, 59), Qt::UTC)
                                   << u"R3A"_s << u"80 CW\t09-Jan-00\t  23:59  \tR3A"_s + rest;
    }

    void reportLine()
    {
        QFETCH(QVariant, band);
        QFETCH(QString, mode);
        QFETCH(QDateTime, utc);
        QFETCH(QString, callSign);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QString line = ::reportLine({band, mode, utc, callSign, u"22 001"_s, u"23 015"_s});
        QLocale::setDefault(QLocale::c());
        QTEST(line, "line");
    }

    void contactTimeUtc_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<QVariant>("time");
        QTest::addColumn<QDateTime>("utc");

        const auto utc = [](int y, int mo, int d, int h, int mi) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
        };
        QTest::newRow("Moscow, summer time of 2006") << QByteArray("Europe/Moscow") << QVariant(QDate(2006, 10, 22))
                                                     << QVariant(QTime(20, 5)) << utc(2006, 10, 22, 16, 5);
        QTest::newRow("New York, a time the clocks skipped")
            << QByteArray("America/New_York") << QVariant(QDate(2022, 3, 13)) << QVariant(QTime(2, 30))
            << utc(2022, 3, 13, 7, 30);
        QTest::newRow("empty time is midnight")
            << QByteArray("<+03>-3") << QVariant(QDate(2022, 10, 22)) << QVariant() << utc(2022, 10, 21, 21, 0);
    }

    void contactTimeUtc()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QVariant, date);
        QFETCH(QVariant, time);
        USE_TIME_ZONE(zone);
        QTEST(::contactTimeUtc(date, time), "utc");
    }

    void exportedFile_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArray>("rows");
        QTest::newRow("Moscow") << QByteArray("Europe/Moscow")
                                << QByteArray("80 SSB\t22-Oct-22\t  17:05  \tUA3ABC\t22 001\t23 015\r\n"
                                              "160 CW\t22-Oct-22\t  22:30  \tRA3XYZ\t22 002\t23 016\r\n"
                                              "80 CW\t31-Dec-22\t  20:59  \tUA9AAA\t22 003\t99 001\r\n"
                                              "160 SSB\t01-Dec-22\t  00:00  \tUA9BBB\t22 004\t98 002\r\n");
        QTest::newRow("New York") << QByteArray("America/New_York")
                                  << QByteArray("80 SSB\t23-Oct-22\t  00:05  \tUA3ABC\t22 001\t23 015\r\n"
                                                "160 CW\t23-Oct-22\t  05:30  \tRA3XYZ\t22 002\t23 016\r\n"
                                                "80 CW\t01-Jan-23\t  04:59  \tUA9AAA\t22 003\t99 001\r\n"
                                                "160 SSB\t01-Dec-22\t  08:00  \tUA9BBB\t22 004\t98 002\r\n");
        QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata")
                                 << QByteArray("80 SSB\t22-Oct-22\t  14:35  \tUA3ABC\t22 001\t23 015\r\n"
                                               "160 CW\t22-Oct-22\t  20:00  \tRA3XYZ\t22 002\t23 016\r\n"
                                               "80 CW\t31-Dec-22\t  18:29  \tUA9AAA\t22 003\t99 001\r\n"
                                               "160 SSB\t30-Nov-22\t  21:30  \tUA9BBB\t22 004\t98 002\r\n");
    }

    void exportedFile()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArray, rows);
        USE_TIME_ZONE(zone);
        ReportFolder folder(kFourContacts);
        folder.journal.first();
        folder.exportWith(kContestTwo);
        QCOMPARE(readFile(folder.path(u"Report.txt"_s)), kHeader + rows + footer("2", "8", "6", "16"));
        QCOMPARE(folder.journal.currentRow(), 3);
    }

    void emptyTextsKeepTheirColumnsAndTheFooter()
    {
        USE_TIME_ZONE("<+03>-3");
        ReportFolder folder({u"2022-10-22 20:05 - 80 SSB - -"_s, u"- - UA3ABC - - 22_002 23_016"_s});
        folder.exportWith(kContestTwo);
        QCOMPARE(readFile(folder.path(u"Report.txt"_s)),
                 kHeader
                     + "80 SSB\t22-Oct-22\t  17:05  \t\t\t\r\n"
                       " \t29-Dec-99\t  21:00  \tUA3ABC\t22 002\t23 016\r\n"
                     + footer("2", "8", "6", "16"));
    }

    // four exports fill Report.txt and its three older copies; the fifth drops the oldest
    void fiveExportsRotate()
    {
        ReportFolder folder;
        QList<QByteArray> written;
        for (qint32 i = 1; i <= 5; ++i) {
            folder.exportWith({i, 0, 0, i});
            written.prepend(readFile(folder.path(u"Report.txt"_s)));
            const QStringList copies = {u"Report.txt"_s, u"Report.000"_s, u"Report.001"_s, u"Report.002"_s};
            for (int age = 0; age < copies.size(); ++age) {
                QCOMPARE(readFile(folder.path(copies.at(age))), age < written.size() ? written.at(age) : "<missing>");
            }
        }
        QVERIFY(written.first().endsWith("5\r\n"));
        QCOMPARE(folder.files().size(), 10); // five tables, the connection's file, four reports: no leftovers
    }

    // a Report.002 that cannot be deleted stops every move, since none may replace a file
    void undeletableOldestReport()
    {
        ReportFolder folder;
        QVERIFY(folder.dir().mkdir(u"Report.002"_s));
        writeFile(folder.path(u"Report.001"_s), "one");
        writeFile(folder.path(u"Report.000"_s), "zero");
        writeFile(folder.path(u"Report.txt"_s), "previous");
        folder.exportWith({});
        QCOMPARE(readFile(folder.path(u"Report.001"_s)), "one");
        QCOMPARE(readFile(folder.path(u"Report.000"_s)), "zero");
        QCOMPARE(readFile(folder.path(u"Report.txt"_s)), kEmptyReport);
    }

    void unwritableReportIsReportedAndNothingMoves()
    {
        ReportFolder folder;
        QVERIFY(folder.dir().mkdir(u"Report.txt"_s));
        writeFile(folder.path(u"Report.000"_s), "zero");
        const QStringList before = folder.files();
        try {
            folder.exportWith({});
            QFAIL("the failure was not reported");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().contains(u"Report.txt"_s), qPrintable(error.message()));
        }
        QCOMPARE(folder.files(), before);
        QCOMPARE(readFile(folder.path(u"Report.000"_s)), "zero");
    }

    void scoreErrorTouchesNoFile()
    {
        ReportFolder folder;
        writeFile(folder.path(u"Report.txt"_s), "previous");
        const QStringList before = folder.files();
        const auto failingScore = []() -> ScoreTotals { throw StoreError(u"no such column: KI"_s); };
        QVERIFY_THROWS_EXCEPTION(StoreError, exportJournal(failingScore, folder.journal, folder.dir()));
        QCOMPARE(folder.files(), before);
        QCOMPARE(readFile(folder.path(u"Report.txt"_s)), "previous");
    }

    void codePage1251()
    {
        QCOMPARE(toCp1251(u"Ёё№ UA3"_s), QByteArray("\xa8\xb8\xb9 UA3"));
        QCOMPARE(toCp1251(u"80 SSB\tUA3ABC\x1a"_s), QByteArray("80 SSB\tUA3ABC\x1a"));
        // a converter would write Ctrl-Z for these, which ends the file for older readers
        QCOMPARE(toCp1251(u"a中b😀c"_s), QByteArray("a?b?c"));
        // a zero-width space, a direction mark or a byte-order mark pasted with a name shows nothing
        QCOMPARE(toCp1251(u"\u200bUA3\u200eABC\ufeff"_s), QByteArray("UA3ABC"));
        QCOMPARE(fromCp1251("\xc2\xf1\xe5\xe3\xee"), u"Всего"_s);
        // every byte reads as a character of its own and writes back as itself
        QByteArray everyByte;
        for (int byte = 0; byte < 256; ++byte) {
            everyByte += char(byte);
        }
        const QString read = fromCp1251(everyByte);
        QCOMPARE(QSet<QChar>(read.cbegin(), read.cend()).size(), 256);
        QCOMPARE(toCp1251(read), everyByte);
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "test_report.moc"
