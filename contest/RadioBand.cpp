#include "contest/RadioBand.h"

#include "contest/BandViews.h"

#include <QStringList>

namespace
{
struct BandEdges
{
    qint64 lowHz;
    qint64 highHz;
    int ssbColumn;
    int cwColumn;
    const char* name;
};

constexpr BandEdges kBands[] = {
    {1'800'000, 2'000'000, 2, 3, "160 m"},
    {3'500'000, 4'000'000, 0, 1, "80 m"},
};

const BandEdges* bandOf(qint64 frequencyHz)
{
    for (const BandEdges& band : kBands) {
        if (frequencyHz >= band.lowHz && frequencyHz <= band.highHz) {
            return &band;
        }
    }
    return nullptr;
}
} // namespace

RadioMode radioModeFromName(const QString& modeName)
{
    const QString name = modeName.trimmed().toUpper();
    if (name == u"CW" || name == u"CWR") {
        return RadioMode::Cw;
    }
    if (name == u"LSB" || name == u"USB") {
        return RadioMode::Ssb;
    }
    return RadioMode::Other;
}

std::optional<int> radioBand(qint64 frequencyHz, RadioMode mode)
{
    const BandEdges* band = bandOf(frequencyHz);
    if (!band || mode == RadioMode::Other) {
        return std::nullopt;
    }
    return mode == RadioMode::Cw ? band->cwColumn : band->ssbColumn;
}

bool readingFits(qint64 frequencyHz, const QString& modeName, int metres, const QString& modulation)
{
    const std::optional<int> column = radioBand(frequencyHz, radioModeFromName(modeName));
    return column && bandViews().at(*column).metres == metres
        && bandViews().at(*column).modulation == modulation.trimmed();
}

QString radioReadingText(qint64 frequencyHz, const QString& modeName)
{
    QStringList parts;
    if (const BandEdges* band = bandOf(frequencyHz)) {
        parts << QString::fromLatin1(band->name);
    }
    switch (radioModeFromName(modeName)) {
    case RadioMode::Cw:
        parts << QStringLiteral("CW");
        break;
    case RadioMode::Ssb:
        parts << QStringLiteral("SSB");
        break;
    case RadioMode::Other:
        if (!modeName.trimmed().isEmpty()) {
            parts << modeName.trimmed();
        }
        break;
    }
    parts << QString::number(double(frequencyHz) / 1e6, 'f', 3) + QStringLiteral(" MHz");
    return parts.join(u' ');
}

std::optional<int> RadioBandTracker::read(qint64 frequencyHz, RadioMode mode, bool held)
{
    const Reading reading{frequencyHz, mode};
    if (reading != m_lastReading) {
        m_lastReading = reading;
        return std::nullopt;
    }
    const std::optional<int> band = radioBand(frequencyHz, mode);
    if (m_settlingReadings > 0) {
        m_settlingReadings = band == m_band ? 0 : m_settlingReadings - 1;
        return std::nullopt;
    }
    if (band != m_band) {
        m_band = band;
        m_movePending = band.has_value();
    }
    if (!m_movePending || held) {
        return std::nullopt;
    }
    m_movePending = false;
    return m_band;
}

void RadioBandTracker::tunedTo(int band)
{
    // about two seconds of readings: a radio that refused the frequency is followed again after them
    constexpr int kSettlingReadings = 4;
    m_band = band;
    m_movePending = false;
    m_lastReading.reset();
    m_settlingReadings = kSettlingReadings;
}
