#pragma once

#include "store/FieldDef.h"

#include <QVariant>

// Converts a value given by the logic or the operator into what the field stores. Text for a Char(n)
// field is cut to n characters; a value that does not fit the field's kind raises StoreError.
QVariant toStoredValue(const FieldDef& field, const QVariant& value);

// Converts what SQLite returns into the field's kind: QDate, QTime, int, bool or QString.
QVariant fromStoredValue(const FieldDef& field, const QVariant& raw);

// Parses a time of day as the operator or a stored value writes it (H:mm, H:mm:ss, H:mm:ss.zzz).
QTime timeOfDayFromText(const QString& text);

// Cuts text to n characters, never splitting a character that takes two UTF-16 units.
QString cutToCharacters(const QString& text, int n);
