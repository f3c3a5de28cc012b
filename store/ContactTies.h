#pragma once

#include "store/ContactRows.h"

#include <QList>

#include <optional>

class Database;

// A worked planned row of Contest and its Journal row are one contact: the Tie table holds the pair by their
// IDs, written in the contact's own transaction. Every action on a contact finds its other half here.

// The Journal row of the planned row; nothing when the row is not tied.
std::optional<qint64> tiedJournalRow(Database& db, qint64 contestId);
// The planned row of the Journal row; nothing when the row is not tied.
std::optional<qint64> tiedPlannedRow(Database& db, qint64 journalId);
// Raises StoreError when the table is not there or may not be written: a contact is not recorded untied.
void tieContact(Database& db, qint64 contestId, qint64 journalId);
// Each goes with its row; nothing to do when the table is not there.
void untiePlannedRow(Database& db, qint64 contestId);
void untieJournalRow(Database& db, qint64 journalId);
void untieAll(Database& db);

// How the ties are made again from the key (contest number, tour, band, mode and callsign, the last two
// without regard to letter case) where no tie was kept: a folder of an older Tourlog, or planned rows put
// back from a copy. A planned row is tied only to a Journal row of its key that no other row took; where the key
// has several, a worked row takes the one of its own date and time.
enum class TieMatching
{
    WorkedRowsOnly,
    // The two tables are made to agree: a planned row that matches a contact of the Journal is worked with the
    // contact's date, time and texts, and a worked row whose contact is no longer in the Journal is planned again.
    MarkWorked,
};
struct KeyedTies
{
    QList<StoredContact> plannedAgain; // worked rows whose contact is no longer in the Journal
    QList<StoredContact> repeats;      // Journal rows of a station, band, mode and tour worked already
    QList<StoredContact> untied;       // worked rows left without a Journal row
};
KeyedTies tieByKey(Database& db, TieMatching matching);

// The worked planned rows that have no Journal row tied to them: the operator is told, nothing is guessed.
QList<StoredContact> untiedWorkedRows(Database& db);
