#include "shell/RadioSettings.h"

#include "shell/SettingsFormat.h"

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"Radio"_s;
const QString kConnection = u"Connection"_s;
const QString kModel = u"Model"_s;
const QString kDevice = u"Device"_s;
const QString kSpeed = u"Speed"_s;
const QString kHost = u"Host"_s;
const QString kPort = u"Port"_s;
const QString kNone = u"None"_s;
const QString kSerial = u"Serial"_s;
const QString kNetwork = u"Network"_s;
constexpr int kMaxPort = 65535;
const QString kTuningSection = u"RadioTuning"_s;
const QString kTuneToColumn = u"TuneToColumn"_s;

QString connectionName(RadioSettings::Connection connection)
{
    switch (connection) {
    case RadioSettings::Connection::Serial:
        return kSerial;
    case RadioSettings::Connection::Network:
        return kNetwork;
    case RadioSettings::Connection::None:
        break;
    }
    return kNone;
}
} // namespace

RadioSettings loadRadioSettings(const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    RadioSettings settings;
    const auto text = [&profile](const QString& key, const QString& defaultValue) {
        return profile.value(kSection, key, defaultValue);
    };
    const QString connection = text(kConnection, kNone);
    if (connection.compare(kSerial, Qt::CaseInsensitive) == 0) {
        settings.connection = RadioSettings::Connection::Serial;
    } else if (connection.compare(kNetwork, Qt::CaseInsensitive) == 0) {
        settings.connection = RadioSettings::Connection::Network;
    }
    settings.model = parseProfileInteger(text(kModel, QString()), 0);
    settings.device = text(kDevice, QString());
    settings.speed = parseProfileInteger(text(kSpeed, QString()), RadioSettings::kDefaultSpeed);
    settings.host = text(kHost, settings.host);
    const int port = parseProfileInteger(text(kPort, QString()), RadioSettings::kDefaultPort);
    settings.port = port > 0 && port <= kMaxPort ? port : RadioSettings::kDefaultPort;
    settings.tuneToColumn = parseTruth(profile.value(kTuningSection, kTuneToColumn, QString())).value_or(false);
    // a rig that cannot be named cannot be opened: better no radio than a connection that always fails
    if ((settings.connection == RadioSettings::Connection::Serial && (settings.model <= 0 || settings.device.isEmpty()))
        || (settings.connection == RadioSettings::Connection::Network && settings.host.isEmpty())) {
        settings.connection = RadioSettings::Connection::None;
    }
    return settings;
}

void saveRadioSettings(const RadioSettings& settings, const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    profile.setValue(kSection, kConnection, connectionName(settings.connection));
    profile.setValue(kSection, kModel, QString::number(settings.model));
    profile.setValue(kSection, kDevice, settings.device);
    profile.setValue(kSection, kSpeed, QString::number(settings.speed));
    profile.setValue(kSection, kHost, settings.host);
    profile.setValue(kSection, kPort, QString::number(settings.port));
    profile.setValue(kTuningSection, kTuneToColumn, formatTruth(settings.tuneToColumn));
    profile.save();
}
