#pragma once

#include "contest/AsciiText.h"

// Text for the plain-ASCII exports. A Cyrillic letter becomes the Latin letter sent with the same Morse
// code (В W, Ж V, Щ Q, Ь X...), keeping its case; Ё counts as Е. Whatever is still not printable ASCII
// (Ч, Ш, Э, Ю, Я, any other letter, a control character) becomes "?" and marks the text as lossy. This is
// for callsigns and exchanges, which are sent in Morse; free text is transliterated (passportLatin).
AsciiText morseLatin(const QString& text);
