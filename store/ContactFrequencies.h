#pragma once

#include <QHash>
#include <QString>

class Database;

// The radio's frequency and mode at a contact, as the rig library named the mode ("LSB", "CW"...).
struct ContactFrequency
{
    qint64 hz = 0;
    QString mode;

    bool operator==(const ContactFrequency&) const = default;
};

// Why contacts cannot carry their frequency now (the Frequency table is missing, may not be written or has
// not passed the quick check); empty when they can. A contact is recorded all the same when they cannot; it
// goes out with its band edge, as without a radio.
QString frequenciesRefusal(Database& db);
bool frequenciesWritable(Database& db);
// Written in the contact's own transaction, keyed by its Journal row.
void recordContactFrequency(Database& db, qint64 journalId, const ContactFrequency& frequency);
// Goes with its Journal row; nothing to do when there is none or the table is not there.
void forgetContactFrequency(Database& db, qint64 journalId);
// every frequency kept, by Journal row; empty when the table is not there or cannot be read
QHash<qint64, ContactFrequency> contactFrequencies(Database& db);
