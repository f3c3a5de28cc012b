#pragma once

#include "shell/RadioSettings.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;
class RigPoller;

// Reads the radio's frequency and mode about twice a second in a thread of its own, since every call
// into the rig library may block until its timeout. A radio that is off, unplugged or unreachable is
// tried again by itself, less often while it stays away.
class RigFollower : public QObject
{
    Q_OBJECT

public:
    explicit RigFollower(QObject* parent = nullptr);
    ~RigFollower() override;

    // Follows the radio the settings name, in place of the one followed so far; no radio stops following.
    void start(const RadioSettings& settings);
    // Returns within a bound even while the rig library is blocked: a thread that does not end in time
    // is left to end by itself, and reports nothing more.
    void stop();
    bool isFollowing() const { return m_thread != nullptr; }

    // Keys the text through the radio's own keyer, from the follower's thread between two readings;
    // morseTaken tells whether the radio took it. A radio not reached at the moment takes nothing.
    void sendMorse(int id, const QString& text, int wpm);
    // Stops the text being keyed, and drops the texts up to the id that wait for a radio slow to answer:
    // the operator has been told they are not sent, and they must not go out late.
    void stopMorse(int upToId);
    // Plays one of the radio's voice memories (from 1); a radio that has none does nothing.
    void playVoiceMemory(int channel);
    // Sets the radio's frequency and mode (the rig library's name); a radio not reached at the moment
    // is not tuned, and the next reading tells where it is.
    void tune(qint64 frequencyHz, const QString& modeName);

Q_SIGNALS:
    // every successful reading, the mode in the rig library's own name ("CW", "LSB", ...)
    void radioRead(qint64 frequencyHz, const QString& modeName);
    // the radio cannot be reached (yet, or any more)
    void radioLost();
    void morseTaken(int id, bool taken);
    // the radio has voice memories but could not be reached, or did not play this one
    void voiceMemoryRefused(int channel);

private:
    QThread* m_thread = nullptr;
    RigPoller* m_poller = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    // shared with the requests waiting in the thread, which may outlive the follower
    std::shared_ptr<std::atomic<int>> m_morseDropped = std::make_shared<std::atomic<int>>(0);
};
