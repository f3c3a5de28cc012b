#include "store/Cp1251.h"

#include <algorithm>
#include <array>
#include <utility>

namespace
{
constexpr char kUnmappable = '?';
constexpr unsigned char kFirstUpper = 0x80;
// From 0xC0 on, the code page holds А to я in order.
constexpr unsigned char kFirstCyrillicLetter = 0xC0;
constexpr char16_t kCyrillicCapitalA = 0x0410;

// 0x80 to 0xBF. 0x98 has no character of its own; it stands for U+0098, as in the converters of the
// systems the files come from, so that it reads and writes back unchanged.
constexpr std::array<char16_t, kFirstCyrillicLetter - kFirstUpper> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// Characters that only steer how text is shown (zero-width spaces and joiners, direction marks, variation
// selectors, the byte-order mark...) are left out rather than written as "?", as the system converters
// that wrote these files before do.
constexpr std::array<std::pair<char32_t, char32_t>, 16> kShownNothing = {{{0x034F, 0x034F},
                                                                          {0x061C, 0x061C},
                                                                          {0x115F, 0x1160},
                                                                          {0x17B4, 0x17B5},
                                                                          {0x180B, 0x180F},
                                                                          {0x200B, 0x200F},
                                                                          {0x202A, 0x202E},
                                                                          {0x2060, 0x206F},
                                                                          {0x3164, 0x3164},
                                                                          {0xFE00, 0xFE0F},
                                                                          {0xFEFF, 0xFEFF},
                                                                          {0xFFA0, 0xFFA0},
                                                                          {0xFFF0, 0xFFF8},
                                                                          {0x1BCA0, 0x1BCA3},
                                                                          {0x1D173, 0x1D17A},
                                                                          {0xE0000, 0xE0FFF}}};

bool showsNothing(char32_t character)
{
    return std::any_of(kShownNothing.cbegin(), kShownNothing.cend(), [character](const auto& range) {
        return character >= range.first && character <= range.second;
    });
}

char16_t decoded(unsigned char byte)
{
    if (byte < kFirstUpper) {
        return byte;
    }
    if (byte >= kFirstCyrillicLetter) {
        return char16_t(kCyrillicCapitalA + (byte - kFirstCyrillicLetter));
    }
    return kUpperHalf.at(byte - kFirstUpper);
}

char encoded(char16_t unit)
{
    if (unit < kFirstUpper) {
        return char(unit);
    }
    constexpr int kLetters = 0x100 - kFirstCyrillicLetter;
    if (unit >= kCyrillicCapitalA && unit < kCyrillicCapitalA + kLetters) {
        return char(kFirstCyrillicLetter + (unit - kCyrillicCapitalA));
    }
    const auto* found = std::find(kUpperHalf.cbegin(), kUpperHalf.cend(), unit);
    return found == kUpperHalf.cend() ? kUnmappable : char(kFirstUpper + (found - kUpperHalf.cbegin()));
}
} // namespace

QByteArray toCp1251(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        // a character beyond the 16-bit plane is one "?", not two
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            if (!showsNothing(QChar::surrogateToUcs4(unit, text.at(i)))) {
                bytes += kUnmappable;
            }
            continue;
        }
        if (!showsNothing(unit.unicode())) {
            bytes += encoded(unit.unicode());
        }
    }
    return bytes;
}

QString fromCp1251(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        text[i] = QChar(decoded(static_cast<unsigned char>(bytes.at(i))));
    }
    return text;
}
