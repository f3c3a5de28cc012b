#include "contest/Station.h"

#include "contest/MorseLatin.h"

namespace
{
QStringList withEmptyFirst(QStringList choices)
{
    choices.prepend(QString());
    return choices;
}
} // namespace

QStringList categoryOperatorChoices()
{
    return withEmptyFirst({QStringLiteral("SINGLE-OP"), QStringLiteral("MULTI-OP"), QStringLiteral("CHECKLOG")});
}

QStringList categoryBandChoices()
{
    return withEmptyFirst({QStringLiteral("ALL"), QStringLiteral("160M"), QStringLiteral("80M")});
}

QStringList categoryModeChoices()
{
    return withEmptyFirst({QStringLiteral("SSB"), QStringLiteral("CW"), QStringLiteral("MIXED")});
}

QStringList categoryPowerChoices()
{
    return withEmptyFirst({QStringLiteral("HIGH"), QStringLiteral("LOW"), QStringLiteral("QRP")});
}

QStringList categoryStationChoices()
{
    return withEmptyFirst({QStringLiteral("FIXED"), QStringLiteral("MOBILE"), QStringLiteral("PORTABLE"),
                           QStringLiteral("ROVER"), QStringLiteral("ROVER-LIMITED"), QStringLiteral("ROVER-UNLIMITED"),
                           QStringLiteral("EXPEDITION"), QStringLiteral("HQ"), QStringLiteral("SCHOOL"),
                           QStringLiteral("DISTRIBUTED"), QStringLiteral("EXPLORER")});
}

QStringList categoryTransmitterChoices()
{
    return withEmptyFirst({QStringLiteral("ONE"), QStringLiteral("TWO"), QStringLiteral("LIMITED"),
                           QStringLiteral("UNLIMITED"), QStringLiteral("SWL")});
}

QStringList categoryAssistedChoices()
{
    return withEmptyFirst({QStringLiteral("ASSISTED"), QStringLiteral("NON-ASSISTED")});
}

QStringList categoryTimeChoices()
{
    return withEmptyFirst(
        {QStringLiteral("6-HOURS"), QStringLiteral("8-HOURS"), QStringLiteral("12-HOURS"), QStringLiteral("24-HOURS")});
}

QStringList categoryOverlayChoices()
{
    return withEmptyFirst({QStringLiteral("CLASSIC"), QStringLiteral("ROOKIE"), QStringLiteral("TB-WIRES"),
                           QStringLiteral("YOUTH"), QStringLiteral("NOVICE-TECH"), QStringLiteral("OVER-50")});
}

QStringList certificateChoices()
{
    return withEmptyFirst({QStringLiteral("YES"), QStringLiteral("NO")});
}

QString stationFileStem(const Station& station)
{
    QString stem = morseLatin(station.callsign.trimmed()).text.toUpper();
    for (QChar& ch : stem) {
        if (!ch.isLetterOrNumber() && ch != u'-') {
            ch = u'_';
        }
    }
    return stem;
}
