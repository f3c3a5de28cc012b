#pragma once

#include "contest/AsciiText.h"

// Free text (names, addresses, the soapbox) for the plain-ASCII exports: Russian letters as Russian
// passports write them (ICAO Doc 9303: Ж zh, Х kh, Ц ts, Щ shch, Ъ ie, Ю iu, Я ia, Ь left out, Ё as Е).
// A capital stays one: "Щорса" gives "Shchorsa", a word in capitals stays in capitals. Russian quotes
// and dashes become their ASCII forms; whatever else is not printable ASCII becomes "?" and marks the
// text as lossy.
AsciiText passportLatin(const QString& text);
