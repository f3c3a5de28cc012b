#pragma once

#include "ContestFolder.h"

#include <QStringList>

#include <utility>
#include <vector>

// The scales a benchmark runs at: both by default, or the ones named on the command line
// ("regional", "ten"), so that a profiler can be pointed at one.
inline std::vector<std::pair<const char*, ContestScale>> scalesFromArguments(const QStringList& arguments)
{
    const bool regional = arguments.size() < 2 || arguments.contains(QStringLiteral("regional"));
    const bool ten = arguments.size() < 2 || arguments.contains(QStringLiteral("ten"));
    std::vector<std::pair<const char*, ContestScale>> scales;
    if (regional) {
        scales.emplace_back("2000", ContestScale::regional());
    }
    if (ten) {
        scales.emplace_back("20000", ContestScale::tenTimes());
    }
    return scales;
}
