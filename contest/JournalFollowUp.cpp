#include "contest/JournalFollowUp.h"

#include "contest/ContactName.h"
#include "contest/ReceivedCode.h"
#include "store/ContactRows.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <algorithm>

namespace
{
const QStringList kKeyFields = {kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign};

ContactKey keyBeforeEdit(const TableView& row)
{
    return {row.valueBeforeEdit(kFieldTourNumber), row.valueBeforeEdit(kFieldDiapasone),
            row.valueBeforeEdit(kFieldModulation), row.valueBeforeEdit(kFieldCallSign).toString()};
}

ContactKey keyNow(const TableView& row)
{
    return {row.value(kFieldTourNumber), row.value(kFieldDiapasone), row.value(kFieldModulation),
            row.text(kFieldCallSign)};
}

bool keyChanged(const TableView& row)
{
    return std::any_of(kKeyFields.cbegin(), kKeyFields.cend(),
                       [&row](const QString& field) { return row.valueBeforeEdit(field) != row.value(field); });
}

// one station is worked once per band, mode and tour: a correction must not make a second contact of one
void refuseSecondContact(TableView& posted)
{
    Database& db = posted.database();
    const qint64 other = workedContestRowOf(db, keyNow(posted), posted.currentId());
    const std::optional<StoredContact> contact = other >= 0 ? storedContact(db, kTableContest, other) : std::nullopt;
    if (!contact) {
        return;
    }
    throw StoreError(QStringLiteral("The change was not stored: %1 is worked already, at %2, and a station is "
                                    "worked once per band, mode and tour. Correct the row, or press Esc to "
                                    "undo the change.")
                         .arg(contactName(contact->key), contact->time));
}
// the Journal's side of a band row just posted, in the post's transaction
bool followUp(TableView& posted, TableView& journal)
{
    if (posted.lastPostInserted()) {
        return false;
    }
    const bool wasWorked = !posted.valueBeforeEdit(kFieldTime).isNull();
    const bool worked = !posted.isNull(kFieldTime);
    if (worked && (!wasWorked || keyChanged(posted))) {
        refuseSecondContact(posted);
    }
    // A row that was not worked before this change has no Journal row: a row with its key belongs to an
    // earlier contact and must stay as it is.
    if (!wasWorked) {
        return false;
    }
    // found by what was stored, not by what was typed: a corrected callsign must not find another
    // station's contact
    const qint64 journalRow = newestJournalRowOf(posted.database(), keyBeforeEdit(posted));
    if (journalRow < 0 || !journal.locateId(journalRow)) {
        return false;
    }
    if (!worked) {
        journal.remove();
        journal.last();
        return true;
    }
    journal.edit();
    for (const QString& field : {kFieldDate, kFieldTime, kFieldSentText, kFieldRecvText}) {
        journal.setValue(field, posted.value(field));
    }
    for (const QString& field : kKeyFields) {
        if (posted.valueBeforeEdit(field) != posted.value(field)) {
            journal.setValue(field, posted.value(field));
        }
    }
    // the score counts regions by the KI: a corrected code carries its region with it
    const QString received = posted.text(kFieldRecvText);
    journal.setValue(kFieldKi, received.isEmpty() ? QVariant() : QVariant(journalKi(received)));
    journal.post();
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
