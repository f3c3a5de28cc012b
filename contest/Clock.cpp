#include "contest/Clock.h"

QDateTime SystemClock::localNow() const
{
    return QDateTime::currentDateTime();
}

QDateTime SystemClock::utcNow() const
{
    return QDateTime::currentDateTimeUtc();
}
