// What the operator may type as a received code. The integer rule is checked against a second reading
// of it built on regular expressions, and the received code against its definition.
#include "contest/ReceivedCode.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr qsizetype kMostDecimalDigits = 10;
constexpr qsizetype kMostHexDigits = 8;

QString withoutLeadingZeros(const QString& digits)
{
    qsizetype zeros = 0;
    while (zeros + 1 < digits.size() && digits.at(zeros) == u'0') {
        ++zeros;
    }
    return digits.mid(zeros);
}

bool referenceIsInteger(const QString& text)
{
    static const QRegularExpression decimal(u"\\A *([+-]?)([0-9]+)\\z"_s);
    static const QRegularExpression hex(u"\\A *(?:0x|0X|\\$|x|X)([0-9A-Fa-f]+)\\z"_s);
    const QRegularExpressionMatch hexMatch = hex.match(text);
    if (hexMatch.hasMatch()) {
        return withoutLeadingZeros(hexMatch.captured(1)).size() <= kMostHexDigits;
    }
    const QRegularExpressionMatch decimalMatch = decimal.match(text);
    if (!decimalMatch.hasMatch()) {
        return false;
    }
    const QString digits = withoutLeadingZeros(decimalMatch.captured(2));
    if (digits.size() > kMostDecimalDigits) {
        return false;
    }
    const qint64 magnitude = digits.toLongLong();
    return decimalMatch.captured(1) == u"-"_s ? magnitude <= 2147483648LL : magnitude <= 2147483647LL;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (isIntegerText(typed) != referenceIsInteger(typed)) {
        std::abort();
    }

    const ReceivedCode received = parseReceivedCode(typed);
    if (typed.size() < 5) {
        if (received.status != ReceivedCode::Status::Ignored || !received.code.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    QString compact = typed;
    compact.remove(u' ');
    const QString ki = compact.left(2);
    const QString serial = compact.mid(2);
    if (received.code != ki + u' ' + serial) {
        std::abort();
    }
    const bool valid = referenceIsInteger(ki) && referenceIsInteger(serial);
    if (received.status != (valid ? ReceivedCode::Status::Valid : ReceivedCode::Status::Invalid)) {
        std::abort();
    }
    return 0;
}
