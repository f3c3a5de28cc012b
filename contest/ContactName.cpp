#include "contest/ContactName.h"

#include "store/ContactRows.h"

QString contactName(const ContactKey& key)
{
    const int tour = key.tour.toInt();
    const QString tourText = tour == 0 ? QStringLiteral("all tours") : QStringLiteral("tour %1").arg(tour);
    return QStringLiteral("%1, %2 m %3, %4").arg(key.callsign, key.band.toString(), key.mode.toString(), tourText);
}
