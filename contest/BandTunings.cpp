#include "contest/BandTunings.h"

#include "contest/RadioBand.h"

namespace
{
// the calling parts, by column: 80 m SSB, 80 m CW, 160 m SSB, 160 m CW; sideband is lower on both bands
const std::array<RadioTuning, kBandCount> kCallingParts = {
    RadioTuning{3'650'000, QStringLiteral("LSB")},
    RadioTuning{3'520'000, QStringLiteral("CW")},
    RadioTuning{1'860'000, QStringLiteral("LSB")},
    RadioTuning{1'830'000, QStringLiteral("CW")},
};
} // namespace

void BandTunings::note(qint64 frequencyHz, const QString& modeName)
{
    if (const std::optional<int> band = radioBand(frequencyHz, radioModeFromName(modeName))) {
        m_last.at(*band) = RadioTuning{frequencyHz, modeName.trimmed()};
    }
}

RadioTuning BandTunings::forBand(int band) const
{
    return m_last.at(band).value_or(kCallingParts.at(band));
}
