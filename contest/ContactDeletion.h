#pragma once

#include <QString>

class Database;

// Ctrl+Delete on a grid deletes both sides of a contact in one transaction, so that the contest table and
// the journal never disagree. The row is the one the operator pressed Ctrl+Delete on, fixed by its id
// before the question, and is deleted as it is stored: a tour change while the question is open must not
// turn the deletion on another row.

enum class DeletionOutcome
{
    // the row was no longer in its table: nothing was deleted
    RowGone,
    Deleted,
    // the Journal changed too: the score and the report follow
    JournalChanged,
};

// A Contest row; a worked one takes its Journal row with it.
DeletionOutcome DeletePlannedRow(Database& db, qint64 id);

// A Journal row; when it is the row of a worked planned contact, that row is planned again.
DeletionOutcome DeleteJournalRow(Database& db, qint64 id);

// What the deletion of that row would take, said under the question; empty when the row is gone.
QString describePlannedRowDeletion(Database& db, qint64 id);
QString describeJournalRowDeletion(Database& db, qint64 id);
