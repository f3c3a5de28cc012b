#include "contest/MorseLatin.h"

#include "store/MorseTwins.h"

AsciiText morseLatin(const QString& text)
{
    AsciiText result;
    result.text.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f) {
            result.text += ch;
            continue;
        }
        const QChar twin = morseLatinTwin(ch);
        if (twin.isNull()) {
            result.text += u'?';
            result.lossy = true;
        } else {
            result.text += twin;
        }
    }
    return result;
}
