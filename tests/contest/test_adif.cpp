#include "contest/LogExport.h"
#include "support/ExportJournal.h"

#include "store/ContactFrequencies.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace
{
using Fields = QMap<QByteArray, QByteArray>;

const ExportHeader kHeader{u"1.03"_s, QDateTime(QDate(2006, 10, 23), QTime(6, 0, 7), Qt::UTC), 49};

const QByteArray kHeaderText = "Tourlog ADIF export\r\n"
                               "<ADIF_VER:5>3.1.4 <PROGRAMID:7>Tourlog <PROGRAMVERSION:4>1.03 "
                               "<CREATED_TIMESTAMP:15>20061023 060007 <EOH>\r\n";

const QByteArray kStationFields = "<CONTEST_ID:7>RU-TOUR <STATION_CALLSIGN:8>UA3ABC/P <OPERATOR:6>UA3ABC <EOR>\r\n";

// An ADI file as a logbook reads it: the header up to <EOH>, then records up to <EOR>; a field is
// <NAME:length> or <NAME:length:type> and its value is the next `length` bytes.
struct AdiFile
{
    QByteArray preamble;
    Fields header;
    QList<Fields> records;
    QString error;
};

AdiFile readAdi(const QByteArray& bytes)
{
    AdiFile file;
    qsizetype at = bytes.indexOf('<');
    file.preamble = bytes.left(at);
    Fields fields;
    bool inHeader = true;
    while (at >= 0 && at < bytes.size()) {
        const qsizetype close = bytes.indexOf('>', at);
        if (close < 0) {
            file.error = u"unclosed tag at %1"_s.arg(at);
            return file;
        }
        const QByteArrayList parts = bytes.mid(at + 1, close - at - 1).split(':');
        const QByteArray name = parts.at(0).toUpper();
        at = close + 1;
        if (parts.size() == 1) {
            if (name == "EOH" && inHeader) {
                file.header = fields;
                inHeader = false;
            } else if (name == "EOR" && !inHeader) {
                file.records.append(fields);
            } else {
                file.error = u"unexpected <%1>"_s.arg(QString::fromLatin1(name));
                return file;
            }
            fields.clear();
        } else {
            bool ok = false;
            const qsizetype length = parts.at(1).toLongLong(&ok);
            if (!ok || at + length > bytes.size() || fields.contains(name)) {
                file.error = u"bad field %1"_s.arg(QString::fromLatin1(name));
                return file;
            }
            fields.insert(name, bytes.mid(at, length));
            at += length;
        }
        at = bytes.indexOf('<', at);
    }
    return file;
}

Fields record(const QByteArray& call, const QByteArray& date, const QByteArray& time, const QByteArray& band,
              const QByteArray& mode, const QByteArray& sent, const QByteArray& received)
{
    Fields fields{{"QSO_DATE", date},
                  {"TIME_ON", time},
                  {"BAND", band},
                  {"MODE", mode},
                  {"STX_STRING", sent},
                  {"SRX_STRING", received},
                  {"CONTEST_ID", "RU-TOUR"},
                  {"STATION_CALLSIGN", "UA3ABC/P"},
                  {"OPERATOR", "UA3ABC"}};
    if (!call.isEmpty()) {
        fields.insert("CALL", call);
    }
    return fields;
}
} // namespace

class TestAdif : public QObject
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

    void mixedLog()
    {
        QFETCH(QByteArray, zone);
        setTimeZone(zone);
        ExportJournal log;
        log.addMixedLog();
        const QString path = log.env.path(proposedExportName(fullStation(), LogFormat::Adif));
        QVERIFY(path.endsWith(u"/UA3ABC_P.adi"_s));
        QCOMPARE(exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Adif, path).contacts, 4);
        const QByteArray bytes = readFile(path);
        QCOMPARE(bytes,
                 kHeaderText
                     + "<CALL:6>UA9XYZ <QSO_DATE:8>20061022 <TIME_ON:6>235830 <BAND:3>80m <MODE:3>SSB "
                       "<STX_STRING:6>22 001 <STX:1>1 <SRX_STRING:6>23 015 <SRX:2>15 "
                     + kStationFields
                     + "<CALL:9>RA3/DL1AB <QSO_DATE:8>20061023 <TIME_ON:6>000110 <BAND:4>160m <MODE:2>CW "
                       "<STX_STRING:6>22 002 <STX:1>2 <SRX_STRING:6>16 007 <SRX:1>7 "
                     + kStationFields
                     + "<CALL:6>RK3AWL <QSO_DATE:8>20061023 <TIME_ON:6>000559 <BAND:3>80m <MODE:2>CW "
                       "<STX_STRING:10>22 1234567 <STX:7>1234567 <SRX_STRING:6>17 123 <SRX:3>123 "
                     + kStationFields
                     + "<CALL:6>UA4BBB <QSO_DATE:8>20061023 <TIME_ON:6>000559 <BAND:4>160m <MODE:3>SSB "
                       "<STX_STRING:6>22 004 <STX:1>4 <SRX_STRING:6>18 042 <SRX:2>42 "
                     + kStationFields);

        const AdiFile adi = readAdi(bytes);
        QCOMPARE(adi.error, QString());
        QCOMPARE(adi.preamble, "Tourlog ADIF export\r\n"_ba);
        QCOMPARE(adi.header,
                 Fields({{"ADIF_VER", "3.1.4"},
                         {"PROGRAMID", "Tourlog"},
                         {"PROGRAMVERSION", "1.03"},
                         {"CREATED_TIMESTAMP", "20061023 060007"}}));
        QList<Fields> expected = {
            record("UA9XYZ", "20061022", "235830", "80m", "SSB", "22 001", "23 015"),
            record("RA3/DL1AB", "20061023", "000110", "160m", "CW", "22 002", "16 007"),
            record("RK3AWL", "20061023", "000559", "80m", "CW", "22 1234567", "17 123"),
            record("UA4BBB", "20061023", "000559", "160m", "SSB", "22 004", "18 042"),
        };
        const QList<QByteArrayList> serials = {{"1", "15"}, {"2", "7"}, {"1234567", "123"}, {"4", "42"}};
        for (int i = 0; i < expected.size(); ++i) {
            expected[i].insert("STX", serials.at(i).at(0));
            expected[i].insert("SRX", serials.at(i).at(1));
        }
        QCOMPARE(adi.records, expected);
    }

    // Cyrillic goes out as its Morse twins, anything else as "?"; no serial where it is not a whole
    // number; an empty callsign or exchange leaves its field out; every byte is ASCII.
    void cyrillicAndEmptyRows()
    {
        ExportJournal log;
        const QDate day(2006, 10, 22);
        log.add(QDateTime(day, QTime(16, 0), Qt::UTC), 1, 80, u"CW"_s, u"ра3вж"_s, u"22 001"_s, u"23 0Б5"_s);
        log.add(QDateTime(day, QTime(16, 1), Qt::UTC), 1, 80, u"SSB"_s, u"УА3ЧБЦ"_s, u"22 002"_s, u"Ёж 016"_s);
        log.add(QDateTime(day, QTime(16, 2), Qt::UTC), 1, 160, u"CW"_s, QString(), u"22 003"_s, QString());
        // typed without its space: no serial can be told from the region
        log.add(QDateTime(day, QTime(16, 3), Qt::UTC), 1, 160, u"CW"_s, u"UA1AAA"_s, u"22 004"_s, u"22015"_s);
        Station station = fullStation();
        station.operators = u"УА3ДЕФ"_s;
        const QString path = log.env.path(u"UA3ABC.adi"_s);

        const LogExportResult result = exportLog(log.journal, 1, station, kHeader, LogFormat::Adif, path);
        QCOMPARE(result.problems,
                 QStringList({u"22.10.06 16:01:00 УА3ЧБЦ: letters without a Latin twin written as ?"_s,
                              u"22.10.06 16:02:00 (no callsign): no callsign, no exchange"_s}));
        const QByteArray bytes = readFile(path);
        for (const char byte : bytes) {
            QVERIFY(uchar(byte) < 0x80);
        }
        const AdiFile adi = readAdi(bytes);
        QCOMPARE(adi.error, QString());
        QCOMPARE(adi.records.size(), 4);
        QCOMPARE(adi.records.at(0).value("CALL"), "RA3WV"_ba);
        QCOMPARE(adi.records.at(0).value("SRX_STRING"), "23 0B5"_ba);
        QVERIFY(!adi.records.at(0).contains("SRX"));
        QCOMPARE(adi.records.at(0).value("OPERATOR"), "UA3DEF"_ba);
        QCOMPARE(adi.records.at(1).value("CALL"), "UA3?BC"_ba);
        QCOMPARE(adi.records.at(1).value("SRX_STRING"), "EV 016"_ba);
        QCOMPARE(adi.records.at(1).value("SRX"), "16"_ba);
        QVERIFY(!adi.records.at(2).contains("CALL") && !adi.records.at(2).contains("SRX_STRING"));
        QCOMPARE(adi.records.at(2).value("STX"), "3"_ba);
        QCOMPARE(adi.records.at(3).value("SRX_STRING"), "22015"_ba);
        QVERIFY(!adi.records.at(3).contains("SRX"));
    }

    // each format names the station fields it writes and cannot write whole, and no other
    void stationDataProblemsOfEachFormat_data()
    {
        QTest::addColumn<LogFormat>("format");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("Cabrillo") << LogFormat::Cabrillo
                                  << QStringList{u"Station data, OPERATORS: Чук UA3DEF"_s,
                                                 u"Station data, NAME: Чук Ω"_s};
        QTest::newRow("ADIF") << LogFormat::Adif
                              << QStringList{u"Station data, OPERATOR: Чук UA3DEF"_s,
                                             u"Station data, CONTEST_ID: ЧТ"_s};
    }

    void stationDataProblemsOfEachFormat()
    {
        QFETCH(LogFormat, format);
        QFETCH(QStringList, problems);
        ExportJournal log;
        Station station = fullStation();
        station.operators = u"Чук UA3DEF"_s;
        station.name = u"Чук Ω"_s;
        station.adifContestId = u"ЧТ"_s;
        QCOMPARE(exportLog(log.journal, 1, station, kHeader, format, log.env.path(u"log"_s)).problems, problems);
    }

    // A logbook program that is not ours reads the file back: the ADIF parser of the npm registry that
    // scripts/test.sh installs and names in TOURLOG_EXTERNAL_READERS.
    void readsBackInAnotherParser()
    {
        const QString modules = qEnvironmentVariable("TOURLOG_EXTERNAL_READERS");
        if (modules.isEmpty() || !QFileInfo::exists(modules + u"/adif-parser-ts"_s)) {
            QSKIP("adif-parser-ts is not installed: scripts/test.sh installs it");
        }
        ExportJournal log;
        const QDate day(2006, 10, 22);
        log.add(QDateTime(day, QTime(16, 0), Qt::UTC), 1, 80, u"SSB"_s, u"РА3ДЕФ"_s, u"22 001"_s, u"23 015"_s);
        recordContactFrequency(log.db, log.journal.currentId(), {3'650'400, u"LSB"_s});
        log.add(QDateTime(day, QTime(16, 1), Qt::UTC), 1, 160, u"CW"_s, u"ua3xyz/p"_s, u"22 002"_s, u"16 007"_s);
        recordContactFrequency(log.db, log.journal.currentId(), {1'832'500, u"CW"_s});
        Station station = fullStation();
        station.name = u"Иван Чернышёв"_s;
        station.address = QStringList{u"Москва, ул. Щорса 5"_s};
        const QString path = log.env.path(u"UA3ABC.adi"_s);
        exportLog(log.journal, 1, station, kHeader, LogFormat::Adif, path);

        QProcess node;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"NODE_PATH"_s, modules);
        node.setProcessEnvironment(environment);
        node.start(u"node"_s,
                   {u"-e"_s,
                    u"const {AdifParser} = require('adif-parser-ts');"
                    "const text = require('fs').readFileSync(process.argv[1], 'latin1');"
                    "console.log(JSON.stringify(AdifParser.parseAdi(text).records));"_s,
                    path});
        QVERIFY(node.waitForFinished());
        QCOMPARE(node.exitCode(), 0);
        const QJsonArray records = QJsonDocument::fromJson(node.readAllStandardOutput()).array();
        QCOMPARE(records.size(), 2);
        const QStringList expected[] = {{u"RA3DEF"_s, u"3.6504"_s, u"SSB"_s, u"LSB"_s, u"15"_s},
                                        {u"UA3XYZ/P"_s, u"1.8325"_s, u"CW"_s, QString(), u"7"_s}};
        for (int i = 0; i < records.size(); ++i) {
            const QJsonObject record = records.at(i).toObject();
            QCOMPARE((QStringList{record.value(u"call"_s).toString(), record.value(u"freq"_s).toString(),
                                  record.value(u"mode"_s).toString(), record.value(u"submode"_s).toString(),
                                  record.value(u"srx"_s).toString()}),
                     expected[i]);
        }
    }

    void emptyJournal()
    {
        ExportJournal log;
        const QString path = log.env.path(u"UA3ABC.adi"_s);
        QCOMPARE(exportLog(log.journal, 1, fullStation(), kHeader, LogFormat::Adif, path).contacts, 0);
        QCOMPARE(readFile(path), kHeaderText);
    }
};

QTEST_GUILESS_MAIN(TestAdif)
#include "test_adif.moc"
