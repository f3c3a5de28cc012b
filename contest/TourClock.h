#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// What the status bar and the tour field show at one instant of the contest schedule.
struct TourClockState
{
    QString text;         // "Before...", "Tour 3 of 8" or "After..."
    int gaugeMaximum = 0; // seconds in a tour, never below 0
    int progress = 0;     // seconds since the running tour began, within 0..gaugeMaximum
    int tour = 0;         // 0 before the start, the number of tours + 1 after the end
};

// The schedule runs from begDate at the time of day of begTime, in tours of tourMinutes, one after the
// other; it is read on the local wall clock, the same clock that `now` shows. The start and the end
// instants both belong to the contest; at the very end the last tour shows as complete. A schedule with
// no length (no tours, or tours of 0 or fewer minutes) has nothing running: every instant from its start
// on is after the end, and a negative tour length shows an empty gauge.
TourClockState tourClockAt(const QDate& begDate, const QTime& begTime, double tourMinutes, int tours,
                           const QDateTime& now);
