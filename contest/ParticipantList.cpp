#include "contest/ParticipantList.h"

#include "contest/TextCodec.h"
#include "store/TextHelpers.h"

#include <QFile>

namespace
{
constexpr int kMinimumCallsignLength = 5;
}

QStringList parseParticipantList(const QByteArray& bytes)
{
    const QString text = decodeTextFile(bytes);
    QStringList callsigns;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QString callsign = RemoveSpaces(line);
        if (callsign.size() >= kMinimumCallsignLength) {
            callsigns.append(callsign);
        }
    }
    return callsigns;
}

QStringList readParticipantList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parseParticipantList(file.readAll());
}
