#include "contest/TourClock.h"

#include "contest/DayZero.h"
#include "contest/Rounding.h"

#include <algorithm>
#include <limits>

namespace
{
constexpr qint64 kMsecsPerSecond = 1000;
constexpr qint64 kMsecsPerMinute = 60 * kMsecsPerSecond;
constexpr qint64 kMsecsPerDay = qint64{24} * 60 * kMsecsPerMinute;
constexpr int kSecondsPerMinute = 60;
// far beyond any contest, and still safe to add to a wall-clock instant
constexpr double kLongestTourMsecs = 1e15;

// Milliseconds on the local wall clock since 30 December 1899; summer-time shifts are not counted,
// as the schedule itself is written in wall-clock time.
qint64 wallClockMsecs(const QDate& date, const QTime& time)
{
    const QDate day = date.isValid() ? date : kDayZero;
    const qint64 msecsOfDay = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    return (day.toJulianDay() - kDayZero.toJulianDay()) * kMsecsPerDay + msecsOfDay;
}

int gaugeMaximumFor(double tourMinutes)
{
    const double seconds = roundHalfToEven(tourMinutes) * kSecondsPerMinute;
    return static_cast<int>(std::clamp(seconds, 0.0, double(std::numeric_limits<int>::max())));
}

qint64 tourLengthMsecs(double tourMinutes)
{
    return static_cast<qint64>(
        roundHalfToEven(std::clamp(tourMinutes * kMsecsPerMinute, -kLongestTourMsecs, kLongestTourMsecs)));
}

// whole seconds, halves to the even neighbour; msecs is never negative here
qint64 roundedSeconds(qint64 msecs)
{
    const qint64 seconds = msecs / kMsecsPerSecond;
    const qint64 rest = msecs % kMsecsPerSecond;
    const bool up = rest * 2 > kMsecsPerSecond || (rest * 2 == kMsecsPerSecond && seconds % 2 != 0);
    return up ? seconds + 1 : seconds;
}
} // namespace

TourClockState tourClockAt(const QDate& begDate, const QTime& begTime, double tourMinutes, int tours,
                           const QDateTime& now)
{
    TourClockState state;
    state.gaugeMaximum = gaugeMaximumFor(tourMinutes);

    const qint64 sinceStart = wallClockMsecs(now.date(), now.time()) - wallClockMsecs(begDate, begTime);
    if (sinceStart < 0) {
        state.text = QStringLiteral("Before...");
        return state;
    }

    const qint64 tourLength = tourLengthMsecs(tourMinutes);
    const qint64 toursDone = tourLength > 0 ? sinceStart / tourLength : 0;
    const qint64 intoTour = tourLength > 0 ? sinceStart % tourLength : 0;
    const bool running = tourLength > 0 && tours > 0 && (toursDone < tours || (toursDone == tours && intoTour == 0));
    if (!running) {
        state.text = QStringLiteral("After...");
        state.progress = state.gaugeMaximum;
        state.tour = static_cast<int>(std::min<qint64>(qint64(tours) + 1, std::numeric_limits<int>::max()));
        return state;
    }

    // the very end of the contest is the last instant of its last tour
    const bool atEnd = toursDone == tours;
    const qint64 tourIndex = atEnd ? toursDone - 1 : toursDone;
    const qint64 elapsed = atEnd ? tourLength : intoTour;
    state.tour = static_cast<int>(tourIndex + 1);
    state.text = QStringLiteral("Tour %1 of %2").arg(state.tour).arg(tours);
    state.progress = static_cast<int>(std::min<qint64>(roundedSeconds(elapsed), state.gaugeMaximum));
    return state;
}
