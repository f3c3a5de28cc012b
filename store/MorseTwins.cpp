#include "store/MorseTwins.h"

namespace
{
// А..Я in order; a blank marks a letter with no Latin twin in Morse (Ч Ш Э Ю Я)
constexpr char16_t kUpperTwins[] = u"ABWGDEVZIJKLMNOPRSTUFHC  QXYX   ";
constexpr char16_t kCapitalA = u'А';
constexpr char16_t kSmallA = u'а';
constexpr int kAlphabetSize = 32;

QChar twinOrNull(char16_t twin)
{
    return twin == u' ' ? QChar() : QChar(twin);
}
} // namespace

QChar morseLatinTwin(QChar ch)
{
    char16_t c = ch.unicode();
    if (c == u'Ё' || c == u'ё') {
        c = c == u'Ё' ? u'Е' : u'е';
    }
    if (c >= kCapitalA && c < kCapitalA + kAlphabetSize) {
        return twinOrNull(kUpperTwins[c - kCapitalA]);
    }
    if (c >= kSmallA && c < kSmallA + kAlphabetSize) {
        return twinOrNull(kUpperTwins[c - kSmallA]).toLower();
    }
    return {};
}
