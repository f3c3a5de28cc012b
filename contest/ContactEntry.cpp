#include "contest/ContactEntry.h"

#include "contest/Clock.h"
#include "contest/ContactName.h"
#include "contest/ContestValues.h"
#include "contest/Prompter.h"
#include "contest/RadioBand.h"
#include "contest/ReceivedCode.h"
#include "contest/RepeatedContact.h"
#include "store/ContactTies.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/Transaction.h"

namespace
{
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

// Both rows carry one time, the moment Enter was pressed on the row (the operator types a code already
// heard), and the journal takes the tour of the planned row, whatever tour the window shows meanwhile.
void writeContact(const ContactEntryContext& context, const QString& code, const QDateTime& contactTime,
                  const std::optional<ContactFrequency>& radio)
{
    TableView& band = context.band;
    const QString sent = sentExchange(context.values);
    band.edit();
    band.setValue(kFieldDate, contactTime.date());
    band.setValue(kFieldTime, contactTime.time());
    band.setValue(kFieldSentText, sent);
    band.setValue(kFieldRecvText, code);
    band.post();
    TableView& journal = context.journal;
    journal.append();
    journal.setValue(kFieldContestNumber, context.values.contestNumber);
    for (const QString& field : {kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign}) {
        journal.setValue(field, band.value(field));
    }
    journal.setValue(kFieldDate, contactTime.date());
    journal.setValue(kFieldTime, contactTime.time());
    journal.setValue(kFieldSentText, sent);
    journal.setValue(kFieldRecvText, code);
    journal.setValue(kFieldKi, journalKi(code));
    journal.post();
    tieContact(context.db, band.currentId(), journal.currentId());
    if (radio && frequenciesWritable(context.db)) {
        recordContactFrequency(context.db, journal.currentId(), *radio);
    }
}

// The code as typed, asked again with the text typed and the form expected after a code too short or not
// whole numbers: a prompt that closed without a word would pass for a contact logged. Nothing when the
// operator cancels or confirms nothing.
std::optional<ReceivedCode> askReceivedCode(const ContactEntryContext& context, const QString& station)
{
    QString typedBefore;
    for (;;) {
        const std::optional<QString> typed = context.prompter.askLineAbout(
            QStringLiteral("Ввод принятого кода..."), QStringLiteral("Код (диапазон ") + context.bandCaption + u':',
            station, typedBefore);
        if (!typed || typed->trimmed().isEmpty()) {
            return std::nullopt;
        }
        const ReceivedCode received = parseReceivedCode(*typed);
        if (received.status == ReceivedCode::Status::Valid) {
            return received;
        }
        context.prompter.showMessage(QStringLiteral("Ошибка ввода !\nKI and serial, digits: 23 015"));
        typedBefore = *typed;
    }
}

// Another planned row of the station may carry the contact already (renamed or moved onto it in edit mode): the
// operator is told which, and nothing is recorded.
bool refusedAsRepeated(const ContactEntryContext& context, const ContactKey& station, qint64 rowId)
{
    const std::optional<StoredContact> worked = repeatedContact(context.db, station, rowId);
    if (worked) {
        context.prompter.showMessage(QStringLiteral("The contact was not recorded: ") + repeatedContactText(*worked));
    }
    return worked.has_value();
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
    // the prompt names the station it records, so that a slip of the cursor shows before the code is typed
    const ContactKey station{band.value(kFieldTourNumber), band.value(kFieldDiapasone), band.value(kFieldModulation),
                             band.text(kFieldCallSign), band.value(kFieldContestNumber)};
    if (!band.isNull(kFieldTime)) {
        if (!context.editMode) {
            context.prompter.showMessage(
                QStringLiteral("Повторная связь в пределах одного тура не разрешена !\n%1, worked at %2")
                    .arg(contactName(station), band.value(kFieldTime).toTime().toString(QStringLiteral("HH:mm:ss"))));
        }
        return ContactOutcome::NotRecorded;
    }
    const qint64 rowId = band.currentId();
    if (refusedAsRepeated(context, station, rowId)) {
        return ContactOutcome::NotRecorded;
    }
    const QDateTime contactTime = context.clock.localNow();
    // kept only when the radio is on the row's own band and mode: a contact logged from paper while the
    // radio is elsewhere goes out as without a radio
    std::optional<ContactFrequency> radio = context.radio;
    if (radio
        && !readingFits(radio->hz, radio->mode, band.value(kFieldDiapasone).toInt(),
                        band.value(kFieldModulation).toString())) {
        radio.reset();
    }
    const std::optional<ReceivedCode> received = askReceivedCode(context, contactName(station));
    if (!received) {
        return ContactOutcome::NotRecorded;
    }

    try {
        Transaction transaction(context.db);
        {
            const RowFinder row(band, rowId);
            if (!row.found() || !band.isNull(kFieldTime)) {
                context.prompter.showMessage(
                    QStringLiteral("The contact was not recorded: its row is no longer in the contest table."));
                return ContactOutcome::NotRecorded;
            }
            // the tables may have changed while the prompt was open
            if (refusedAsRepeated(context, station, rowId)) {
                return ContactOutcome::NotRecorded;
            }
            writeContact(context, received->code, contactTime, radio);
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
