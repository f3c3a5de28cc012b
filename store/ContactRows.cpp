#include "store/ContactRows.h"

#include "store/Database.h"

namespace
{
const QString kContest = QStringLiteral("Contest");
} // namespace

qint64 workedContestRowOf(Database& db, const ContactKey& key)
{
    db.attachExisting(kContest);
    Statement query = db.prepareOn(kContest, QStringLiteral("SELECT ID FROM Contest.Contest WHERE T IS NOT NULL "
                                                            "AND TourNumber=? AND Diapasone=? "
                                                            "AND Modulation=? COLLATE TOURLOG_NOCASE "
                                                            "AND CallSign=? COLLATE TOURLOG_NOCASE "
                                                            "ORDER BY ID DESC LIMIT 1"));
    query.bindAll({key.tour, key.band, key.mode, key.callsign});
    return query.step() ? query.column(0).toLongLong() : -1;
}

void unworkContestRow(Database& db, qint64 id)
{
    db.attachExisting(kContest);
    Statement update = db.prepareOn(
        kContest, QStringLiteral("UPDATE Contest.Contest SET T=NULL, SentText=NULL, RecvText=NULL WHERE ID=?"));
    update.bind(1, id);
    update.run();
    db.notifyRowChanged(kContest, id, nullptr);
}
