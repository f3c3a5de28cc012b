#pragma once

#include <QDateTime>

// The system clock, behind an interface so that tests can set the time.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
    virtual QDateTime utcNow() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime localNow() const override;
    QDateTime utcNow() const override;
};
