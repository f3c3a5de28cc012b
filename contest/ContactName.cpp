#include "contest/ContactName.h"

#include "store/ContactRows.h"

#include <QStringList>

#include <algorithm>

QString contactName(const ContactKey& key)
{
    const int tour = key.tour.toInt();
    const QString tourText = tour == 0 ? QStringLiteral("all tours") : QStringLiteral("tour %1").arg(tour);
    return QStringLiteral("%1, %2 m %3, %4").arg(key.callsign, key.band.toString(), key.mode.toString(), tourText);
}

namespace
{
// the first ones are enough to go and look; a long list would hide the window
QString namedContacts(const QString& heading, const QList<StoredContact>& rows)
{
    constexpr qsizetype kNamed = 10;
    if (rows.isEmpty()) {
        return {};
    }
    QStringList lines{heading};
    for (qsizetype i = 0; i < std::min(rows.size(), kNamed); ++i) {
        lines.append(QStringLiteral("%1, worked at %2").arg(contactName(rows.at(i).key), rows.at(i).time));
    }
    if (rows.size() > kNamed) {
        lines.append(QStringLiteral("and %1 more").arg(rows.size() - kNamed));
    }
    return lines.join(u'\n');
}
} // namespace

QString untiedContactsText(const QList<StoredContact>& rows)
{
    return namedContacts(QStringLiteral("These worked contacts have no journal line that is theirs alone: a "
                                        "correction or deletion of one changes the contest table only."),
                         rows);
}

QString plannedAgainText(const QList<StoredContact>& rows)
{
    return namedContacts(QStringLiteral("These contacts of the copy are no longer in the journal and are planned "
                                        "again:"),
                         rows);
}

QString repeatedContactsText(const QList<StoredContact>& rows)
{
    return namedContacts(QStringLiteral("These journal lines repeat a contact of the same station, band, mode and "
                                        "tour, and no planned row is theirs:"),
                         rows);
}
