#pragma once

#include <QByteArray>
#include <QTest>

#include <ctime>

// Sets the zone local time is in, for this process. A Windows program takes its zone from the system
// and has no such switch: there it does nothing, and a test that needs a particular zone is skipped
// (USE_TIME_ZONE).
inline bool setTimeZone(const QByteArray& zone)
{
#ifdef Q_OS_WIN
    Q_UNUSED(zone)
    return false;
#else
    qputenv("TZ", zone);
    tzset();
    return true;
#endif
}

#define USE_TIME_ZONE(zone)                                                                                            \
    if (!setTimeZone(zone))                                                                                            \
    QSKIP("A Windows program takes its time zone from the system: it cannot be set for one test")
