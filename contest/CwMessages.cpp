#include "contest/CwMessages.h"

#include "contest/MorseLatin.h"
#include "contest/ReceivedCode.h"

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kMyCall = u"{MYCALL}"_s;
const QString kExchange = u"{EXCH}"_s;
const QString kCall = u"{CALL}"_s;
const QString kSerial = u"{NR}"_s;

// A..Z, then 0..9, then the punctuation in kPunctuation, in dots and dashes
constexpr std::array<const char*, 26> kLetterCodes = {
    ".-", "-...", "-.-.", "-..",  ".",   "..-.", "--.", "....", "..",   ".---", "-.-",  ".-..", "--",
    "-.", "---",  ".--.", "--.-", ".-.", "...",  "-",   "..-",  "...-", ".--",  "-..-", "-.--", "--.."};
constexpr std::array<const char*, 10> kDigitCodes = {"-----", ".----", "..---", "...--", "....-",
                                                     ".....", "-....", "--...", "---..", "----."};
constexpr char16_t kPunctuation[] = u"?/=.,+-@'():\"";
constexpr std::array<const char*, 13> kPunctuationCodes = {"..--..", "-..-.",  "-...-",  ".-.-.-", "--..--",
                                                           ".-.-.",  "-....-", ".--.-.", ".----.", "-.--.",
                                                           "-.--.-", "---...", ".-..-."};
constexpr int kDotMsAtOneWpm = 1200;
constexpr int kLetterGapUnits = 3;
constexpr int kWordGapUnits = 7;

const char* morseCode(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'A' && c <= u'Z') {
        return kLetterCodes.at(c - u'A');
    }
    if (c >= u'0' && c <= u'9') {
        return kDigitCodes.at(c - u'0');
    }
    for (size_t i = 0; i < kPunctuationCodes.size(); ++i) {
        if (kPunctuation[i] == c) {
            return kPunctuationCodes.at(i);
        }
    }
    return nullptr;
}

QString cut(QString digits, bool cutNumbers)
{
    return cutNumbers ? digits.replace(u'0', u'T').replace(u'9', u'N') : digits;
}
} // namespace

CwMessageTexts defaultCwMessages()
{
    return {u"CQ TEST {MYCALL}"_s, kExchange, u"TU"_s, kMyCall, kCall, u"?"_s, u"AGN"_s, kExchange};
}

CwText expandCwMessage(const QString& message, const CwFields& fields, bool cutNumbers)
{
    // the exchange exactly as the panel shows it, the KI's leading zero included; only the serial is cut
    const QString exchange = sentExchange(fields.ki, fields.serial);
    const QString serial = cut(exchange.section(u' ', 1), cutNumbers);
    QString filled = message;
    filled.replace(kMyCall, fields.myCall, Qt::CaseInsensitive)
        .replace(kExchange, exchange.section(u' ', 0, 0) + u' ' + serial, Qt::CaseInsensitive)
        .replace(kCall, fields.call, Qt::CaseInsensitive)
        .replace(kSerial, serial, Qt::CaseInsensitive);
    CwText result;
    for (const QChar ch : filled) {
        const QChar sent = ch.isSpace() ? QChar(u' ') : morseLatin(QString(ch)).text.at(0).toUpper();
        // the export's "?" stands for a letter without a twin: a "?" typed as such is sent
        const bool twinless = sent == u'?' && ch != u'?';
        if (sent == u' ' || (!twinless && morseCode(sent))) {
            if (sent != u' ' || (!result.text.isEmpty() && !result.text.endsWith(u' '))) {
                result.text += sent;
            }
        } else if (!result.leftOut.contains(ch)) {
            result.leftOut += ch;
        }
    }
    if (result.text.endsWith(u' ')) {
        result.text.chop(1);
    }
    return result;
}

int morseDurationMs(const QString& text, int wpm)
{
    int units = 0;
    bool wordStart = true;
    for (const QChar ch : text) {
        const char* code = morseCode(ch);
        if (!code) {
            units += wordStart ? 0 : kWordGapUnits - kLetterGapUnits;
            wordStart = true;
            continue;
        }
        for (const char* element = code; *element; ++element) {
            units += (*element == '-' ? 3 : 1) + 1;
        }
        // the gap after the letter: one unit is already counted after its last element
        units += kLetterGapUnits - 1;
        wordStart = false;
    }
    return units * kDotMsAtOneWpm / std::max(1, wpm);
}
