#include "contest/ExportQuestions.h"
#include "contest/LogExport.h"
#include "store/ContactFrequencies.h"
#include "store/StoreError.h"
#include "support/ExportJournal.h"
#include "support/Fakes.h"
#include "support/FolderPermissions.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <functional>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

namespace
{
const ExportHeader kHeader{u"1.03"_s, QDateTime(QDate(2006, 10, 23), QTime(6, 0), Qt::UTC), 49};

const QByteArray kMixedLog = "START-OF-LOG: 3.0\r\n"
                             "CREATED-BY: Tourlog 1.03\r\n"
                             "CONTEST: TOUR-80-160\r\n"
                             "CALLSIGN: UA3ABC/P\r\n"
                             "CATEGORY-OPERATOR: SINGLE-OP\r\n"
                             "CATEGORY-BAND: ALL\r\n"
                             "CATEGORY-MODE: MIXED\r\n"
                             "CATEGORY-POWER: LOW\r\n"
                             "CATEGORY-STATION: PORTABLE\r\n"
                             "CATEGORY-TRANSMITTER: ONE\r\n"
                             "CLAIMED-SCORE: 49\r\n"
                             "OPERATORS: UA3ABC UA3DEF\r\n"
                             "NAME: Ivan Petrov\r\n"
                             "EMAIL: ua3abc@example.org\r\n"
                             "ADDRESS: Box 12\r\n"
                             "ADDRESS: Moscow\r\n"
                             "CLUB: Tour Radio Club\r\n"
                             "SOAPBOX: First tour on 160 m.\r\n"
                             "SOAPBOX: Thanks all.\r\n"
                             "QSO:  3500 PH 2006-10-22 2358 UA3ABC/P      22 001     UA9XYZ        23 015\r\n"
                             "QSO:  1800 CW 2006-10-23 0001 UA3ABC/P      22 002     RA3/DL1AB     16 007\r\n"
                             "QSO:  3500 CW 2006-10-23 0005 UA3ABC/P      22 1234567 RK3AWL        17 123\r\n"
                             "QSO:  1800 PH 2006-10-23 0005 UA3ABC/P      22 004     UA4BBB        18 042\r\n"
                             "END-OF-LOG:\r\n";

Station callsignOnly()
{
    Station station;
    station.callsign = u"ua3abc"_s;
    return station;
}

// the QSO: lines of a file split at blanks, as a contest robot reads them
QList<QByteArrayList> qsoTokens(const QByteArray& file)
{
    QList<QByteArrayList> lines;
    for (const QByteArray& line : file.split('\n')) {
        if (line.startsWith("QSO:")) {
            lines.append(line.simplified().split(' '));
        }
    }
    return lines;
}
} // namespace

Q_DECLARE_METATYPE(Station)
Q_DECLARE_METATYPE(MissingTagsAnswer)

class TestCabrillo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setTimeZone("UTC"); }

    void mixedLog_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("ahead of UTC by 5:30") << "Asia/Kolkata"_ba;
        QTest::newRow("behind UTC, summer time") << "America/New_York"_ba;
    }

    // Every header tag, both bands and modes over midnight UTC, in UTC order whatever the zone.
    void mixedLog()
    {
        QFETCH(QByteArray, zone);
        setTimeZone(zone);
        ExportJournal log;
        log.addMixedLog();
        const QString path = log.env.path(proposedExportName(fullStation(), LogFormat::Cabrillo));
        QCOMPARE(QFileInfo(path).fileName(), u"UA3ABC_P.log"_s);

        // the window's progress dialog follows the walk through the journal
        qint64 progressTotal = -1;
        QObject::connect(&log.db.work(), &LongWork::progressChanged,
                         [&](qint64, qint64 total) { progressTotal = total; });
        const LogExportResult result = exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Cabrillo, path);
        QCOMPARE(progressTotal, 5);
        QCOMPARE(result.contacts, 4);
        QCOMPARE(result.problems, QStringList());
        const QByteArray file = readFile(path);
        QCOMPARE(file, kMixedLog);

        const QList<QByteArrayList> expected = {
            {"QSO:", "3500", "PH", "2006-10-22", "2358", "UA3ABC/P", "22", "001", "UA9XYZ", "23", "015"},
            {"QSO:", "1800", "CW", "2006-10-23", "0001", "UA3ABC/P", "22", "002", "RA3/DL1AB", "16", "007"},
            {"QSO:", "3500", "CW", "2006-10-23", "0005", "UA3ABC/P", "22", "1234567", "RK3AWL", "17", "123"},
            {"QSO:", "1800", "PH", "2006-10-23", "0005", "UA3ABC/P", "22", "004", "UA4BBB", "18", "042"},
        };
        QCOMPARE(qsoTokens(file), expected);
    }

    // Cyrillic typed in callsigns and exchanges goes out in its Morse twins; what has none, and rows
    // without a callsign or exchange, go out as they are and are named; the journal keeps what was typed.
    void cyrillicAndEmptyRows()
    {
        USE_TIME_ZONE("Europe/Moscow");
        ExportJournal log;
        const QDate day(2006, 10, 22);
        log.add(QDateTime(day, QTime(16, 0), Qt::UTC), 1, 80, u"CW"_s, u"ра3вж"_s, u"22 001"_s, u"23 015"_s);
        log.add(QDateTime(day, QTime(16, 1), Qt::UTC), 1, 80, u"CW"_s, u"УА3ЧБЦ"_s, u"22 002"_s, u"2Щ 016"_s);
        log.add(QDateTime(day, QTime(16, 2), Qt::UTC), 1, 80, u"CW"_s, QString(), u"22 003"_s, QString());
        const QString path = log.env.path(u"UA3ABC.log"_s);

        const ExportHeader header{u"1.03"_s, QDateTime(), 7};
        const LogExportResult result = exportLog(log.journal, 1, callsignOnly(), header, LogFormat::Cabrillo, path);
        QCOMPARE(readFile(path),
                 "START-OF-LOG: 3.0\r\n"
                 "CREATED-BY: Tourlog 1.03\r\n"
                 "CALLSIGN: UA3ABC\r\n"
                 "CATEGORY-BAND: 80M\r\n"
                 "CATEGORY-MODE: CW\r\n"
                 "CLAIMED-SCORE: 7\r\n"
                 "QSO:  3500 CW 2006-10-22 1600 UA3ABC        22 001     RA3WV         23 015\r\n"
                 "QSO:  3500 CW 2006-10-22 1601 UA3ABC        22 002     UA3?BC        2Q 016\r\n"
                 "QSO:  3500 CW 2006-10-22 1602 UA3ABC        22 003\r\n"
                 "END-OF-LOG:\r\n"_ba);
        QCOMPARE(result.problems,
                 QStringList({u"22.10.06 20:01:00 УА3ЧБЦ: letters without a Latin twin written as ?"_s,
                              u"22.10.06 20:02:00 (no callsign): no callsign, no exchange"_s}));
        log.journal.moveTo(1);
        QCOMPARE(log.journal.text(u"CallSign"_s), u"УА3ЧБЦ"_s);
    }

    // the tags that are new to the header go out where they belong; the rest is as before
    void everyHeaderTag()
    {
        Station station = fullStation();
        station.categoryAssisted = u"NON-ASSISTED"_s;
        station.categoryTime = u"6-HOURS"_s;
        station.categoryOverlay = u"ROOKIE"_s;
        station.certificate = u"YES"_s;
        station.addressCity = u"Москва"_s;
        station.addressStateProvince = u"MO"_s;
        station.addressPostalcode = u"119019"_s;
        station.addressCountry = u"Russia"_s;
        station.location = u"Центр"_s;
        station.gridLocator = u"ko85us"_s;
        const QByteArray log = cabrilloLog({}, station, kHeader);
        const QByteArray header = kMixedLog.left(kMixedLog.indexOf("QSO:"));
        QByteArray expected = header;
        expected.insert(header.indexOf("CLAIMED-SCORE"),
                        "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
                        "CATEGORY-TIME: 6-HOURS\r\n"
                        "CATEGORY-OVERLAY: ROOKIE\r\n"
                        "CERTIFICATE: YES\r\n");
        expected.insert(expected.indexOf("CLUB:"),
                        "ADDRESS-CITY: Moskva\r\n"
                        "ADDRESS-STATE-PROVINCE: MO\r\n"
                        "ADDRESS-POSTALCODE: 119019\r\n"
                        "ADDRESS-COUNTRY: Russia\r\n"
                        "LOCATION: Tsentr\r\n"
                        "GRID-LOCATOR: KO85US\r\n");
        QCOMPARE(log, expected + "END-OF-LOG:\r\n");
    }

    void missingTags_data()
    {
        QTest::addColumn<Station>("station");
        QTest::addColumn<QString>("answer"); // null: the question is cancelled
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<MissingTagsAnswer>("decision");
        Station complete = fullStation();
        complete.categoryAssisted = u"NON-ASSISTED"_s;
        // band and mode left to the contacts are not missing
        QTest::newRow("complete") << complete << QString() << QStringList() << MissingTagsAnswer::Write;
        QTest::newRow("no assisted, filled in")
            << fullStation() << u"Fill in now"_s << QStringList{u"CATEGORY-ASSISTED"_s} << MissingTagsAnswer::FillIn;
        Station blankContest = complete;
        blankContest.contest = u"  "_s;
        QTest::newRow("blank contest, written")
            << blankContest << u"Write anyway"_s << QStringList{u"CONTEST"_s} << MissingTagsAnswer::Write;
        QTest::newRow("callsign only, cancelled")
            << callsignOnly() << QString()
            << QStringList{u"CONTEST"_s, u"CATEGORY-OPERATOR"_s, u"CATEGORY-POWER"_s, u"CATEGORY-TRANSMITTER"_s,
                           u"CATEGORY-ASSISTED"_s}
            << MissingTagsAnswer::Cancel;
    }

    // an export says which tags robots would refuse the log for, and the operator decides
    void missingTags()
    {
        QFETCH(Station, station);
        QFETCH(QString, answer);
        QFETCH(QStringList, missing);
        QFETCH(MissingTagsAnswer, decision);
        QCOMPARE(cabrilloMissingTags(station), missing);
        FakePrompter prompter;
        prompter.answers.push_back(answer);
        QCOMPARE(askAboutMissingTags(missing, prompter), decision);
        QCOMPARE(prompter.questions.size(), missing.isEmpty() ? 0 : 1);
        for (const QString& tag : missing) {
            QVERIFY(prompter.questions.constFirst().contains(tag));
        }
    }

    void freeTextIsTransliterated_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("line");
        // names as Russian passports since 2014 write them
        QTest::newRow("name") << u"NAME"_s << u"Иван Чернышёв"_s << "NAME: Ivan Chernyshev"_ba;
        QTest::newRow("ю я й ь") << u"NAME"_s << u"Юлия Наталья Дмитрий"_s << "NAME: Iuliia Natalia Dmitrii"_ba;
        QTest::newRow("х щ ц ъ") << u"NAME"_s << u"Хрущёв Цой Подъячев"_s << "NAME: Khrushchev Tsoi Podieiachev"_ba;
        QTest::newRow("capitals") << u"NAME"_s << u"ЮЛИЯ ЩУКИНА, Э. Жук"_s << "NAME: IULIIA SHCHUKINA, E. Zhuk"_ba;
        QTest::newRow("address") << u"ADDRESS"_s << u"Москва, ул. Щорса 5"_s << "ADDRESS: Moskva, ul. Shchorsa 5"_ba;
        QTest::newRow("club") << u"CLUB"_s << u"Радиоклуб «Эфир» — №1"_s << R"(CLUB: Radioklub "Efir" - No1)"_ba;
        QTest::newRow("soapbox") << u"SOAPBOX"_s << u"Всем спасибо!"_s << "SOAPBOX: Vsem spasibo!"_ba;
        // callsigns keep the letters sent in Morse
        QTest::newRow("operators") << u"OPERATORS"_s << u"рв3авж"_s << "OPERATORS: RW3AWV"_ba;
        QTest::newRow("operators, small ё as е") << u"OPERATORS"_s << u"ра3ёж"_s << "OPERATORS: RA3EV"_ba;
    }

    void freeTextIsTransliterated()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QByteArray, line);
        Station station = callsignOnly();
        const QHash<QString, std::function<void()>> set{
            {u"NAME"_s, [&] { station.name = typed; }},           {u"ADDRESS"_s, [&] { station.address = {typed}; }},
            {u"CLUB"_s, [&] { station.club = typed; }},           {u"SOAPBOX"_s, [&] { station.soapbox = {typed}; }},
            {u"OPERATORS"_s, [&] { station.operators = typed; }},
        };
        set.value(field)();
        const QByteArray log = cabrilloLog({}, station, kHeader);
        QVERIFY2(log.contains(QByteArray("\r\n" + line + "\r\n")), log.constData());
        QCOMPARE(cabrilloStationProblems(station), QStringList());
    }

    // a value longer than its column widens it by what it needs, and nothing is cut
    void longValuesWiden()
    {
        Station station;
        station.callsign = u"R2014/UA3ABC/P"_s;
        ExportContact contact;
        contact.utc = QDateTime(QDate(2006, 10, 22), QTime(16, 0), Qt::UTC);
        contact.band = 160;
        contact.mode = u"CW"_s;
        contact.callSign = u"RA3WV"_s;
        contact.sentText = u"22 12345678901"_s;
        contact.recvText = u"23   015"_s;
        const QByteArrayList lines = cabrilloLog({contact}, station, kHeader).split('\n');
        QCOMPARE(lines.at(lines.size() - 3),
                 "QSO:  1800 CW 2006-10-22 1600 R2014/UA3ABC/P 22 12345678901 RA3WV         23 015\r"_ba);
    }

    // what the radio read at the contact goes out in both formats, as long as it fits the row's band and mode
    void radioFrequency_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("hz"); // 0: no radio
        QTest::addColumn<QString>("radioMode");
        QTest::addColumn<QByteArray>("qsoStart");
        QTest::addColumn<QByteArray>("adifFields");

        QTest::newRow("80 m lower sideband") << 80 << u"SSB"_s << qint64(3'650'400) << u"LSB"_s << "QSO:  3650 PH"_ba
                                             << "<FREQ:6>3.6504 <MODE:3>SSB <SUBMODE:3>LSB"_ba;
        QTest::newRow("160 m CW") << 160 << u"CW"_s << qint64(1'832'500) << u"CW"_s << "QSO:  1832 CW"_ba
                                  << "<FREQ:6>1.8325 <MODE:2>CW"_ba;
        QTest::newRow("a whole megahertz") << 160 << u"SSB"_s << qint64(2'000'000) << u"USB"_s << "QSO:  2000 PH"_ba
                                           << "<FREQ:3>2.0 <MODE:3>SSB <SUBMODE:3>USB"_ba;
        QTest::newRow("band corrected since") << 80 << u"CW"_s << qint64(1'832'500) << u"CW"_s << "QSO:  3500 CW"_ba
                                              << "<MODE:2>CW"_ba;
        QTest::newRow("no radio") << 80 << u"SSB"_s << qint64(0) << QString() << "QSO:  3500 PH"_ba
                                  << "<MODE:3>SSB"_ba;
    }

    void radioFrequency()
    {
        QFETCH(int, band);
        QFETCH(QString, mode);
        QFETCH(qint64, hz);
        QFETCH(QString, radioMode);
        QFETCH(QByteArray, qsoStart);
        QFETCH(QByteArray, adifFields);
        ExportJournal log;
        log.add(QDateTime(QDate(2006, 10, 22), QTime(16, 0), Qt::UTC), 1, band, mode, u"RA3WV"_s, u"22 001"_s,
                u"23 015"_s);
        if (hz > 0) {
            recordContactFrequency(log.db, log.journal.currentId(), {hz, radioMode});
        }
        const QString cabrillo = log.env.path(u"UA3ABC.log"_s);
        exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Cabrillo, cabrillo);
        const QByteArray written = readFile(cabrillo);
        const QByteArray qso = written.mid(written.indexOf("QSO:"));
        QVERIFY2(qso.startsWith(qsoStart), qso.constData());
        const QString adif = log.env.path(u"UA3ABC.adi"_s);
        exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Adif, adif);
        const QByteArray record = readFile(adif);
        QVERIFY2(record.contains(QByteArray(adifFields + " <STX_STRING")), record.constData());
        QCOMPARE(record.contains("<FREQ"), adifFields.contains("<FREQ"));
    }

    void emptyJournal()
    {
        ExportJournal log;
        const QString path = log.env.path(u"UA3ABC.log"_s);
        const ExportHeader header{u"1.03"_s, QDateTime(), 0};
        QCOMPARE(exportLog(log.journal, 1, callsignOnly(), header, LogFormat::Cabrillo, path).contacts, 0);
        QCOMPARE(readFile(path),
                 "START-OF-LOG: 3.0\r\n"
                 "CREATED-BY: Tourlog 1.03\r\n"
                 "CALLSIGN: UA3ABC\r\n"
                 "CATEGORY-BAND: ALL\r\n"
                 "CATEGORY-MODE: MIXED\r\n"
                 "CLAIMED-SCORE: 0\r\n"
                 "END-OF-LOG:\r\n"_ba);
    }

    // A folder that refuses the file, or a disk that fills half-way, leaves the old file whole and no
    // half file beside it, and the message names the file and the reason.
    void unwritableTarget()
    {
        SKIP_WITHOUT_FOLDER_PERMISSIONS();
#ifndef Q_OS_WIN
        ExportJournal log;
        log.addMixedLog();
        QDir(log.env.workDir()).mkdir(u"out"_s);
        const QString path = log.env.path(u"out/UA3ABC_P.log"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old log\r\n") > 0);
        old.close();
        const auto failure = [&] {
            try {
                exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Cabrillo, path);
            } catch (const StoreError& error) {
                return error.message();
            }
            return u"<no error>"_s;
        };
        const auto outFiles = [&] { return QDir(log.env.path(u"out"_s)).entryList(QDir::Files | QDir::Hidden); };

        QFile::setPermissions(log.env.path(u"out"_s), QFile::ReadOwner | QFile::ExeOwner);
        {
            const WithoutFileAccessOverride restricted;
            const QString message = failure();
            QVERIFY2(message.contains(path) && message.contains(u"ermission"_s), qPrintable(message));
        }
        QFile::setPermissions(log.env.path(u"out"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readFile(path), "old log\r\n"_ba);

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 200;
        setrlimit(RLIMIT_FSIZE, &small);
        const QString message = failure();
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY2(message.contains(path), qPrintable(message));
        QCOMPARE(readFile(path), "old log\r\n"_ba);
        QCOMPARE(outFiles(), QStringList({u"UA3ABC_P.log"_s}));
#endif
    }
};

QTEST_GUILESS_MAIN(TestCabrillo)
#include "test_cabrillo.moc"
