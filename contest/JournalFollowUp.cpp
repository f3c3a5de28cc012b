#include "contest/JournalFollowUp.h"

#include "store/TableView.h"

namespace
{
const QString kKeyFields = QStringLiteral("ContestNumber;TourNumber;Diapasone;Modulation;Callsign");
const QString kBandViewPrefix = QStringLiteral("Contest");
} // namespace

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

void JournalFollowUp::afterPost(TableView& posted, bool editMode)
{
    // every post outside a transaction is already on disk; nothing to flush here
    if (!editMode || m_pauses > 0 || !posted.name().startsWith(kBandViewPrefix)) {
        return;
    }
    // a new planned row has no Journal row; one with the same key belongs to an earlier contact
    if (posted.lastPostInserted()) {
        return;
    }
    const QVariantList key = {
        posted.text(QStringLiteral("ContestNumber")), posted.text(QStringLiteral("TourNumber")),
        posted.text(QStringLiteral("Diapasone")),     posted.text(QStringLiteral("Modulation")),
        posted.text(QStringLiteral("CallSign")),
    };
    if (!m_journal.locate(kKeyFields, key, true)) {
        return;
    }
    if (posted.isNull(QStringLiteral("T"))) {
        m_journal.remove();
        m_journal.last();
        return;
    }
    m_journal.edit();
    for (const QString& field :
         {QStringLiteral("D"), QStringLiteral("T"), QStringLiteral("SentText"), QStringLiteral("RecvText")}) {
        m_journal.setValue(field, posted.value(field));
    }
    m_journal.post();
}
