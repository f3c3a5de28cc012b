#include "shell/RigKeyer.h"

#include "contest/CwMessages.h"
#include "shell/RigFollower.h"

#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace
{
// the follower's thread is between two readings within this, unless the radio stopped answering
constexpr int kTakeWaitMs = 2000;
} // namespace

RigKeyer::RigKeyer(RigFollower& follower, QObject* parent)
    : Keyer(parent)
    , m_follower(follower)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (!m_taken) {
            fail(u"the radio does not answer"_s);
        } else if (std::exchange(m_sending, false)) {
            Q_EMIT sent();
        }
    });
    connect(&m_follower, &RigFollower::morseTaken, this, &RigKeyer::taken);
}

void RigKeyer::send(const QString& text, int wpm)
{
    ++m_id;
    m_sending = true;
    m_taken = false;
    m_durationMs = morseDurationMs(text, wpm);
    if (!m_follower.isFollowing()) {
        // told once the caller is done with the key that asked for it
        QTimer::singleShot(0, this, [this, id = m_id] {
            if (id == m_id) {
                fail(u"no radio is followed (File > Radio...)"_s);
            }
        });
        return;
    }
    m_timer->start(kTakeWaitMs);
    m_follower.sendMorse(m_id, text, wpm);
}

void RigKeyer::stop()
{
    if (std::exchange(m_sending, false)) {
        m_timer->stop();
        m_follower.stopMorse(m_id);
    }
}

void RigKeyer::taken(int id, bool taken)
{
    if (id != m_id || !m_sending || m_taken) {
        return;
    }
    if (!taken) {
        fail(u"the radio is not reached or did not take the text"_s);
        return;
    }
    m_taken = true;
    m_timer->start(m_durationMs);
}

void RigKeyer::fail(const QString& reason)
{
    if (std::exchange(m_sending, false)) {
        m_timer->stop();
        // told as not sent: it must not go out once the radio answers again
        m_follower.stopMorse(m_id);
        Q_EMIT failed(reason);
    }
}
