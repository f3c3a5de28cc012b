#pragma once

#include "shell/ProfileFile.h"

#include <QString>

// How the radio is reached, kept in the settings file's section [Radio].
struct RadioSettings
{
    enum class Connection
    {
        None,
        Serial,
        Network,
    };

    static constexpr int kDefaultSpeed = 9600;
    static constexpr int kDefaultPort = 4532;

    Connection connection = Connection::None;
    // the rig library's model number, for a rig on a serial line
    int model = 0;
    QString device;
    int speed = kDefaultSpeed;
    QString host = QStringLiteral("localhost");
    int port = kDefaultPort;
    // choosing a band column sends the radio there; kept in a section of its own, [RadioTuning]
    bool tuneToColumn = false;

    bool operator==(const RadioSettings&) const = default;
};

// Anything missing or unreadable reads as its default: no radio at all, as before radios were followed.
RadioSettings loadRadioSettings(const QString& filePath = settingsFilePath());
// Keeps every other section as it is. Throws StoreError "Unable to write to <path>".
void saveRadioSettings(const RadioSettings& settings, const QString& filePath = settingsFilePath());
