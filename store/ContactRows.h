#pragma once

#include <QString>
#include <QVariant>

class Database;

// The tour, band, mode and callsign that tie a Journal row to its planned Contest row.
struct ContactKey
{
    QVariant tour;
    QVariant band;
    QVariant mode;
    QString callsign;
};

// The newest worked Contest row (its time set) with the key, the callsign and mode compared without
// regard to letter case; -1 when there is none.
qint64 workedContestRowOf(Database& db, const ContactKey& key);

// Takes a worked Contest row back to planned: its time, sent and received texts cleared. The open views
// of the table follow.
void unworkContestRow(Database& db, qint64 id);
