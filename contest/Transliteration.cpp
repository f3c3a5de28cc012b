#include "contest/Transliteration.h"

#include <array>

namespace
{
// а..я in order
const std::array<QString, 32> kLatin = {QStringLiteral("a"),
                                        QStringLiteral("b"),
                                        QStringLiteral("v"),
                                        QStringLiteral("g"),
                                        QStringLiteral("d"),
                                        QStringLiteral("e"),
                                        QStringLiteral("zh"),
                                        QStringLiteral("z"),
                                        QStringLiteral("i"),
                                        QStringLiteral("i"),
                                        QStringLiteral("k"),
                                        QStringLiteral("l"),
                                        QStringLiteral("m"),
                                        QStringLiteral("n"),
                                        QStringLiteral("o"),
                                        QStringLiteral("p"),
                                        QStringLiteral("r"),
                                        QStringLiteral("s"),
                                        QStringLiteral("t"),
                                        QStringLiteral("u"),
                                        QStringLiteral("f"),
                                        QStringLiteral("kh"),
                                        QStringLiteral("ts"),
                                        QStringLiteral("ch"),
                                        QStringLiteral("sh"),
                                        QStringLiteral("shch"),
                                        QStringLiteral("ie"),
                                        QStringLiteral("y"),
                                        QString(),
                                        QStringLiteral("e"),
                                        QStringLiteral("iu"),
                                        QStringLiteral("ia")};
constexpr char16_t kCapitalA = u'А';
constexpr char16_t kSmallA = u'а';

// the small letter's Latin (Ь has none), or "?" when the character is no Russian letter
QString russianLatin(char16_t c)
{
    if (c == u'Ё' || c == u'ё') {
        return kLatin.at(size_t(u'е' - kSmallA));
    }
    if (c >= kCapitalA && c < kCapitalA + kLatin.size()) {
        return kLatin.at(size_t(c - kCapitalA));
    }
    if (c >= kSmallA && c < kSmallA + kLatin.size()) {
        return kLatin.at(size_t(c - kSmallA));
    }
    return QStringLiteral("?");
}

QString punctuation(char16_t c)
{
    switch (c) {
    case u'«':
    case u'»':
    case u'„':
    case u'“':
    case u'”':
        return QStringLiteral("\"");
    case u'–':
    case u'—':
        return QStringLiteral("-");
    case u'№':
        return QStringLiteral("No");
    default:
        return QString();
    }
}

// a capital within a word of capitals (or beside one) makes the whole Latin group capitals: ЩОРСА SHCHORSA
bool inCapitals(const QString& text, qsizetype at)
{
    if (at + 1 < text.size() && text.at(at + 1).isLetter()) {
        return text.at(at + 1).isUpper();
    }
    return at > 0 && text.at(at - 1).isLetter() && text.at(at - 1).isUpper();
}
} // namespace

AsciiText passportLatin(const QString& text)
{
    AsciiText result;
    result.text.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar ch = text.at(at);
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f) {
            result.text += ch;
            continue;
        }
        const QString mark = punctuation(ch.unicode());
        if (!mark.isEmpty()) {
            result.text += mark;
            continue;
        }
        QString latin = russianLatin(ch.unicode());
        if (latin == u'?') {
            result.lossy = true;
        } else if (ch.isUpper() && !latin.isEmpty()) {
            latin = inCapitals(text, at) ? latin.toUpper() : latin.at(0).toUpper() + latin.mid(1);
        }
        result.text += latin;
    }
    return result;
}
