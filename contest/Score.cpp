#include "contest/Score.h"

#include "contest/Rounding.h"
#include "store/ColumnQueries.h"
#include "store/TableNames.h"

#include <algorithm>
#include <cmath>

namespace
{
// the totals wrap around as 32-bit integers rather than overflow into undefined behaviour
qint32 points(qint64 count, int each)
{
    return static_cast<qint32>(count * each);
}
} // namespace

qint64 roundedContestNumber(double contestNumber)
{
    // -2^63 and the largest double below 2^63 both convert to qint64 exactly
    constexpr double kLowest = -9223372036854775808.0;
    constexpr double kHighest = 9223372036854774784.0;
    if (std::isnan(contestNumber)) {
        return 0;
    }
    return static_cast<qint64>(std::clamp(roundHalfToEven(contestNumber), kLowest, kHighest));
}

Score countScore(Database& db, qint64 contestNumber)
{
    // the contacts are counted with their correspondents, in one pass over the contest's rows
    const GroupCount correspondents = groupCountWhere(db, kTableJournal, kFieldCallSign, kFieldContestNumber,
                                                      contestNumber);
    const GroupCount regions = groupCountWhere(db, kTableJournal, kFieldKi, kFieldContestNumber, contestNumber);
    return scoreOf(correspondents.rows, correspondents.groups, regions.groups);
}

Score scoreOf(qint64 contacts, qint64 correspondents, qint64 regions)
{
    Score score;
    score.contacts = static_cast<int>(contacts);
    score.correspondents = static_cast<int>(correspondents);
    score.regions = static_cast<int>(regions);
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
