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

// Whether the radio, read so, is on a band column of that band (in metres) and mode ("SSB", "CW"): a contact
// of that column may go out with this frequency.
bool readingFits(qint64 frequencyHz, const QString& modeName, int metres, const QString& modulation);

// The radio's reading as the window shows it, as "80 m CW 3.520 MHz".
QString radioReadingText(qint64 frequencyHz, const QString& modeName);

// When the radio moves the active band. The frequency and the mode are read one after the other, so a
// reading may pair a new frequency with the mode before it: only the same reading twice in a row counts.
// The band moves when the band of what counts changes to a band column, so that a band the operator chose
// holds until the radio's band or mode changes; a move held back is made at a later reading once the hold
// is over, unless the radio has left that band by then.
class RadioBandTracker
{
public:
    // held: the active band must not move now. Returns the band column to make active now, if any.
    std::optional<int> read(qint64 frequencyHz, RadioMode mode, bool held);
    // the radio's band column, as far as readings tell it
    std::optional<int> band() const { return m_band; }
    // The radio was sent to that column's band and mode. Readings of anywhere else are taken for the radio
    // still on its way, for a few readings, rather than for a move of its own back to where it was.
    void tunedTo(int band);

private:
    struct Reading
    {
        qint64 frequencyHz;
        RadioMode mode;
        bool operator==(const Reading&) const = default;
    };

    std::optional<Reading> m_lastReading;
    // the radio's band, as far as readings twice in a row tell it; nothing outside the bands
    std::optional<int> m_band;
    bool m_movePending = false;
    // readings still taken for the radio on its way to the band it was sent to
    int m_settlingReadings = 0;
};
