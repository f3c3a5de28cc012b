#pragma once

#include "shell/Keyer.h"

class QTimer;
class RigFollower;

// The keyer built into the radio the window follows, reached through the rig library's send-Morse call
// in the follower's own thread. The radio tells only that it took the text: it counts as keyed once
// the text's time at the speed has passed.
class RigKeyer : public Keyer
{
    Q_OBJECT

public:
    RigKeyer(RigFollower& follower, QObject* parent = nullptr);

    void send(const QString& text, int wpm) override;
    void stop() override;
    bool isSending() const override { return m_sending; }

private:
    void taken(int id, bool taken);
    void fail(const QString& reason);

    RigFollower& m_follower;
    // waits for the radio to take the text, then for the text's time
    QTimer* m_timer;
    int m_id = 0;
    int m_durationMs = 0;
    bool m_taken = false;
    bool m_sending = false;
};
