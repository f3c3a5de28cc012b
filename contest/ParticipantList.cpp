#include "contest/ParticipantList.h"

#include "contest/Cp1251.h"
#include "store/TextHelpers.h"

#include <QFile>
#include <QStringDecoder>

namespace
{
constexpr int kMinimumCallsignLength = 5;

// a list saved by a modern editor is UTF-8; anything that is not valid UTF-8 is the old code page
QString decodeList(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    }
    return fromCp1251(bytes);
}
} // namespace

QStringList parseParticipantList(const QByteArray& bytes)
{
    const QString text = decodeList(bytes);
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
