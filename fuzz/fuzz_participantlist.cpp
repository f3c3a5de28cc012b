// Participant lists of any bytes: whatever the file holds, each callsign read has five characters or
// more, or four with a letter and a digit among them, and no space, and no line gives more than one.
#include "contest/ParticipantList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList callsigns = parseParticipantList(bytes);
    if (callsigns.size() > bytes.count('\n') + 1) {
        std::abort();
    }
    for (const QString& callsign : callsigns) {
        const bool fourAsCallsign = callsign.size() == 4
            && std::any_of(callsign.cbegin(), callsign.cend(), [](QChar c) { return c.isLetter(); })
            && std::any_of(callsign.cbegin(), callsign.cend(), [](QChar c) { return c.isDigit(); });
        if ((callsign.size() < 5 && !fourAsCallsign) || callsign.contains(u' ') || callsign.contains(u'\n')) {
            std::abort();
        }
    }
    return 0;
}
