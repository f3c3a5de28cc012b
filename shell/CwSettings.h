#pragma once

#include "contest/CwMessages.h"
#include "shell/ProfileFile.h"

#include <QString>

// The messages and the keyer, kept in the settings file's section [Messages].
struct CwSettings
{
    enum class Keyer
    {
        None,
        Radio,    // the radio the window follows, through the rig library's send-Morse call
        Cwdaemon, // cwdaemon over UDP
    };

    static constexpr int kDefaultPort = 6789;
    static constexpr int kDefaultWpm = 24;
    static constexpr int kMinWpm = 5;
    static constexpr int kMaxWpm = 60;

    CwMessageTexts messages = defaultCwMessages();
    bool cutNumbers = false;
    bool exchangeOnEntry = false;
    Keyer keyer = Keyer::None;
    QString host = QStringLiteral("localhost");
    int port = kDefaultPort;
    int wpm = kDefaultWpm;

    bool operator==(const CwSettings&) const = default;
};

// Anything missing or unreadable reads as its default: no keyer, the default messages.
CwSettings loadCwSettings(const QString& filePath = settingsFilePath());
// Keeps every other section as it is. Throws StoreError "Unable to write to <path>".
void saveCwSettings(const CwSettings& settings, const QString& filePath = settingsFilePath());
