#include "contest/ContactDeletion.h"

#include "contest/ContactName.h"
#include "store/ContactTies.h"
#include "store/RowDeletion.h"
#include "store/TableNames.h"
#include "store/Transaction.h"

namespace
{
// the planned row of a Journal row, while it is worked: a row of an older folder that could not be tied has none
std::optional<qint64> workedPlannedRowOf(Database& db, qint64 journalId)
{
    const std::optional<qint64> planned = tiedPlannedRow(db, journalId);
    if (!planned) {
        return std::nullopt;
    }
    const std::optional<StoredContact> row = storedContact(db, kTableContest, *planned);
    return row && row->isWorked() ? planned : std::nullopt;
}
} // namespace

DeletionOutcome DeletePlannedRow(Database& db, qint64 id)
{
    Transaction transaction(db);
    const std::optional<StoredContact> row = storedContact(db, kTableContest, id);
    if (!row) {
        return DeletionOutcome::RowGone;
    }
    const std::optional<qint64> journalRow = tiedJournalRow(db, id);
    if (journalRow) {
        deleteRowById(db, FolderTable::Journal, *journalRow);
    }
    deleteRowById(db, FolderTable::Contest, id);
    transaction.commit();
    return journalRow ? DeletionOutcome::JournalChanged : DeletionOutcome::Deleted;
}

DeletionOutcome DeleteJournalRow(Database& db, qint64 id)
{
    Transaction transaction(db);
    const std::optional<StoredContact> row = storedContact(db, kTableJournal, id);
    if (!row) {
        return DeletionOutcome::RowGone;
    }
    if (const std::optional<qint64> planned = workedPlannedRowOf(db, id)) {
        unworkContestRow(db, *planned);
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
    const QString journal = tiedJournalRow(db, id) ? QStringLiteral(" Its journal line goes too.") : QString();
    return contactName(row->key) + QStringLiteral(", worked at %1.").arg(row->time) + journal;
}

QString describeJournalRowDeletion(Database& db, qint64 id)
{
    const std::optional<StoredContact> row = storedContact(db, kTableJournal, id);
    if (!row) {
        return {};
    }
    const QString again = workedPlannedRowOf(db, id) ? QStringLiteral(" Its planned contact becomes workable again.")
                                                     : QString();
    return contactName(row->key) + QStringLiteral(", worked at %1.").arg(row->time) + again;
}
