#include "store/ContactTies.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableNames.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace
{
QString tieTable()
{
    return QStringLiteral("%1.%1").arg(quoteIdentifier(kTableTie));
}

bool attached(Database& db)
{
    db.attachExisting(kTableTie);
    return db.isAttached(kTableTie);
}

std::optional<qint64> lookUp(Database& db, const QString& byField, const QString& wantedField, qint64 id)
{
    if (!attached(db)) {
        return std::nullopt;
    }
    Statement query = db.prepareOn(
        kTableTie, QStringLiteral("SELECT %1 FROM %2 WHERE %3=?").arg(wantedField, tieTable(), byField));
    query.bind(1, id);
    return query.step() ? std::optional<qint64>(query.column(0).toLongLong()) : std::nullopt;
}

void untieBy(Database& db, const QString& field, qint64 id)
{
    if (!attached(db)) {
        return;
    }
    Statement del = db.prepareOn(kTableTie, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(tieTable(), field));
    del.bind(1, id);
    del.run();
}

// the key compared as the Journal follow-up has always compared it: numbers as numbers, the mode and the
// callsign without regard to letter case
QString keyText(const Statement& row, int first)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(row.column(first).toLongLong())
        .arg(row.column(first + 1).toLongLong())
        .arg(row.column(first + 2).toLongLong())
        .arg(row.column(first + 3).toString().toCaseFolded(), row.column(first + 4).toString().toCaseFolded());
}

QString keyColumns()
{
    return QStringList{kFieldContestNumber, kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign}.join(
        QStringLiteral(", "));
}

struct JournalCandidate
{
    qint64 id;
    QString when; // date and time as stored
};

QString whenText(const Statement& row, int first)
{
    return row.column(first).toString() + u' ' + row.column(first + 1).toString();
}

// the Journal's rows by their key
QHash<QString, QList<JournalCandidate>> journalRowsByKey(Database& db)
{
    QHash<QString, QList<JournalCandidate>> rows;
    Statement query = db.prepareOn(kTableJournal,
                                   QStringLiteral("SELECT %1, %2, %3, %4 FROM %5.%5")
                                       .arg(kFieldId, kFieldDate, kFieldTime, keyColumns(), kTableJournal));
    while (query.step()) {
        rows[keyText(query, 3)].append({query.column(0).toLongLong(), whenText(query, 1)});
    }
    return rows;
}

// The one Journal row of the key not taken yet; a worked row with several is told by its own time. Nothing when
// there is no such row or no single one.
std::optional<qint64> matchOf(const QList<JournalCandidate>& candidates, const QSet<qint64>& taken,
                              const std::optional<QString>& workedWhen)
{
    QList<qint64> free;
    QList<qint64> sameTime;
    for (const JournalCandidate& candidate : candidates) {
        if (taken.contains(candidate.id)) {
            continue;
        }
        free.append(candidate.id);
        if (workedWhen && candidate.when == *workedWhen) {
            sameTime.append(candidate.id);
        }
    }
    if (free.size() == 1) {
        return free.first();
    }
    return sameTime.size() == 1 ? std::optional<qint64>(sameTime.first()) : std::nullopt;
}

// the planned row takes the contact's date, time and texts as the Journal holds them
void takeContactOf(Database& db, qint64 contestId, qint64 journalId)
{
    const QString fields = QStringList{kFieldDate, kFieldTime, kFieldSentText, kFieldRecvText}.join(u',');
    Statement update = db.prepareOn(kTableContest,
                                    QStringLiteral("UPDATE %1.%1 SET (%2) = (SELECT %2 FROM %3.%3 "
                                                   "WHERE %4=?) WHERE %4=?")
                                        .arg(kTableContest, fields, kTableJournal, kFieldId));
    update.bindAll({journalId, contestId});
    update.run();
}
} // namespace

std::optional<qint64> tiedJournalRow(Database& db, qint64 contestId)
{
    return lookUp(db, kFieldContestId, kFieldJournalId, contestId);
}

std::optional<qint64> tiedPlannedRow(Database& db, qint64 journalId)
{
    return lookUp(db, kFieldJournalId, kFieldContestId, journalId);
}

void tieContact(Database& db, qint64 contestId, qint64 journalId)
{
    if (!attached(db)) {
        throw StoreError(QStringLiteral("%1 is missing").arg(db.tableFilePath(kTableTie)));
    }
    Statement insert = db.prepareOn(kTableTie,
                                    QStringLiteral("INSERT OR REPLACE INTO %1 (%2, %3) VALUES (?, ?)")
                                        .arg(tieTable(), kFieldContestId, kFieldJournalId));
    insert.bindAll({contestId, journalId});
    insert.run();
}

void untiePlannedRow(Database& db, qint64 contestId)
{
    untieBy(db, kFieldContestId, contestId);
}

void untieJournalRow(Database& db, qint64 journalId)
{
    untieBy(db, kFieldJournalId, journalId);
}

void untieAll(Database& db)
{
    if (attached(db)) {
        db.prepareOn(kTableTie, QStringLiteral("DELETE FROM %1").arg(tieTable())).run();
    }
}

KeyedTies tieByKey(Database& db, TieMatching matching)
{
    untieAll(db);
    const bool markWorked = matching == TieMatching::MarkWorked;
    const QHash<QString, QList<JournalCandidate>> journal = journalRowsByKey(db);
    QSet<qint64> taken;
    QSet<QString> workedKeys;
    QMap<qint64, StoredContact> plannedAgain;
    QSet<qint64> repeats;
    // the worked rows first, so that a planned row not worked never takes the contact of a worked one
    for (const bool workedPass : {true, false}) {
        if (!workedPass && !markWorked) {
            break;
        }
        Statement planned = db.prepareOn(kTableContest,
                                         QStringLiteral("SELECT %1, %2, %3, %4 FROM %5.%5 WHERE %3 IS %6 "
                                                        "NULL ORDER BY %1")
                                             .arg(kFieldId, kFieldDate, kFieldTime, keyColumns(), kTableContest,
                                                  workedPass ? QStringLiteral("NOT") : QString()));
        while (planned.step()) {
            const qint64 contestId = planned.column(0).toLongLong();
            const QString key = keyText(planned, 3);
            const auto found = journal.constFind(key);
            const std::optional<qint64> match = found == journal.cend()
                ? std::nullopt
                : matchOf(*found, taken, workedPass ? std::optional<QString>(whenText(planned, 1)) : std::nullopt);
            if (!workedPass && workedKeys.contains(key)) {
                // a second contact of a station worked once per tour: it stays apart, and is named
                if (match) {
                    repeats.insert(*match);
                }
                continue;
            }
            if (!match) {
                if (workedPass && markWorked) {
                    plannedAgain.insert(contestId, *storedContact(db, kTableContest, contestId));
                    unworkContestRow(db, contestId);
                }
                continue;
            }
            taken.insert(*match);
            workedKeys.insert(key);
            plannedAgain.remove(contestId);
            if (markWorked) {
                takeContactOf(db, contestId, *match);
            }
            tieContact(db, contestId, *match);
        }
    }
    KeyedTies outcome;
    outcome.plannedAgain = plannedAgain.values();
    for (const qint64 journalId : repeats) {
        if (!taken.contains(journalId)) {
            outcome.repeats.append(*storedContact(db, kTableJournal, journalId));
        }
    }
    outcome.untied = untiedWorkedRows(db);
    return outcome;
}

QList<StoredContact> untiedWorkedRows(Database& db)
{
    QList<StoredContact> rows;
    if (!attached(db)) {
        return rows;
    }
    Statement query = db.prepareOn(
        kTableContest,
        QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3 IS NOT NULL AND %1 NOT IN (SELECT %4 FROM %5) "
                       "ORDER BY %1")
            .arg(kFieldId, kTableContest, kFieldTime, kFieldContestId, tieTable()));
    while (query.step()) {
        if (const std::optional<StoredContact> row = storedContact(db, kTableContest, query.column(0).toLongLong())) {
            rows.append(*row);
        }
    }
    return rows;
}
