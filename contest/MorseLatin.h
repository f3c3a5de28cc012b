#pragma once

#include <QString>

// Text for the plain-ASCII exports. A Cyrillic letter becomes the Latin letter sent with the same Morse
// code (В W, Ж V, Щ Q, Ь X...), keeping its case; Ё counts as Е. Whatever is still not printable ASCII
// (Ч, Ш, Э, Ю, Я, any other letter, a control character) becomes "?" and marks the text as lossy.
struct AsciiText
{
    QString text;
    bool lossy = false;
};

AsciiText morseLatin(const QString& text);
