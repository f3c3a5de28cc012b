#pragma once

#include "contest/BandViews.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// Where the radio goes when the operator chooses a band column: the frequency and mode last read on that
// column's band and mode, else the calling part of the band for that mode.
struct RadioTuning
{
    qint64 frequencyHz = 0;
    QString modeName; // the rig library's own name, as the radio last named it ("LSB", "CWR"...)

    bool operator==(const RadioTuning&) const = default;
};

class BandTunings
{
public:
    // a reading of the radio; one outside the contest's bands and modes is no column's
    void note(qint64 frequencyHz, const QString& modeName);
    RadioTuning forBand(int band) const;

private:
    std::array<std::optional<RadioTuning>, kBandCount> m_last;
};
