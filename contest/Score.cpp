#include "contest/Score.h"

#include "contest/Rounding.h"
#include "store/Query.h"
#include "store/SqlRoutines.h"

namespace
{
int groupedRowCount(Query& q, const QString& sql)
{
    q.setSql(sql);
    q.open();
    const int rows = q.recordCount();
    q.close();
    return rows;
}

// the totals wrap around as 32-bit integers rather than overflow into undefined behaviour
qint32 points(qint64 count, int each)
{
    return static_cast<qint32>(count * each);
}
} // namespace

QString contestNumberText(double contestNumber)
{
    return QString::number(roundHalfToEven(contestNumber), 'f', 0);
}

Score countScore(Database& db, Query& q, const QString& contestNumber)
{
    Score score;
    const qint64 contacts =
        QuerySingleValue(db, QStringLiteral("select count(*) from Journal where ContestNumber=") + contestNumber)
            .toLongLong();
    score.contacts = contacts < 0 ? 0 : static_cast<int>(contacts);
    score.correspondents = groupedRowCount(
        q, QStringLiteral("select Callsign from Journal where ContestNumber=") + contestNumber
               + QStringLiteral(" group by Callsign"));
    score.regions = groupedRowCount(
        q, QStringLiteral("select KI from Journal where ContestNumber=") + contestNumber
               + QStringLiteral(" group by KI"));

    ScoreTotals& totals = score.totals;
    totals.contactPoints = points(score.contacts, kContactPointsEach);
    totals.correspondentPoints = points(score.correspondents, kCorrespondentPointsEach);
    totals.regionPoints = points(score.regions, kRegionPointsEach);
    totals.totalPoints = static_cast<qint32>(qint64(totals.contactPoints) + totals.correspondentPoints
                                             + totals.regionPoints);
    return score;
}

QString scoreStatusText(const Score& score)
{
    return QStringLiteral("СВ=%1  КР=%2(%3)  РН=%4(%5)  Всего=%6")
        .arg(score.totals.contactPoints)
        .arg(score.totals.correspondentPoints)
        .arg(score.correspondents)
        .arg(score.totals.regionPoints)
        .arg(score.regions)
        .arg(score.totals.totalPoints);
}
