#pragma once

#include <QString>

#include <array>

// The operator's eight CW messages, sent with F1..F8. A message is text with placeholders, filled in when
// its key is pressed, so that what is sent is what the operator saw then, however long it waits for the keyer.
constexpr int kCwMessageCount = 8;
using CwMessageTexts = std::array<QString, kCwMessageCount>;

// the message that carries the exchange, sent by itself when the entry prompt opens on a CW row
constexpr int kExchangeMessage = 1;

// {MYCALL}: the own callsign; {EXCH}: the exchange as the large panel shows it ("22 015");
// {CALL}: the callsign of the current row; {NR}: the serial alone ("015").
CwMessageTexts defaultCwMessages();

struct CwFields
{
    QString myCall;
    int ki = 0;
    int serial = 1;
    QString call;
};

struct CwText
{
    QString text;    // upper case, only what a keyer sends: Latin letters, digits, blanks, Morse punctuation
    QString leftOut; // the characters that have no Morse equivalent, each once, in order of appearance
};

// Cut numbers send the serial's 0 as T and 9 as N. A Cyrillic letter goes as the Latin letter of the
// same Morse code; anything else without a Morse code is left out. Runs of blanks become one blank.
CwText expandCwMessage(const QString& message, const CwFields& fields, bool cutNumbers);

// How long a keyer takes for the text at the speed, by the standard timing (a dot is 1200 / wpm ms).
int morseDurationMs(const QString& text, int wpm);
