#pragma once

#include <QByteArray>
#include <QString>

// Text files of the contest are in code page 1251; a file that is valid UTF-8 is read as UTF-8.
QString decodeTextFile(const QByteArray& bytes);
QString decodeWindows1251(const QByteArray& bytes);
QByteArray encodeWindows1251(const QString& text);
