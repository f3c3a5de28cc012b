#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text files that other programs read and write (the report, the participant list, the tables of an
// older contest folder) use the single-byte Windows code page 1251. Conversion goes only through here,
// by a table of our own: Qt reaches other code pages through ICU, which a Windows build does not carry.

// A character the code page lacks becomes "?": Ctrl-Z, which converters put there, would read as the end
// of the file to older readers.
QByteArray toCp1251(const QString& text);

QString fromCp1251(QByteArrayView bytes);
