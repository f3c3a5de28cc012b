#include "contest/JournalFollowUp.h"

#include "contest/ReceivedCode.h"
#include "contest/RepeatedContact.h"
#include "store/ContactTies.h"
#include "store/RowDeletion.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <algorithm>

namespace
{
const QStringList kKeyFields = {kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign};
const QStringList kContactFields = {kFieldDate, kFieldTime, kFieldSentText, kFieldRecvText};

ContactKey keyNow(const TableView& row)
{
    return {row.value(kFieldTourNumber), row.value(kFieldDiapasone), row.value(kFieldModulation),
            row.text(kFieldCallSign), row.value(kFieldContestNumber)};
}

bool keyChanged(const TableView& row)
{
    return std::any_of(kKeyFields.cbegin(), kKeyFields.cend(),
                       [&row](const QString& field) { return row.valueBeforeEdit(field) != row.value(field); });
}

// one station is worked once per band, mode and tour: a correction must not make a second contact of one
void refuseSecondContact(TableView& posted)
{
    if (const std::optional<StoredContact> worked = repeatedContact(posted.database(), keyNow(posted),
                                                                    posted.currentId())) {
        throw StoreError(QStringLiteral("The change was not stored: %1 Correct the row, or press Esc to undo the "
                                        "change.")
                             .arg(repeatedContactText(*worked)));
    }
}

// the score counts regions by the KI: a corrected code carries its region with it
QVariant kiOf(const TableView& posted)
{
    const QString received = posted.text(kFieldRecvText);
    return received.isEmpty() ? QVariant() : QVariant(journalKi(received));
}

// A time typed into a planned row makes it a contact, logged from paper: its Journal row is written with it,
// for the contest of the row.
void recordTypedContact(TableView& posted, TableView& journal)
{
    journal.append();
    for (const QString& field : kKeyFields + kContactFields + QStringList{kFieldContestNumber}) {
        journal.setValue(field, posted.value(field));
    }
    journal.setValue(kFieldKi, kiOf(posted));
    journal.post();
    tieContact(posted.database(), posted.currentId(), journal.currentId());
}

void correctTiedRow(TableView& posted, TableView& journal)
{
    journal.edit();
    for (const QString& field : kContactFields) {
        journal.setValue(field, posted.value(field));
    }
    for (const QString& field : kKeyFields) {
        if (posted.valueBeforeEdit(field) != posted.value(field)) {
            journal.setValue(field, posted.value(field));
        }
    }
    journal.setValue(kFieldKi, kiOf(posted));
    journal.post();
}

// the Journal's side of a band row just posted, in the post's transaction; it goes by the tie of the row alone
bool followUp(TableView& posted, TableView& journal)
{
    if (posted.lastPostInserted()) {
        return false;
    }
    const bool wasWorked = !posted.valueBeforeEdit(kFieldTime).isNull();
    const bool worked = !posted.isNull(kFieldTime);
    if (!wasWorked && !worked) {
        return false;
    }
    if (worked && (!wasWorked || keyChanged(posted))) {
        refuseSecondContact(posted);
    }
    Database& db = posted.database();
    const std::optional<qint64> tied = tiedJournalRow(db, posted.currentId());
    if (!tied) {
        // a worked row of an older folder that could not be tied has nothing to follow
        if (!wasWorked) {
            recordTypedContact(posted, journal);
        }
        return !wasWorked;
    }
    if (!worked) {
        deleteRowById(db, FolderTable::Journal, *tied);
        journal.last();
        return true;
    }
    if (!journal.locateId(*tied)) {
        throw StoreError(QStringLiteral("The change was not stored: the journal line of the contact is not in the "
                                        "journal view."));
    }
    correctTiedRow(posted, journal);
    return true;
}
} // namespace

bool StoreCorrection(TableView& band, TableView& journal)
{
    if (!band.isEditing()) {
        return false;
    }
    if (!band.isModified()) {
        band.cancel();
        return false;
    }
    bool journalChanged = false;
    band.postTogether([&] { journalChanged = followUp(band, journal); });
    return journalChanged;
}
