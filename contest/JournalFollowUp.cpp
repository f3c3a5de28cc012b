#include "contest/JournalFollowUp.h"

#include "contest/ReceivedCode.h"
#include "contest/RepeatedContact.h"
#include "store/ContactTies.h"
#include "store/RowDeletion.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <QHash>

#include <algorithm>

namespace
{
const QStringList kKeyFields = {kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign};
const QStringList kContactFields = {kFieldDate, kFieldTime, kFieldSentText, kFieldRecvText};

// The band row as the correction leaves it and as it was stored before, taken before the post: a row that the
// change moves out of the view's filter is no longer the view's current row once it is posted.
struct CorrectedRow
{
    qint64 id = -1;
    QHash<QString, QVariant> before;
    QHash<QString, QVariant> after;

    explicit CorrectedRow(const TableView& band)
        : id(band.currentId())
    {
        for (const QString& field : kKeyFields + kContactFields + QStringList{kFieldContestNumber}) {
            before.insert(field, band.valueBeforeEdit(field));
            after.insert(field, band.value(field));
        }
    }

    bool changed(const QString& field) const { return before.value(field) != after.value(field); }
    bool wasWorked() const { return !before.value(kFieldTime).isNull(); }
    bool worked() const { return !after.value(kFieldTime).isNull(); }

    ContactKey key() const
    {
        return {after.value(kFieldTourNumber), after.value(kFieldDiapasone), after.value(kFieldModulation),
                after.value(kFieldCallSign).toString(), after.value(kFieldContestNumber)};
    }

    // the score counts regions by the KI: a corrected code carries its region with it
    QVariant ki() const
    {
        const QString received = after.value(kFieldRecvText).toString();
        return received.isEmpty() ? QVariant() : QVariant(journalKi(received));
    }
};

// one station is worked once per band, mode and tour: a correction must not make a second contact of one
void refuseSecondContact(Database& db, const CorrectedRow& row)
{
    if (const std::optional<StoredContact> worked = repeatedContact(db, row.key(), row.id)) {
        throw StoreError(QStringLiteral("The change was not stored: %1 Correct the row, or press Esc to undo the "
                                        "change.")
                             .arg(repeatedContactText(*worked)));
    }
}

// A time typed into a planned row makes it a contact, logged from paper: its Journal row is written with it,
// for the contest of the row.
void recordTypedContact(Database& db, const CorrectedRow& row, TableView& journal)
{
    journal.append();
    for (auto field = row.after.cbegin(); field != row.after.cend(); ++field) {
        journal.setValue(field.key(), field.value());
    }
    journal.setValue(kFieldKi, row.ki());
    journal.post();
    tieContact(db, row.id, journal.currentId());
}

void correctTiedRow(const CorrectedRow& row, TableView& journal)
{
    journal.edit();
    for (const QString& field : kContactFields) {
        journal.setValue(field, row.after.value(field));
    }
    for (const QString& field : kKeyFields) {
        if (row.changed(field)) {
            journal.setValue(field, row.after.value(field));
        }
    }
    journal.setValue(kFieldKi, row.ki());
    journal.post();
}

// the Journal's side of a band row just posted, in the post's transaction; it goes by the tie of the row alone
bool followUp(Database& db, const CorrectedRow& row, TableView& journal)
{
    if (!row.wasWorked() && !row.worked()) {
        return false;
    }
    const bool keyChanged = std::any_of(kKeyFields.cbegin(), kKeyFields.cend(),
                                        [&row](const QString& field) { return row.changed(field); });
    if (row.worked() && (!row.wasWorked() || keyChanged)) {
        refuseSecondContact(db, row);
    }
    const std::optional<qint64> tied = tiedJournalRow(db, row.id);
    if (!tied) {
        // a worked row of an older folder that could not be tied has nothing to follow
        if (!row.wasWorked()) {
            recordTypedContact(db, row, journal);
        }
        return !row.wasWorked();
    }
    if (!row.worked()) {
        deleteRowById(db, FolderTable::Journal, *tied);
        journal.last();
        return true;
    }
    if (!journal.locateId(*tied)) {
        throw StoreError(QStringLiteral("The change was not stored: the journal line of the contact is not in the "
                                        "journal view."));
    }
    correctTiedRow(row, journal);
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
    const bool inserting = band.state() == TableView::State::Insert;
    const CorrectedRow row(band);
    bool journalChanged = false;
    band.postTogether([&] { journalChanged = !inserting && followUp(band.database(), row, journal); });
    return journalChanged;
}
