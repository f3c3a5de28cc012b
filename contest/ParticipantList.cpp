#include "contest/ParticipantList.h"

#include "contest/Cp1251.h"
#include "store/TextHelpers.h"

#include <QBuffer>
#include <QFile>
#include <QStringDecoder>

namespace
{
constexpr int kMinimumCallsignLength = 5;
const QByteArray kUtf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

QString decodeLine(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(line);
    return utf8.hasError() ? fromCp1251(line) : text;
}

void readLines(QIODevice& device, const std::function<void(const QString&)>& take)
{
    bool firstLine = true;
    for (QByteArray line = device.readLine(); !line.isEmpty(); line = device.readLine()) {
        if (line.endsWith('\n')) {
            line.chop(1);
        }
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (firstLine && line.startsWith(kUtf8ByteOrderMark)) {
            line.remove(0, kUtf8ByteOrderMark.size());
        }
        firstLine = false;
        const QString callsign = RemoveSpaces(decodeLine(line));
        if (callsign.size() >= kMinimumCallsignLength) {
            take(callsign);
        }
    }
}
} // namespace

QStringList parseParticipantList(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QStringList callsigns;
    readLines(buffer, [&](const QString& callsign) { callsigns.append(callsign); });
    return callsigns;
}

void readParticipantList(const QString& path, const std::function<void(const QString&)>& take)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        readLines(file, take);
    }
}
