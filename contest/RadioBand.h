#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// What the radio reports, reduced to what picks a band column.
enum class RadioMode
{
    Other,
    Cw,
    Ssb,
};

// The rig library's mode names: CW and CW reverse are CW, either sideband is SSB.
RadioMode radioModeFromName(const QString& modeName);

// The band column (index as in bandViews()) for a frequency in Hz and a mode; nothing outside the
// 160 m and 80 m bands or in a mode the contest does not use.
std::optional<int> radioBand(qint64 frequencyHz, RadioMode mode);

// The radio's reading as the window shows it, as "80 m CW 3.520 MHz".
QString radioReadingText(qint64 frequencyHz, const QString& modeName);
