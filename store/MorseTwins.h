#pragma once

#include <QChar>

// The Latin letter sent with the same Morse code as a Cyrillic one (В W, Ж V, Щ Q, Ь X...), in the same
// case; Ё counts as Е. A null QChar for any other character, Ч Ш Э Ю Я among them: they have no twin.
QChar morseLatinTwin(QChar ch);
