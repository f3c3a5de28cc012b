#include "store/TextHelpers.h"

QString ReplaceAll(const QString& text, const QString& pattern, const QString& replacement)
{
    if (pattern.isEmpty()) {
        return text;
    }
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(pattern, from, Qt::CaseSensitive);
        if (at < 0) {
            result += QStringView(text).mid(from);
            return result;
        }
        result += QStringView(text).mid(from, at - from);
        result += replacement;
        from = at + pattern.size();
    }
}

QString RemoveChar(const QString& text, QChar character)
{
    QString result = text;
    result.remove(character, Qt::CaseSensitive);
    return result;
}

QString RemoveSpaces(const QString& text)
{
    return RemoveChar(text, u' ');
}

QString RepeatChar(QChar character, int count)
{
    return count > 0 ? QString(count, character) : QString();
}

QString PadLeftWith(QChar character, const QString& text, int width)
{
    return text.size() < width ? RepeatChar(character, int(width - text.size())) + text : text;
}

QString PadRightWith(QChar character, const QString& text, int width)
{
    return text.size() < width ? text + RepeatChar(character, int(width - text.size())) : text;
}

QString PadLeft(const QString& text, int width)
{
    return PadLeftWith(u' ', text, width);
}

QString PadRight(const QString& text, int width)
{
    return PadRightWith(u' ', text, width);
}

QVariant ChooseValue(bool flag, const QVariant& first, const QVariant& second)
{
    return flag ? first : second;
}

QString ZeroPadded(qint32 value, int width)
{
    return ReplaceAll(PadLeft(QString::number(value), width), QStringLiteral(" "), QStringLiteral("0"));
}
