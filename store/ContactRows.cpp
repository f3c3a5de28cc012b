#include "store/ContactRows.h"

#include "store/Database.h"
#include "store/TableNames.h"

qint64 workedContestRowOf(Database& db, const ContactKey& key)
{
    db.attachExisting(kTableContest);
    const QString sql = QStringLiteral("SELECT %1 FROM %2.%2 WHERE %3 IS NOT NULL AND %4=? AND %5=? "
                                       "AND %6=? COLLATE TOURLOG_NOCASE AND %7=? COLLATE TOURLOG_NOCASE "
                                       "ORDER BY %1 DESC LIMIT 1")
                            .arg(kFieldId, kTableContest, kFieldTime, kFieldTourNumber, kFieldDiapasone,
                                 kFieldModulation, kFieldCallSign);
    Statement query = db.prepareOn(kTableContest, sql);
    query.bindAll({key.tour, key.band, key.mode, key.callsign});
    return query.step() ? query.column(0).toLongLong() : -1;
}

void unworkContestRow(Database& db, qint64 id)
{
    db.attachExisting(kTableContest);
    const QString sql = QStringLiteral("UPDATE %1.%1 SET %2=NULL, %3=NULL, %4=NULL WHERE %5=?")
                            .arg(kTableContest, kFieldTime, kFieldSentText, kFieldRecvText, kFieldId);
    Statement update = db.prepareOn(kTableContest, sql);
    update.bind(1, id);
    db.notifyRowAboutToChange(kTableContest, id, nullptr);
    update.run();
    db.notifyRowChanged(kTableContest, id, nullptr);
}
