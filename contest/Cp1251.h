#pragma once

#include <QByteArray>
#include <QString>

// Text files that other programs read and write (the report, the participant list) use the single-byte
// Windows code page 1251. Conversion goes through Qt's ICU-backed converters, and only through here.

// A character the code page lacks becomes "?". Raises StoreError if the code page is not available.
QByteArray toCp1251(const QString& text);

// Raises StoreError if the code page is not available.
QString fromCp1251(const QByteArray& bytes);
