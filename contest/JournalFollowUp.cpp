#include "contest/JournalFollowUp.h"

#include "contest/ReceivedCode.h"
#include "store/TableNames.h"
#include "store/TableView.h"

namespace
{
const QString kContactKeyFields = QStringList{kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign}.join(
    u';');
// the band views are named after their table: Contest80, Contest160CW...
const QString kBandViewPrefix = kTableContest;
} // namespace

bool locateJournalRowOf(TableView& journal, const TableView& planned)
{
    const QVariantList key = {
        planned.text(kFieldTourNumber),
        planned.text(kFieldDiapasone),
        planned.text(kFieldModulation),
        planned.text(kFieldCallSign),
    };
    // a row of an earlier contest with the same key may still stand before it: the newest one is the contact's
    return journal.locateLast(kContactKeyFields, key, true);
}

JournalFollowUp::JournalFollowUp(TableView& journal)
    : m_journal(journal)
{
}

JournalFollowUp::Pause::Pause(JournalFollowUp& followUp)
    : m_followUp(followUp)
{
    ++m_followUp.m_pauses;
}

JournalFollowUp::Pause::~Pause()
{
    --m_followUp.m_pauses;
}

bool JournalFollowUp::afterPost(TableView& posted, bool editMode)
{
    // every post outside a transaction is already on disk; nothing to flush here
    if (!editMode || m_pauses > 0 || !posted.name().startsWith(kBandViewPrefix)) {
        return false;
    }
    // A new planned row, or one that was not worked before this change, has no Journal row: a row with its
    // key belongs to an earlier contact and must stay as it is.
    if (posted.lastPostInserted() || posted.valueBeforeEdit(kFieldTime).isNull()) {
        return false;
    }
    if (!locateJournalRowOf(m_journal, posted)) {
        return false;
    }
    if (posted.isNull(kFieldTime)) {
        m_journal.remove();
        m_journal.last();
        return true;
    }
    m_journal.edit();
    for (const QString& field : {kFieldDate, kFieldTime, kFieldSentText, kFieldRecvText}) {
        m_journal.setValue(field, posted.value(field));
    }
    // the score counts regions by the KI: a corrected code carries its region with it
    const QString received = posted.text(kFieldRecvText);
    m_journal.setValue(kFieldKi, received.isEmpty() ? QVariant() : QVariant(journalKi(received)));
    m_journal.post();
    return true;
}
