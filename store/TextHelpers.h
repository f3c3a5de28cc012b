#pragma once

#include <QString>
#include <QVariant>

// Small pure routines on text; each returns a new value and changes neither argument.
QString ReplaceAll(const QString& text, const QString& pattern, const QString& replacement);
QString RemoveChar(const QString& text, QChar character);
QString RemoveSpaces(const QString& text);
QString RepeatChar(QChar character, int count);
QString PadLeftWith(QChar character, const QString& text, int width);
QString PadRightWith(QChar character, const QString& text, int width);
QString PadLeft(const QString& text, int width);
QString PadRight(const QString& text, int width);
QVariant ChooseValue(bool flag, const QVariant& first, const QVariant& second);
QString ZeroPadded(qint32 value, int width);
