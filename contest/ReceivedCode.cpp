#include "contest/ReceivedCode.h"

#include "store/TextHelpers.h"

#include <limits>

namespace
{
constexpr int kMinimumTypedLength = 5;
constexpr int kKiLength = 2;
constexpr int kSerialWidth = 3;

// the value of a hexadecimal digit, or -1
int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

bool isHexInteger(QStringView digits)
{
    if (digits.isEmpty()) {
        return false;
    }
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit = hexValue(c);
        if (digit < 0) {
            return false;
        }
        value = value * 16 + quint64(digit);
        if (value > std::numeric_limits<quint32>::max()) {
            return false;
        }
    }
    return true;
}

bool isDecimalInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty()) {
        return false;
    }
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1) {
            return false;
        }
    }
    return negative || value <= std::numeric_limits<qint32>::max();
}
} // namespace

bool isIntegerText(const QString& text)
{
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == u' ') {
        rest = rest.mid(1);
    }
    if (rest.startsWith(u"0x") || rest.startsWith(u"0X")) {
        return isHexInteger(rest.mid(2));
    }
    if (rest.startsWith(u'$') || rest.startsWith(u'x') || rest.startsWith(u'X')) {
        return isHexInteger(rest.mid(1));
    }
    return isDecimalInteger(rest);
}

ReceivedCode parseReceivedCode(const QString& typed)
{
    ReceivedCode result;
    if (typed.size() < kMinimumTypedLength) {
        return result;
    }
    const QString compact = RemoveSpaces(typed);
    const QString ki = compact.left(kKiLength);
    const QString serial = compact.mid(kKiLength);
    result.code = ki + u' ' + serial;
    result.status = isIntegerText(ki) && isIntegerText(serial) ? ReceivedCode::Status::Valid
                                                               : ReceivedCode::Status::Invalid;
    return result;
}

QString sentExchange(qint64 ki, qint64 serial)
{
    // The other station reads the first two characters as the KI, as this program does: a KI below 10
    // goes out with its leading zero, or "5 002" would come back as KI 50.
    const QString kiText = ki >= 0 && ki < 10 ? ZeroPadded(qint32(ki), kKiLength) : QString::number(ki);
    return kiText + u' ' + ZeroPadded(qint32(serial), kSerialWidth);
}

QString journalKi(const QString& receivedCode)
{
    return PadRight(receivedCode, kKiLength).left(kKiLength);
}
