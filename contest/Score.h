#pragma once

#include <QString>
#include <QtGlobal>

class Database;

// The four point totals of a contest, kept between updates and written at the foot of the report.
struct ScoreTotals
{
    qint32 contactPoints = 0;
    qint32 correspondentPoints = 0;
    qint32 regionPoints = 0;
    qint32 totalPoints = 0;

    bool operator==(const ScoreTotals&) const = default;
};

struct Score
{
    int contacts = 0;
    int correspondents = 0;
    int regions = 0;
    ScoreTotals totals;
};

constexpr int kContactPointsEach = 1;
constexpr int kCorrespondentPointsEach = 4;
constexpr int kRegionPointsEach = 3;

// The contest number as the score compares it: rounded, halves to the even neighbour (2.5 -> 2); a number
// beyond the range of qint64 is taken as its nearest end, NaN as 0.
qint64 roundedContestNumber(double contestNumber);

// Counts the Journal rows of one contest, their distinct callsigns and distinct KI. A contact count the engine
// cannot deliver is taken as 0; an engine error counting callsigns or KI raises StoreError.
Score countScore(Database& db, qint64 contestNumber);

// The score of the three counts, with its points.
Score scoreOf(qint64 contacts, qint64 correspondents, qint64 regions);

// "СВ=12  КР=28(7)  РН=9(3)  Всего=49"
QString scoreStatusText(const Score& score);
