#include "contest/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{
const char* const kCodePage = "windows-1251";
}

QString decodeWindows1251(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray encodeWindows1251(const QString& text)
{
    // a character the code page lacks becomes "?", never a lost line
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Default);
    return encoder.encode(text);
}

QString decodeTextFile(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    }
    return decodeWindows1251(bytes);
}
