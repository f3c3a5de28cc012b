#include "contest/ContactDeletion.h"

#include "contest/JournalFollowUp.h"
#include "store/ContactRows.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/Transaction.h"

bool DeletePlannedRow(Database& db, TableView& band, TableView& journal)
{
    Transaction transaction(db);
    bool journalChanged = false;
    if (band.currentRow() >= 0 && !band.isNull(kFieldTime) && locateJournalRowOf(journal, band)) {
        journal.remove();
        journalChanged = true;
    }
    band.remove();
    transaction.commit();
    return journalChanged;
}

bool DeleteJournalRow(Database& db, TableView& journal)
{
    Transaction transaction(db);
    const qint64 id = journal.currentId();
    // an older row with the same key is a contact of an earlier contest: its planned row is gone
    const bool newest = id >= 0 && locateJournalRowOf(journal, journal) && journal.currentId() == id;
    journal.locateId(id);
    if (newest && !journal.isNull(kFieldTime)) {
        const qint64 planned = workedContestRowOf(db,
                                                  {journal.value(kFieldTourNumber), journal.value(kFieldDiapasone),
                                                   journal.value(kFieldModulation), journal.text(kFieldCallSign)});
        if (planned >= 0) {
            unworkContestRow(db, planned);
        }
    }
    journal.remove();
    transaction.commit();
    return true;
}
