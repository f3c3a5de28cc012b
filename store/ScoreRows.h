#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

#include <functional>

class Database;

// A Journal row's part in the score of one contest: its callsign and KI as keys that are equal exactly
// when the engine puts the two values into one group (groupCountWhere): NULL apart from everything,
// whole and real numbers by value, text and blobs by their bytes.
struct ScoreRow
{
    QByteArray callSign;
    QByteArray ki;
};

// Whether a Journal row can be followed by its ID alone, its keys grouped as above: the table is a table,
// ID is its whole primary key, no column compares by a collation of its own, and no trigger writes rows
// behind a change. Raises StoreError on an engine error.
bool journalScoreRowsFollowable(Database& db);

// Hands the Journal rows whose ContestNumber equals the contest number and whose ID is above the given one
// to take, in the order of their IDs, until take answers false. True once the rows ran out. Raises StoreError.
bool readJournalScoreRows(Database& db, qint64 contestNumber, qint64 afterId,
                          const std::function<bool(qint64 id, const ScoreRow& row)>& take);

// The same for the given IDs only; an ID that is gone or of another contest is absent. Raises StoreError.
QHash<qint64, ScoreRow> journalScoreRows(Database& db, qint64 contestNumber, const QList<qint64>& ids);
