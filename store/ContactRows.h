#pragma once

#include <QString>
#include <QVariant>

#include <optional>

class Database;

// The tour, band, mode and callsign of a contact, and the contest number of its row: a station is worked once per
// contest, band, mode and tour.
struct ContactKey
{
    QVariant tour;
    QVariant band;
    QVariant mode;
    QString callsign;
    QVariant contest;
};

// A row of the Contest or Journal table as it is stored, whatever a view shows of it meanwhile.
struct StoredContact
{
    qint64 id = -1;
    ContactKey key;
    // "HH:MM:SS", empty for a planned contact not yet worked
    QString time;

    bool isWorked() const { return !time.isEmpty(); }
};

// The row with this id in the Contest or Journal table; nothing when it is no longer there.
std::optional<StoredContact> storedContact(Database& db, const QString& table, qint64 id);

// The newest worked Contest row (its time set) with the key, contest number included, the callsign and mode
// compared without regard to letter case, leaving out the row `except`; -1 when there is none.
qint64 workedContestRowOf(Database& db, const ContactKey& key, qint64 except = -1);

// Takes a worked Contest row back to planned: its time, sent and received texts cleared. The open views
// of the table follow.
void unworkContestRow(Database& db, qint64 id);
