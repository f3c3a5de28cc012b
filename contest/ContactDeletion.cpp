#include "contest/ContactDeletion.h"

#include "contest/ContactName.h"
#include "store/ContactRows.h"
#include "store/RowDeletion.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

namespace
{
// The planned contact that a Journal row stands for, when the row is the newest of its key (an older one
// is a contact of an earlier contest, whose planned row is gone); -1 when there is none.
qint64 workedPlannedRowOf(Database& db, const StoredContact& journalRow)
{
    if (!journalRow.isWorked() || newestJournalRowOf(db, journalRow.key) != journalRow.id) {
        return -1;
    }
    return workedContestRowOf(db, journalRow.key);
}
} // namespace

DeletionOutcome DeletePlannedRow(Database& db, qint64 id)
{
    Transaction transaction(db);
    const std::optional<StoredContact> row = storedContact(db, kTableContest, id);
    if (!row) {
        return DeletionOutcome::RowGone;
    }
    const qint64 journalRow = row->isWorked() ? newestJournalRowOf(db, row->key) : -1;
    if (journalRow >= 0) {
        deleteRowById(db, FolderTable::Journal, journalRow);
    }
    deleteRowById(db, FolderTable::Contest, id);
    transaction.commit();
    return journalRow >= 0 ? DeletionOutcome::JournalChanged : DeletionOutcome::Deleted;
}

DeletionOutcome DeleteJournalRow(Database& db, qint64 id)
{
    Transaction transaction(db);
    const std::optional<StoredContact> row = storedContact(db, kTableJournal, id);
    if (!row) {
        return DeletionOutcome::RowGone;
    }
    const qint64 planned = workedPlannedRowOf(db, *row);
    if (planned >= 0) {
        unworkContestRow(db, planned);
    }
    deleteRowById(db, FolderTable::Journal, id);
    transaction.commit();
    return DeletionOutcome::JournalChanged;
}

QString describePlannedRowDeletion(Database& db, qint64 id)
{
    const std::optional<StoredContact> row = storedContact(db, kTableContest, id);
    if (!row) {
        return {};
    }
    if (!row->isWorked()) {
        return contactName(row->key) + QStringLiteral(", not worked.");
    }
    const QString journal = newestJournalRowOf(db, row->key) >= 0 ? QStringLiteral(" Its journal line goes too.")
                                                                  : QString();
    return contactName(row->key) + QStringLiteral(", worked at %1.").arg(row->time) + journal;
}

QString describeJournalRowDeletion(Database& db, qint64 id)
{
    const std::optional<StoredContact> row = storedContact(db, kTableJournal, id);
    if (!row) {
        return {};
    }
    const QString again = workedPlannedRowOf(db, *row) >= 0
        ? QStringLiteral(" Its planned contact becomes workable again.")
        : QString();
    return contactName(row->key) + QStringLiteral(", worked at %1.").arg(row->time) + again;
}
