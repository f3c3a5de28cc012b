#include "shell/StationSettings.h"

#include <functional>

namespace
{
const QString kSection = QStringLiteral("Station");

struct TextKey
{
    const char* key;
    QString Station::*field;
};

const TextKey kTextKeys[] = {
    {"Callsign", &Station::callsign},
    {"Operators", &Station::operators},
    {"Name", &Station::name},
    {"Email", &Station::email},
    {"Contest", &Station::contest},
    {"CategoryOperator", &Station::categoryOperator},
    {"CategoryBand", &Station::categoryBand},
    {"CategoryMode", &Station::categoryMode},
    {"CategoryPower", &Station::categoryPower},
    {"CategoryStation", &Station::categoryStation},
    {"CategoryTransmitter", &Station::categoryTransmitter},
    {"Club", &Station::club},
    {"AdifContestId", &Station::adifContestId},
    {"AddressCity", &Station::addressCity},
    {"AddressStateProvince", &Station::addressStateProvince},
    {"AddressPostalcode", &Station::addressPostalcode},
    {"AddressCountry", &Station::addressCountry},
    {"Location", &Station::location},
    {"GridLocator", &Station::gridLocator},
    {"CategoryAssisted", &Station::categoryAssisted},
    {"CategoryTime", &Station::categoryTime},
    {"CategoryOverlay", &Station::categoryOverlay},
    {"Certificate", &Station::certificate},
};

QString numberedKey(const char* key, qsizetype number)
{
    return QString::fromLatin1(key) + QString::number(number);
}

QStringList readLines(const ProfileFile& profile, const char* key, qsizetype count)
{
    QStringList lines;
    for (qsizetype i = 1; i <= count; ++i) {
        lines.append(profile.value(kSection, numberedKey(key, i), QString()));
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

void writeLines(ProfileFile& profile, const char* key, const QStringList& lines, qsizetype count)
{
    for (qsizetype i = 1; i <= count; ++i) {
        profile.setValue(kSection, numberedKey(key, i), i <= lines.size() ? lines.at(i - 1) : QString());
    }
}
} // namespace

Station loadStation(const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    Station station;
    for (const TextKey& text : kTextKeys) {
        station.*text.field = profile.value(kSection, QString::fromLatin1(text.key), QString());
    }
    station.address = readLines(profile, "Address", kMaxAddressLines);
    station.soapbox = readLines(profile, "Soapbox", kMaxSoapboxLines);
    return station;
}

void saveStation(const Station& station, const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    for (const TextKey& text : kTextKeys) {
        profile.setValue(kSection, QString::fromLatin1(text.key), station.*text.field);
    }
    writeLines(profile, "Address", station.address, kMaxAddressLines);
    writeLines(profile, "Soapbox", station.soapbox, kMaxSoapboxLines);
    profile.save();
}
