#include "contest/LogFormats.h"

#include "contest/MorseLatin.h"
#include "contest/Transliteration.h"

#include <QRegularExpression>

#include <utility>

namespace
{
const QString kLineEnd = QStringLiteral("\r\n");
const QString kProgramId = QStringLiteral("Tourlog");
const QString kAdifVersion = QStringLiteral("3.1.4");
// the widths of the Cabrillo 3.0 QSO template: freq, call, and rst + exch taken as one exchange column
constexpr int kFrequencyWidth = 5;
constexpr int kModeWidth = 2;
constexpr int kCallWidth = 13;
constexpr int kExchangeWidth = 10;

QString ascii(const QString& text)
{
    return morseLatin(text.trimmed()).text;
}

// names, addresses and the soapbox are words to be read, not signs to be keyed
QString freeText(const QString& text)
{
    return passportLatin(text.trimmed()).text;
}

// callsigns and exchanges are written in capitals, one space between their parts
QString token(const QString& text)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    return ascii(text).toUpper().split(spaces, Qt::SkipEmptyParts).join(u' ');
}

QString firstOperator(const Station& station)
{
    const QString operators = token(station.operators);
    return operators.isEmpty() ? token(station.callsign) : operators.section(u' ', 0, 0);
}

QString derivedBand(const QList<ExportContact>& contacts)
{
    bool on80 = false;
    bool on160 = false;
    for (const ExportContact& contact : contacts) {
        on80 = on80 || contact.band == 80;
        on160 = on160 || contact.band == 160;
    }
    if (on80 != on160) {
        return on80 ? QStringLiteral("80M") : QStringLiteral("160M");
    }
    return QStringLiteral("ALL");
}

QString derivedMode(const QList<ExportContact>& contacts)
{
    bool ssb = false;
    bool cw = false;
    for (const ExportContact& contact : contacts) {
        ssb = ssb || isSsb(contact.mode);
        cw = cw || isCw(contact.mode);
    }
    if (ssb != cw) {
        return ssb ? QStringLiteral("SSB") : QStringLiteral("CW");
    }
    return QStringLiteral("MIXED");
}

constexpr qint64 kHzPerKhz = 1000;
constexpr qint64 kHzPerMhz = 1'000'000;

// "3.6504": as many decimals as the reading has, at least one
QString megahertz(qint64 hz)
{
    QString decimals = QString::number(hz % kHzPerMhz).rightJustified(6, u'0');
    while (decimals.size() > 1 && decimals.endsWith(u'0')) {
        decimals.chop(1);
    }
    return QString::number(hz / kHzPerMhz) + u'.' + decimals;
}

const QStringList& sidebands()
{
    static const QStringList names = {QStringLiteral("LSB"), QStringLiteral("USB")};
    return names;
}

QString cabrilloMode(const QString& mode)
{
    if (isSsb(mode)) {
        return QStringLiteral("PH");
    }
    return isCw(mode) ? QStringLiteral("CW") : token(mode);
}

QString qsoLine(const ExportContact& contact, const QString& ownCall)
{
    const int khz = contact.frequency ? int(contact.frequency->hz / kHzPerKhz) : bandLowerEdgeKhz(contact.band);
    const QString frequency = khz > 0 ? QString::number(khz) : QString::number(contact.band);
    // a long value widens its column; nothing trails the last one
    QString line = QStringLiteral("QSO: ") + frequency.rightJustified(kFrequencyWidth) + u' '
        + cabrilloMode(contact.mode).leftJustified(kModeWidth) + u' ' + contact.utc.toString(u"yyyy-MM-dd HHmm") + u' '
        + ownCall.leftJustified(kCallWidth) + u' ' + token(contact.sentText).leftJustified(kExchangeWidth) + u' '
        + token(contact.callSign).leftJustified(kCallWidth) + u' ' + token(contact.recvText);
    while (line.endsWith(u' ')) {
        line.chop(1);
    }
    return line;
}

class CabrilloWriter
{
public:
    void tag(const char* name, const QString& value)
    {
        if (!value.isEmpty()) {
            line(QString::fromLatin1(name) + QStringLiteral(": ") + value);
        }
    }

    void lines(const char* name, const QStringList& values)
    {
        for (const QString& value : values) {
            tag(name, freeText(value));
        }
    }

    void line(const QString& text) { m_text += text + kLineEnd; }

    QByteArray bytes() const { return m_text.toLatin1(); }

private:
    QString m_text;
};

class AdifWriter
{
public:
    void field(const char* name, const QString& value)
    {
        if (value.isEmpty()) {
            return;
        }
        const QByteArray bytes = value.toLatin1();
        m_bytes += '<' + QByteArray(name) + ':' + QByteArray::number(bytes.size()) + '>' + bytes + ' ';
    }

    void end(const char* marker) { m_bytes += '<' + QByteArray(marker) + '>' + kLineEnd.toLatin1(); }

    void text(const QString& line) { m_bytes += line.toLatin1() + kLineEnd.toLatin1(); }

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// "22 001" sends its serial as 1; an exchange without a whole-number serial has none
QString serialOf(const QString& exchange)
{
    const QStringList parts = token(exchange).split(u' ');
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (parts.size() < 2 || !digits.match(parts.last()).hasMatch()) {
        return QString();
    }
    return QString::number(parts.last().toLongLong());
}

void addProblem(QStringList& problems, const char* tag, const QString& value,
                AsciiText (*toAscii)(const QString&) = morseLatin)
{
    if (toAscii(value).lossy) {
        problems.append(QStringLiteral("Station data, %1: %2").arg(QString::fromLatin1(tag), value));
    }
}

void addProblems(QStringList& problems, const char* tag, const QStringList& values)
{
    for (const QString& value : values) {
        addProblem(problems, tag, value, passportLatin);
    }
}
} // namespace

QByteArray cabrilloLog(const QList<ExportContact>& contacts, const Station& station, const ExportHeader& header)
{
    CabrilloWriter log;
    log.line(QStringLiteral("START-OF-LOG: 3.0"));
    log.tag("CREATED-BY", ascii(kProgramId + u' ' + header.programVersion));
    log.tag("CONTEST", ascii(station.contest));
    log.tag("CALLSIGN", token(station.callsign));
    log.tag("CATEGORY-OPERATOR", ascii(station.categoryOperator));
    log.tag("CATEGORY-BAND", station.categoryBand.isEmpty() ? derivedBand(contacts) : ascii(station.categoryBand));
    log.tag("CATEGORY-MODE", station.categoryMode.isEmpty() ? derivedMode(contacts) : ascii(station.categoryMode));
    log.tag("CATEGORY-POWER", ascii(station.categoryPower));
    log.tag("CATEGORY-STATION", ascii(station.categoryStation));
    log.tag("CATEGORY-TRANSMITTER", ascii(station.categoryTransmitter));
    log.tag("CATEGORY-ASSISTED", ascii(station.categoryAssisted));
    log.tag("CATEGORY-TIME", ascii(station.categoryTime));
    log.tag("CATEGORY-OVERLAY", ascii(station.categoryOverlay));
    log.tag("CERTIFICATE", ascii(station.certificate));
    log.tag("CLAIMED-SCORE", QString::number(header.claimedScore));
    log.tag("OPERATORS", token(station.operators));
    log.tag("NAME", freeText(station.name));
    log.tag("EMAIL", ascii(station.email));
    log.lines("ADDRESS", station.address);
    log.tag("ADDRESS-CITY", freeText(station.addressCity));
    log.tag("ADDRESS-STATE-PROVINCE", freeText(station.addressStateProvince));
    log.tag("ADDRESS-POSTALCODE", freeText(station.addressPostalcode));
    log.tag("ADDRESS-COUNTRY", freeText(station.addressCountry));
    log.tag("LOCATION", freeText(station.location));
    log.tag("GRID-LOCATOR", token(station.gridLocator));
    log.tag("CLUB", freeText(station.club));
    log.lines("SOAPBOX", station.soapbox);
    const QString ownCall = token(station.callsign);
    for (const ExportContact& contact : contacts) {
        log.line(qsoLine(contact, ownCall));
    }
    log.line(QStringLiteral("END-OF-LOG:"));
    return log.bytes();
}

QByteArray adifLog(const QList<ExportContact>& contacts, const Station& station, const ExportHeader& header)
{
    AdifWriter adi;
    adi.text(QStringLiteral("Tourlog ADIF export"));
    adi.field("ADIF_VER", kAdifVersion);
    adi.field("PROGRAMID", kProgramId);
    adi.field("PROGRAMVERSION", ascii(header.programVersion));
    adi.field("CREATED_TIMESTAMP", header.createdUtc.toUTC().toString(u"yyyyMMdd HHmmss"));
    adi.end("EOH");
    const QString contestId = token(station.adifContestId);
    const QString ownCall = token(station.callsign);
    const QString operatorCall = firstOperator(station);
    for (const ExportContact& contact : contacts) {
        adi.field("CALL", token(contact.callSign));
        adi.field("QSO_DATE", contact.utc.toString(u"yyyyMMdd"));
        adi.field("TIME_ON", contact.utc.toString(u"HHmmss"));
        if (bandLowerEdgeKhz(contact.band) > 0) {
            adi.field("BAND", QString::number(contact.band) + u'm');
        }
        if (contact.frequency) {
            adi.field("FREQ", megahertz(contact.frequency->hz));
        }
        if (isSsb(contact.mode) || isCw(contact.mode)) {
            adi.field("MODE", contact.mode.toUpper());
        }
        if (isSsb(contact.mode) && contact.frequency && sidebands().contains(contact.frequency->mode.toUpper())) {
            adi.field("SUBMODE", contact.frequency->mode.toUpper());
        }
        adi.field("STX_STRING", token(contact.sentText));
        adi.field("STX", serialOf(contact.sentText));
        adi.field("SRX_STRING", token(contact.recvText));
        adi.field("SRX", serialOf(contact.recvText));
        adi.field("CONTEST_ID", contestId);
        adi.field("STATION_CALLSIGN", ownCall);
        adi.field("OPERATOR", operatorCall);
        adi.end("EOR");
    }
    return adi.bytes();
}

QStringList cabrilloStationProblems(const Station& station)
{
    QStringList problems;
    addProblem(problems, "CONTEST", station.contest);
    addProblem(problems, "CALLSIGN", station.callsign);
    addProblem(problems, "OPERATORS", station.operators);
    addProblem(problems, "NAME", station.name, passportLatin);
    addProblem(problems, "EMAIL", station.email);
    addProblems(problems, "ADDRESS", station.address);
    addProblem(problems, "ADDRESS-CITY", station.addressCity, passportLatin);
    addProblem(problems, "ADDRESS-STATE-PROVINCE", station.addressStateProvince, passportLatin);
    addProblem(problems, "ADDRESS-POSTALCODE", station.addressPostalcode, passportLatin);
    addProblem(problems, "ADDRESS-COUNTRY", station.addressCountry, passportLatin);
    addProblem(problems, "LOCATION", station.location, passportLatin);
    addProblem(problems, "GRID-LOCATOR", station.gridLocator);
    addProblem(problems, "CLUB", station.club, passportLatin);
    addProblems(problems, "SOAPBOX", station.soapbox);
    return problems;
}

QStringList cabrilloMissingTags(const Station& station)
{
    const std::pair<const char*, QString> required[] = {
        {"CONTEST", ascii(station.contest)},
        {"CALLSIGN", token(station.callsign)},
        {"CATEGORY-OPERATOR", ascii(station.categoryOperator)},
        {"CATEGORY-POWER", ascii(station.categoryPower)},
        {"CATEGORY-TRANSMITTER", ascii(station.categoryTransmitter)},
        {"CATEGORY-ASSISTED", ascii(station.categoryAssisted)},
    };
    QStringList missing;
    for (const auto& [tag, value] : required) {
        if (value.isEmpty()) {
            missing.append(QString::fromLatin1(tag));
        }
    }
    return missing;
}

QStringList adifStationProblems(const Station& station)
{
    QStringList problems;
    addProblem(problems, "STATION_CALLSIGN", station.callsign);
    addProblem(problems, "OPERATOR", station.operators);
    addProblem(problems, "CONTEST_ID", station.adifContestId);
    return problems;
}
