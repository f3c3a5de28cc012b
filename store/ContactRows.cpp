#include "store/ContactRows.h"

#include "store/Database.h"
#include "store/TableNames.h"

namespace
{
// The key's conditions, to be bound in the order of keyValues(). The mode is matched as the band views match it;
// `plain` keeps the band, mode and tour from choosing the index, so that the time index is taken.
QString keyConditions(const QString& plain)
{
    return QStringLiteral("%6%1=? AND %6%2=? AND %6%3=? AND %4=? COLLATE TOURLOG_NOCASE AND %5 IS ?")
        .arg(kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign, kFieldContestNumber, plain);
}

QVariantList keyValues(const ContactKey& key)
{
    return {key.tour, key.band, key.mode, key.callsign, key.contest};
}
} // namespace

std::optional<StoredContact> storedContact(Database& db, const QString& table, qint64 id)
{
    db.attachExisting(table);
    const QString sql = QStringLiteral("SELECT %1, %2, %3, %4, substr(%5, 1, 8), %6 FROM %7.%7 WHERE %8=?")
                            .arg(kFieldTourNumber, kFieldDiapasone, kFieldModulation, kFieldCallSign, kFieldTime,
                                 kFieldContestNumber, table, kFieldId);
    Statement query = db.prepareOn(table, sql);
    query.bind(1, id);
    if (!query.step()) {
        return std::nullopt;
    }
    return StoredContact{
        id,
        {query.column(0), query.column(1), query.column(2), query.column(3).toString(), query.column(5)},
        query.column(4).toString()};
}

qint64 workedContestRowOf(Database& db, const ContactKey& key, qint64 except)
{
    db.attachExisting(kTableContest);
    // A contact entered has its date, and the band index finds its few dated rows; one typed in edit mode may
    // have a time alone, which the index by date and time finds. Either way no planned row is read.
    const QString part = QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3 AND %4 IS NOT NULL AND %1<>? AND %5");
    const QString sql = part.arg(kFieldId, kTableContest, kFieldDate + QStringLiteral(" IS NOT NULL"), kFieldTime,
                                 keyConditions(QString()))
        + QStringLiteral(" UNION ALL ")
        + part.arg(kFieldId, kTableContest, kFieldDate + QStringLiteral(" IS NULL"), kFieldTime,
                   keyConditions(QStringLiteral("+")))
        + QStringLiteral(" ORDER BY 1 DESC LIMIT 1");
    Statement query = db.prepareOn(kTableContest, sql);
    query.bindAll(QVariantList{except} + keyValues(key) + QVariantList{except} + keyValues(key));
    return query.step() ? query.column(0).toLongLong() : -1;
}

void unworkContestRow(Database& db, qint64 id)
{
    db.attachExisting(kTableContest);
    const QString sql = QStringLiteral("UPDATE %1.%1 SET %2=NULL, %3=NULL, %4=NULL WHERE %5=?")
                            .arg(kTableContest, kFieldTime, kFieldSentText, kFieldRecvText, kFieldId);
    Statement update = db.prepareOn(kTableContest, sql);
    update.bind(1, id);
    db.notifyRowAboutToChange(FolderTable::Contest, id, nullptr);
    update.run();
    db.notifyRowChanged(FolderTable::Contest, id, nullptr);
}
