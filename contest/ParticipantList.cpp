#include "contest/ParticipantList.h"

#include "contest/ListEncoding.h"
#include "store/TextHelpers.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <optional>

namespace
{
const QByteArray kUtf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool nextLine(QIODevice& device, QByteArray& line)
{
    line = device.readLine();
    if (line.isEmpty()) {
        return false;
    }
    if (line.endsWith('\n')) {
        line.chop(1);
    }
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return true;
}

std::optional<ListEncoding> firstShownEncoding(QIODevice& device)
{
    std::optional<ListEncoding> shown;
    QByteArray line;
    while (!shown && nextLine(device, line)) {
        shown = decodeListLine(line, ListEncoding::Cp1251).shown;
    }
    return shown;
}

ListReading readLines(QIODevice& device, const ParticipantListSink& sink)
{
    ListReading reading;
    reading.opened = true;
    const bool savedAsUtf8 = device.peek(kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
    ListEncoding around = ListEncoding::Utf8;
    if (!savedAsUtf8) {
        // a pipe cannot be read twice: its lines at the top then follow the list's own code page
        around = device.isSequential() ? ListEncoding::Cp1251
                                       : firstShownEncoding(device).value_or(ListEncoding::Cp1251);
        if (!device.isSequential() && !device.seek(0)) {
            reading.error = device.errorString();
            return reading;
        }
    }
    QByteArray line;
    while (nextLine(device, line)) {
        ++reading.lines;
        const ListLine decoded = decodeListLine(line, around);
        if (decoded.shown && !savedAsUtf8) {
            around = *decoded.shown;
        }
        const QString callsign = RemoveSpaces(decoded.text);
        if (isBlankCallsign(callsign)) {
            continue;
        }
        if (callsign.size() < kMinimumCallsignLength && !isShortCallsign(callsign)) {
            if (sink.skip) {
                sink.skip(reading.lines, callsign);
            }
            continue;
        }
        sink.take(callsign);
    }
    if (!device.atEnd()) {
        reading.error = device.errorString();
    }
    return reading;
}
} // namespace

QStringList parseParticipantList(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QStringList callsigns;
    readLines(buffer, {[&](const QString& callsign) { callsigns.append(callsign); }, {}});
    return callsigns;
}

ListReading readParticipantList(const QString& path, const ParticipantListSink& sink)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {false, 0, file.errorString()};
    }
    return readLines(file, sink);
}

bool isBlankCallsign(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

bool isShortCallsign(const QString& text)
{
    const auto has = [&text](auto test) { return std::any_of(text.cbegin(), text.cend(), test); };
    return text.size() == kShortCallsignLength && has([](QChar c) { return c.isLetter(); })
        && has([](QChar c) { return c.isDigit(); }) && !has([](QChar c) { return c.isSpace() || !c.isPrint(); });
}
