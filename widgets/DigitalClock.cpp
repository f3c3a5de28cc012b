#include "widgets/DigitalClock.h"

#include <QTimer>

namespace
{
// a short interval keeps the seconds from lagging behind the system clock by up to a second
constexpr int kRefreshMs = 200;
} // namespace

DigitalClock::DigitalClock(QWidget* parent)
    : Panel(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &DigitalClock::refresh);
    m_timer->start();
    refresh();
}

QString DigitalClock::format(const QTime& time)
{
    return time.toString(QStringLiteral("hh:mm")) + time.toString(QStringLiteral(":ss"));
}

void DigitalClock::refresh()
{
    setCaption(format(QTime::currentTime()));
}
