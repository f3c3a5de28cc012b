#include "contest/ContactEntry.h"

#include "contest/Clock.h"
#include "contest/JournalFollowUp.h"
#include "contest/Prompter.h"
#include "contest/ReceivedCode.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "store/TextHelpers.h"
#include "store/Transaction.h"

namespace
{
constexpr int kKiWidth = 2;

// The row on which Enter was pressed, found again by its ID after the prompt; a tour change meanwhile
// may have refiltered the view, so the filter is lifted for the write if need be.
class RowFinder
{
public:
    RowFinder(TableView& view, qint64 id)
        : m_view(view)
    {
        if (!view.locateId(id) && view.filtered()) {
            view.setFiltered(false);
            m_unfiltered = true;
            view.locateId(id);
        }
        m_found = view.currentId() == id;
    }

    ~RowFinder()
    {
        if (m_unfiltered) {
            try {
                m_view.setFiltered(true);
            } catch (const StoreError&) {
                // the view reports itself when next used
            }
        }
    }

    bool found() const { return m_found; }

private:
    TableView& m_view;
    bool m_unfiltered = false;
    bool m_found = false;
};

void writeContact(const ContactEntryContext& context, const QString& code)
{
    TableView& band = context.band;
    const QDateTime contactTime = context.clock.localNow();
    {
        JournalFollowUp::Pause pause(context.followUp);
        band.edit();
        band.setValue(QStringLiteral("D"), contactTime.date());
        band.setValue(QStringLiteral("T"), contactTime.time());
        band.setValue(QStringLiteral("SentText"), context.sentExchange());
        band.setValue(QStringLiteral("RecvText"), code);
        band.post();
    }
    TableView& journal = context.journal;
    const QDateTime journalTime = context.clock.localNow();
    journal.append();
    journal.setValue(QStringLiteral("ContestNumber"), context.contestNumber());
    journal.setValue(QStringLiteral("TourNumber"), context.tour());
    journal.setValue(QStringLiteral("Diapasone"), band.value(QStringLiteral("Diapasone")));
    journal.setValue(QStringLiteral("Modulation"), band.value(QStringLiteral("Modulation")));
    journal.setValue(QStringLiteral("CallSign"), band.value(QStringLiteral("CallSign")));
    journal.setValue(QStringLiteral("D"), journalTime.date());
    journal.setValue(QStringLiteral("T"), journalTime.time());
    journal.setValue(QStringLiteral("SentText"), context.sentExchange());
    journal.setValue(QStringLiteral("RecvText"), code);
    journal.setValue(QStringLiteral("KI"), PadRight(code, kKiWidth));
    journal.post();
}
} // namespace

ContactOutcome EnterContact(const ContactEntryContext& context)
{
    TableView& band = context.band;
    if (band.recordCount() == 0) {
        // the first letter is a Latin C, as operators have always seen it
        context.prompter.showMessage(QStringLiteral("Cписок позывных пуст !"));
        return ContactOutcome::NotRecorded;
    }
    if (!band.isNull(QStringLiteral("T"))) {
        if (!context.editMode) {
            context.prompter.showMessage(QStringLiteral("Повторная связь в пределах одного тура не разрешена !"));
        }
        return ContactOutcome::NotRecorded;
    }
    const qint64 rowId = band.currentId();
    const std::optional<QString> typed = context.prompter.askLine(
        QStringLiteral("Ввод принятого кода..."), QStringLiteral("Код (диапазон ") + context.bandCaption + u':');
    if (!typed) {
        return ContactOutcome::NotRecorded;
    }
    const ReceivedCode received = parseReceivedCode(*typed);
    if (received.status == ReceivedCode::Status::Ignored) {
        return ContactOutcome::NotRecorded;
    }
    if (received.status == ReceivedCode::Status::Invalid) {
        context.prompter.showMessage(QStringLiteral("Ошибка ввода !"));
        return ContactOutcome::NotRecorded;
    }

    try {
        Transaction transaction(context.db);
        {
            const RowFinder row(band, rowId);
            if (!row.found() || !band.isNull(QStringLiteral("T"))) {
                context.prompter.showMessage(
                    QStringLiteral("The contact was not recorded: its row is no longer in the contest table."));
                return ContactOutcome::NotRecorded;
            }
            writeContact(context, received.code);
        }
        transaction.commit();
    } catch (const StoreError& error) {
        // nothing was written: drop the half-made rows so that the same row can be entered again
        band.cancel();
        context.journal.cancel();
        context.prompter.showMessage(QStringLiteral("The contact was not recorded: %1").arg(error.message()));
        return ContactOutcome::NotRecorded;
    }
    band.first();
    return ContactOutcome::Recorded;
}
