#pragma once

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

// Median of a set of timings in nanoseconds: one hiccup of the machine does not move it.
inline qint64 medianOf(std::vector<qint64> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples.at(samples.size() / 2);
}

inline double toMilliseconds(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

inline void printHeader(const char* what)
{
    std::printf("%-44s %8s %12s %12s %8s %8s\n", what, "scale", "program ms", "baseline ms", "ratio", "target");
}

inline void printRatio(const char* what, const char* scale, qint64 program, qint64 baseline, double target)
{
    const double ratio = double(program) / double(std::max<qint64>(baseline, 1));
    std::printf("%-44s %8s %12.2f %12.2f %8.2f %7.1fx %s\n", what, scale, toMilliseconds(program),
                toMilliseconds(baseline), ratio, target, ratio <= target ? "ok" : "MISSED");
    std::fflush(stdout);
}

// A row beside the others, without a target of its own.
inline void printAside(const char* what, const char* scale, qint64 program, qint64 baseline)
{
    const double ratio = double(program) / double(std::max<qint64>(baseline, 1));
    std::printf("%-44s %8s %12.2f %12.2f %8.2f %8s\n", what, scale, toMilliseconds(program), toMilliseconds(baseline),
                ratio, "-");
    std::fflush(stdout);
}

// A target in milliseconds of the program's own: the baseline is shown beside it for comparison.
inline void printWithin(const char* what, const char* scale, qint64 program, qint64 baseline, double targetMs)
{
    const double ratio = double(program) / double(std::max<qint64>(baseline, 1));
    std::printf("%-44s %8s %12.2f %12.2f %8.2f %5.0f ms %s\n", what, scale, toMilliseconds(program),
                toMilliseconds(baseline), ratio, targetMs, toMilliseconds(program) <= targetMs ? "ok" : "MISSED");
    std::fflush(stdout);
}
