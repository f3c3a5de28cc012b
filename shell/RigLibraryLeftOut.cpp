// The build without the rig library: no radio is followed, tuned or keyed, and the dialog says why.
#include "shell/HamlibRigs.h"
#include "shell/RigFollower.h"

bool rigLibraryBuiltIn()
{
    return false;
}

void quietHamlib() { }

QMutex& hamlibLock()
{
    static QMutex lock;
    return lock;
}

QList<RigModelEntry> hamlibRigModels()
{
    return {};
}

RigFollower::RigFollower(QObject* parent)
    : QObject(parent)
{
}

RigFollower::~RigFollower() = default;

void RigFollower::start(const RadioSettings& /*settings*/) { }

void RigFollower::sendMorse(int id, const QString& /*text*/, int /*wpm*/)
{
    Q_EMIT morseTaken(id, false);
}

void RigFollower::stopMorse(int upToId)
{
    m_morseDropped->store(upToId);
}

void RigFollower::playVoiceMemory(int channel)
{
    Q_EMIT voiceMemoryRefused(channel);
}

void RigFollower::tune(qint64 /*frequencyHz*/, const QString& /*modeName*/) { }

void RigFollower::stop() { }
