#include "contest/Participants.h"

#include "contest/ParticipantList.h"
#include "contest/Prompter.h"
#include "contest/ViewSuspension.h"
#include "store/ColumnQueries.h"
#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/RowDeletion.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/TextHelpers.h"
#include "store/Transaction.h"

#include <QFileInfo>
#include <QSet>

namespace
{
constexpr int kMinimumTypedLength = 5;
constexpr int kMaximumTypedLength = 10;
constexpr int kCallsignWidth = 10;
constexpr int kProgressStep = 250;

// Lookups go by the text that will be stored, so that a long line never adds its participant twice.
QString storedCallsign(const QString& callsign)
{
    return cutToCharacters(callsign, kCallsignWidth);
}

bool locateCallsign(TableView& view, const QString& callsign)
{
    return view.locate(kFieldCallSign, {storedCallsign(callsign)}, true);
}

void appendParticipant(TableView& callsignView, const QString& callsign)
{
    callsignView.append();
    callsignView.setValue(kFieldCallSign, callsign);
    callsignView.post();
}

// Why New Callsign refuses what was typed, or nothing. Its length counts as typed, spaces included.
QString typedCallsignRefusal(const QString& typed)
{
    if (isBlankCallsign(typed)) {
        return QStringLiteral("The callsign is blank.");
    }
    // a short callsign typed with a space in it is too short, as before
    if (typed.size() < kMinimumTypedLength && !isShortCallsign(typed)) {
        return QStringLiteral("\"%1\" is shorter than %2 characters (spaces count).")
            .arg(typed, QString::number(kMinimumTypedLength));
    }
    if (typed.size() > kMaximumTypedLength) {
        return QStringLiteral("\"%1\" is longer than %2 characters (spaces count).")
            .arg(typed, QString::number(kMaximumTypedLength));
    }
    return {};
}

} // namespace

void CreateContestMatrix(TableView& contest80, const QString& callsign, const MatrixParameters& parameters)
{
    for (int band = 1; band <= 2; ++band) {
        for (int mode = 1; mode <= 2; ++mode) {
            const QVariant modulation = ChooseValue(mode == 1, QStringLiteral("SSB"), QStringLiteral("CW"));
            const int tours = parameters.tours();
            for (int tour = 1; tour <= tours; ++tour) {
                contest80.append();
                contest80.setValue(kFieldContestNumber, parameters.contestNumber);
                contest80.setValue(kFieldDiapasone, 80 * band);
                contest80.setValue(kFieldModulation, modulation);
                contest80.setValue(kFieldTourNumber, tour);
                contest80.setValue(kFieldCallSign, callsign);
                contest80.post();
            }
        }
    }
}

void NewCallsign(Database& db, const ParticipantViews& views, Prompter& prompter, const MatrixParameters& parameters)
{
    const std::optional<QString> typed = prompter.askLine(QStringLiteral("Ввод нового позывного..."),
                                                          QStringLiteral("Позывной:"));
    if (!typed) {
        return;
    }
    const QString refusal = typedCallsignRefusal(*typed);
    if (!refusal.isEmpty()) {
        // what was typed stays off the first line, which a message box may take for markup
        prompter.showMessage(QStringLiteral("New Callsign: nothing added.\n") + refusal);
        return;
    }
    const QString callsign = RemoveSpaces(*typed);

    ViewSuspension suspension;
    Transaction transaction(db);
    if (!locateCallsign(views.callsign, callsign)) {
        appendParticipant(views.callsign, callsign);
    }
    suspension.close(views.contest160);
    suspension.unfilter(views.contest80);
    // a known participant that has lost its matrix gets a new one
    if (!locateCallsign(views.contest80, callsign)) {
        CreateContestMatrix(views.contest80, callsign, parameters);
    }
    transaction.commit();
    suspension.restore();
}

ImportSummary ImportCallsign(Database& db, const ParticipantViews& views, const QString& listPath,
                             const MatrixParameters& parameters)
{
    ImportSummary summary;
    summary.listName = QFileInfo(listPath).fileName();
    const LongWork::Scope busy(db.work());
    const TableView::BatchUpdate participantRows(views.callsign);
    const TableView::BatchUpdate contestRows(views.contest80);

    ViewSuspension suspension;
    suspension.close(views.contest80CW);
    suspension.close(views.contest160);
    suspension.close(views.contest160CW);
    suspension.unfilter(views.contest80);
    Transaction transaction(db);

    // one pass over each table instead of a lookup per line keeps a large import linear
    QSet<QString> participants = foldedColumnValues(db, views.callsign.tableName(), kFieldCallSign);
    const auto take = [&](const QString& callsign) {
        const QString folded = storedCallsign(callsign).toCaseFolded();
        if (participants.contains(folded)) {
            ++summary.alreadyListed;
            return;
        }
        appendParticipant(views.callsign, callsign);
        participants.insert(folded);
        ++summary.added;
    };
    const auto skip = [&](qint64 line, const QString& text) { summary.skip(line, text); };
    const ListReading reading = readParticipantList(listPath, {take, skip});
    summary.listOpened = reading.opened;
    summary.readError = reading.error;
    summary.linesRead = reading.lines;

    // every participant, old and new, that has no contest row yet gets its matrix, in the list's order
    QSet<QString> withMatrix = foldedColumnValues(db, views.contest80.tableName(), kFieldCallSign);
    const QStringList listed = columnValuesById(db, views.callsign.tableName(), kFieldCallSign);
    for (qsizetype row = 0; row < listed.size(); ++row) {
        if (row % kProgressStep == 0) {
            db.work().setProgress(int(row), int(listed.size()));
        }
        const QString folded = listed.at(row).toCaseFolded();
        if (!withMatrix.contains(folded)) {
            CreateContestMatrix(views.contest80, listed.at(row), parameters);
            withMatrix.insert(folded);
        }
    }
    transaction.commit();
    suspension.restore();
    return summary;
}

void ImportCallsign(Database& db, const ParticipantViews& views, Prompter& prompter, const QString& listPath,
                    const MatrixParameters& parameters)
{
    const ImportSummary summary = ImportCallsign(db, views, listPath, parameters);
    prompter.showMessage(importSummaryText(summary));
}

void RewriteParticipants(Database& db, const ParticipantViews& views, const std::function<void()>& work)
{
    const LongWork::Scope busy(db.work());
    ViewSuspension suspension;
    for (TableView* view :
         {&views.callsign, &views.contest80, &views.contest80CW, &views.contest160, &views.contest160CW}) {
        suspension.close(*view);
    }
    work();
    suspension.restore();
}

void ClearContestTable(Database& db, const ParticipantViews& views)
{
    RewriteParticipants(db, views, [&db] {
        Transaction transaction(db);
        deleteAllRows(db, FolderTable::Callsign);
        deleteAllRows(db, FolderTable::Contest);
        transaction.commit();
    });
}
