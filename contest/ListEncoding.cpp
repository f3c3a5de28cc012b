#include "contest/ListEncoding.h"

#include "store/Cp1251.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>

namespace
{
// How much a reading looks like a participant list, from least to most.
enum class Likeness
{
    Foreign,
    Letters,
    ListText,
};

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// What a list holds beyond ASCII and А to я: the other Russian and Ukrainian letters, №, quotes and dashes.
const QString kListCharacters = QStringLiteral("ЁёЄєІіЇїҐґ№«»„“”‘’‚‐‑‒–—―");

bool isListCharacter(char32_t c)
{
    return c < 0x80 || (c >= U'А' && c <= U'я') || (c <= 0xFFFF && kListCharacters.contains(QChar(c)));
}

bool isLatinOrCyrillicLetter(char32_t c)
{
    const QChar::Script script = QChar::script(c);
    return QChar::isLetter(c) && (script == QChar::Script_Latin || script == QChar::Script_Cyrillic);
}

Likeness likeness(const QString& text)
{
    Likeness least = Likeness::ListText;
    for (const char32_t c : text.toUcs4()) {
        if (!isListCharacter(c)) {
            if (!isLatinOrCyrillicLetter(c)) {
                return Likeness::Foreign;
            }
            least = Likeness::Letters;
        }
    }
    return least;
}

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}
} // namespace

ListLine decodeListLine(const QByteArray& line, ListEncoding tie)
{
    if (isAscii(line)) {
        return {QString::fromLatin1(line), std::nullopt};
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    // an editor that saves UTF-8 may put the mark in front, also of a file appended to a list of the other kind
    const bool marked = line.startsWith(kByteOrderMark);
    const QByteArray bytes = marked ? line.mid(kByteOrderMark.size()) : line;
    const QString utf8 = decoder.decode(bytes);
    if (marked && !decoder.hasError()) {
        return {utf8, ListEncoding::Utf8};
    }
    const QString cp1251 = fromCp1251(bytes);
    if (decoder.hasError()) {
        return {cp1251, ListEncoding::Cp1251};
    }
    const Likeness asUtf8 = likeness(utf8);
    const Likeness asCp1251 = likeness(cp1251);
    if (asUtf8 != asCp1251) {
        return asUtf8 > asCp1251 ? ListLine{utf8, ListEncoding::Utf8} : ListLine{cp1251, ListEncoding::Cp1251};
    }
    return {tie == ListEncoding::Utf8 ? utf8 : cp1251, std::nullopt};
}
