#include "shell/CwSettings.h"

#include "shell/SettingsFormat.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"Messages"_s;
const QString kKeyer = u"Keyer"_s;
const QString kHost = u"Host"_s;
const QString kPort = u"Port"_s;
const QString kWpm = u"Wpm"_s;
const QString kCutNumbers = u"CutNumbers"_s;
const QString kExchangeOnEntry = u"ExchangeOnEntry"_s;
const QString kNone = u"None"_s;
const QString kRadio = u"Radio"_s;
const QString kCwdaemon = u"Cwdaemon"_s;
constexpr int kMaxPort = 65535;

QString messageKey(int index)
{
    return u"F"_s + QString::number(index + 1);
}

QString keyerName(CwSettings::Keyer keyer)
{
    switch (keyer) {
    case CwSettings::Keyer::Radio:
        return kRadio;
    case CwSettings::Keyer::Cwdaemon:
        return kCwdaemon;
    case CwSettings::Keyer::None:
        break;
    }
    return kNone;
}
} // namespace

CwSettings loadCwSettings(const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    CwSettings settings;
    const auto text = [&profile](const QString& key) { return profile.value(kSection, key, QString()); };
    const QString keyer = text(kKeyer);
    if (keyer.compare(kRadio, Qt::CaseInsensitive) == 0) {
        settings.keyer = CwSettings::Keyer::Radio;
    } else if (keyer.compare(kCwdaemon, Qt::CaseInsensitive) == 0) {
        settings.keyer = CwSettings::Keyer::Cwdaemon;
    }
    settings.host = profile.value(kSection, kHost, settings.host);
    const int port = parseProfileInteger(text(kPort), CwSettings::kDefaultPort);
    settings.port = port > 0 && port <= kMaxPort ? port : CwSettings::kDefaultPort;
    settings.wpm = std::clamp(parseProfileInteger(text(kWpm), CwSettings::kDefaultWpm), CwSettings::kMinWpm,
                              CwSettings::kMaxWpm);
    settings.cutNumbers = parseTruth(text(kCutNumbers)).value_or(false);
    settings.exchangeOnEntry = parseTruth(text(kExchangeOnEntry)).value_or(false);
    for (int i = 0; i < kCwMessageCount; ++i) {
        // a key that is missing keeps its default; one that is there but empty is an empty message
        QString& message = settings.messages.at(size_t(i));
        message = profile.value(kSection, messageKey(i), message);
    }
    if (settings.keyer == CwSettings::Keyer::Cwdaemon && settings.host.isEmpty()) {
        settings.keyer = CwSettings::Keyer::None;
    }
    return settings;
}

void saveCwSettings(const CwSettings& settings, const QString& filePath)
{
    ProfileFile profile(filePath);
    profile.load();
    profile.setValue(kSection, kKeyer, keyerName(settings.keyer));
    profile.setValue(kSection, kHost, settings.host);
    profile.setValue(kSection, kPort, QString::number(settings.port));
    profile.setValue(kSection, kWpm, QString::number(settings.wpm));
    profile.setValue(kSection, kCutNumbers, formatTruth(settings.cutNumbers));
    profile.setValue(kSection, kExchangeOnEntry, formatTruth(settings.exchangeOnEntry));
    for (int i = 0; i < kCwMessageCount; ++i) {
        profile.setValue(kSection, messageKey(i), settings.messages.at(size_t(i)));
    }
    profile.save();
}
