#include "contest/RepeatedContact.h"

#include "contest/ContactName.h"
#include "store/TableNames.h"

std::optional<StoredContact> repeatedContact(Database& db, const ContactKey& key, qint64 row)
{
    const qint64 other = workedContestRowOf(db, key, row);
    return other >= 0 ? storedContact(db, kTableContest, other) : std::nullopt;
}

QString repeatedContactText(const StoredContact& worked)
{
    return QStringLiteral("%1 is worked already, at %2, and a station is worked once per band, mode and tour.")
        .arg(contactName(worked.key), worked.time);
}
