#include "contest/Cp1251.h"

#include "store/StoreError.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace
{
constexpr const char* kCodePageName = "windows-1251";
constexpr char kUnmappable = '?';
constexpr char kSubstitute = '\x1a';

[[noreturn]] void codePageMissing()
{
    throw StoreError(QStringLiteral("The code page %1 is not available").arg(QString::fromLatin1(kCodePageName)));
}
} // namespace

QByteArray toCp1251(const QString& text)
{
    // Most report lines are plain ASCII, which the code page keeps byte for byte; opening a converter for
    // each of them would cost more than the line itself.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        return text.toLatin1();
    }
    QStringEncoder encoder(kCodePageName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        codePageMissing();
    }
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError()) {
        return bytes;
    }
    // ICU puts Ctrl-Z where the code page lacks a character, and older readers take that for the end of
    // the file: encode one character at a time and put "?" there instead. (The converter's error flag
    // stays set once raised, so the substitute byte itself is what tells.)
    bytes.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = encoder.encode(QStringView(text).mid(i, length));
        const bool substituted = one == QByteArray(1, kSubstitute) && text.at(i) != QLatin1Char(kSubstitute);
        bytes += substituted ? QByteArray(1, kUnmappable) : one;
        i += length - 1;
    }
    return bytes;
}

QString fromCp1251(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodePageName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        codePageMissing();
    }
    return decoder.decode(bytes);
}
