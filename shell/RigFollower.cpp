#include "shell/RigFollower.h"

#include "shell/HamlibRigs.h"

#include <QThread>
#include <QTimer>

#include <hamlib/rig.h>

namespace
{
constexpr int kPollMs = 500;
constexpr int kRetryFirstMs = 500;
constexpr int kRetryMaxMs = 2000;
// short enough that closing the window never waits long on a radio that stopped answering
const char* const kRigTimeoutMs = "300";
const char* const kRigRetries = "0";
constexpr unsigned long kStopWaitMs = 1500;

void setConf(RIG* rig, const char* name, const QByteArray& value)
{
    const token_t token = rig_token_lookup(rig, name);
    if (token != RIG_CONF_END) {
        rig_set_conf(rig, token, value.constData());
    }
}
} // namespace

// Lives in the follower's thread: every rig library call is made there.
class RigPoller : public QObject
{
public:
    RigPoller(RadioSettings settings, RigFollower* follower, std::shared_ptr<std::atomic<bool>> cancelled)
        : m_settings(std::move(settings))
        , m_follower(follower)
        , m_cancelled(std::move(cancelled))
    {
    }

    ~RigPoller() override { closeRig(); }

    void begin()
    {
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] { poll(); });
        poll();
    }

    // the timer and the rig belong to this thread: both are let go in it, as it ends
    void finish()
    {
        if (m_timer) {
            m_timer->stop();
        }
        closeRig();
    }

    void sendMorse(int id, const QByteArray& text, int wpm)
    {
        bool taken = false;
        if (!m_cancelled->load() && m_rig) {
            value_t speed{};
            speed.i = wpm;
            // not every radio lets its keyer's speed be set: the text goes all the same
            rig_set_level(m_rig, RIG_VFO_CURR, RIG_LEVEL_KEYSPD, speed);
            taken = rig_send_morse(m_rig, RIG_VFO_CURR, text.constData()) == RIG_OK;
        }
        report([id, taken](RigFollower* follower) { Q_EMIT follower->morseTaken(id, taken); });
    }

    void stopMorse()
    {
        if (!m_cancelled->load() && m_rig) {
            rig_stop_morse(m_rig, RIG_VFO_CURR);
        }
    }

    void playVoiceMemory(int channel)
    {
        if (m_cancelled->load() || (m_rig && !m_rig->caps->send_voice_mem)) {
            return;
        }
        if (!m_rig || rig_send_voice_mem(m_rig, RIG_VFO_CURR, channel) != RIG_OK) {
            report([channel](RigFollower* follower) { Q_EMIT follower->voiceMemoryRefused(channel); });
        }
    }

    void tune(qint64 frequencyHz, const QByteArray& modeName)
    {
        if (m_cancelled->load() || !m_rig) {
            return;
        }
        rig_set_freq(m_rig, RIG_VFO_CURR, freq_t(frequencyHz));
        if (const rmode_t mode = rig_parse_mode(modeName.constData()); mode != RIG_MODE_NONE) {
            rig_set_mode(m_rig, RIG_VFO_CURR, mode, RIG_PASSBAND_NOCHANGE);
        }
    }

private:
    void closeRig()
    {
        if (m_rig) {
            rig_close(m_rig);
            rig_cleanup(m_rig);
            m_rig = nullptr;
        }
    }

    void poll()
    {
        if (m_cancelled->load()) {
            return;
        }
        if (!m_rig && !openRig()) {
            lost();
            return;
        }
        freq_t frequency = 0;
        rmode_t mode = RIG_MODE_NONE;
        pbwidth_t width = 0;
        if (rig_get_freq(m_rig, RIG_VFO_CURR, &frequency) != RIG_OK
            || rig_get_mode(m_rig, RIG_VFO_CURR, &mode, &width) != RIG_OK) {
            closeRig();
            lost();
            return;
        }
        m_retryMs = kRetryFirstMs;
        report([hz = qint64(frequency), name = QString::fromLatin1(rig_strrmode(mode))](RigFollower* follower) {
            Q_EMIT follower->radioRead(hz, name);
        });
        m_timer->start(kPollMs);
    }

    bool openRig()
    {
        const bool network = m_settings.connection == RadioSettings::Connection::Network;
        {
            const QMutexLocker locker(&hamlibLock());
            m_rig = rig_init(network ? RIG_MODEL_NETRIGCTL : rig_model_t(m_settings.model));
        }
        if (!m_rig) {
            return false;
        }
        const QString path = network ? m_settings.host + u':' + QString::number(m_settings.port) : m_settings.device;
        setConf(m_rig, "rig_pathname", path.toLocal8Bit());
        setConf(m_rig, "timeout", kRigTimeoutMs);
        setConf(m_rig, "retry", kRigRetries);
        if (!network) {
            setConf(m_rig, "serial_speed", QByteArray::number(m_settings.speed));
        }
        if (rig_open(m_rig) != RIG_OK) {
            rig_cleanup(m_rig);
            m_rig = nullptr;
            return false;
        }
        // Each poll asks the radio: the rig library would answer from what it read up to half a second ago,
        // the frequency and the mode each aged on its own, and so pair a new frequency with an old mode.
        rig_set_cache_timeout_ms(m_rig, HAMLIB_CACHE_ALL, 0);
        return true;
    }

    void lost()
    {
        report([](RigFollower* follower) { Q_EMIT follower->radioLost(); });
        m_timer->start(m_retryMs);
        m_retryMs = std::min(m_retryMs * 2, kRetryMaxMs);
    }

    template<typename Emit>
    void report(Emit emitSignal)
    {
        // the follower may be gone once it has given up waiting for this thread
        if (!m_cancelled->load()) {
            RigFollower* follower = m_follower;
            QMetaObject::invokeMethod(
                follower, [follower, emitSignal] { emitSignal(follower); }, Qt::QueuedConnection);
        }
    }

    RadioSettings m_settings;
    RigFollower* m_follower;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    QTimer* m_timer = nullptr;
    RIG* m_rig = nullptr;
    int m_retryMs = kRetryFirstMs;
};

RigFollower::RigFollower(QObject* parent)
    : QObject(parent)
{
}

RigFollower::~RigFollower()
{
    stop();
}

void RigFollower::start(const RadioSettings& settings)
{
    stop();
    if (settings.connection == RadioSettings::Connection::None) {
        return;
    }
    quietHamlib();
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("RigFollower"));
    m_poller = new RigPoller(settings, this, m_cancelled);
    m_poller->moveToThread(m_thread);
    RigPoller* poller = m_poller;
    connect(
        m_thread, &QThread::finished, poller, [poller] { poller->finish(); }, Qt::DirectConnection);
    m_thread->start();
    QMetaObject::invokeMethod(
        poller, [poller] { poller->begin(); }, Qt::QueuedConnection);
}

void RigFollower::sendMorse(int id, const QString& text, int wpm)
{
    if (!m_poller) {
        Q_EMIT morseTaken(id, false);
        return;
    }
    RigPoller* poller = m_poller;
    QMetaObject::invokeMethod(
        poller,
        [poller, id, text = text.toLatin1(), wpm, dropped = m_morseDropped] {
            if (id > dropped->load()) {
                poller->sendMorse(id, text, wpm);
            }
        },
        Qt::QueuedConnection);
}

void RigFollower::stopMorse(int upToId)
{
    m_morseDropped->store(upToId);
    if (m_poller) {
        RigPoller* poller = m_poller;
        QMetaObject::invokeMethod(
            poller, [poller] { poller->stopMorse(); }, Qt::QueuedConnection);
    }
}

void RigFollower::playVoiceMemory(int channel)
{
    if (m_poller) {
        RigPoller* poller = m_poller;
        QMetaObject::invokeMethod(
            poller, [poller, channel] { poller->playVoiceMemory(channel); }, Qt::QueuedConnection);
    }
}

void RigFollower::tune(qint64 frequencyHz, const QString& modeName)
{
    if (m_poller) {
        RigPoller* poller = m_poller;
        QMetaObject::invokeMethod(
            poller, [poller, frequencyHz, mode = modeName.toLatin1()] { poller->tune(frequencyHz, mode); },
            Qt::QueuedConnection);
    }
}

void RigFollower::stop()
{
    if (!m_thread) {
        return;
    }
    m_cancelled->store(true);
    m_thread->quit();
    if (m_thread->wait(kStopWaitMs)) {
        delete m_poller;
        delete m_thread;
    }
    // else: the thread is blocked in the rig library; it ends by itself and reports nothing, and what it
    // holds is left to the end of the program rather than taken from under it
    m_poller = nullptr;
    m_thread = nullptr;
}
