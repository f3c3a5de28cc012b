#include "contest/MorseLatin.h"

namespace
{
// А..Я in order; a blank marks a letter with no Latin twin in Morse (Ч Ш Э Ю Я)
constexpr char16_t kUpperTwins[] = u"ABWGDEVZIJKLMNOPRSTUFHC  QXYX   ";
constexpr char16_t kCapitalA = u'А';
constexpr char16_t kSmallA = u'а';
constexpr int kAlphabetSize = 32;

QChar latinTwin(QChar ch)
{
    char16_t c = ch.unicode();
    if (c == u'Ё' || c == u'ё') {
        c = c == u'Ё' ? u'Е' : u'е';
    }
    if (c >= kCapitalA && c < kCapitalA + kAlphabetSize) {
        return QChar(kUpperTwins[c - kCapitalA]);
    }
    if (c >= kSmallA && c < kSmallA + kAlphabetSize) {
        return QChar(kUpperTwins[c - kSmallA]).toLower();
    }
    return QChar(u' ');
}
} // namespace

AsciiText morseLatin(const QString& text)
{
    AsciiText result;
    result.text.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f) {
            result.text += ch;
            continue;
        }
        const QChar twin = latinTwin(ch);
        if (twin == u' ') {
            result.text += u'?';
            result.lossy = true;
        } else {
            result.text += twin;
        }
    }
    return result;
}
