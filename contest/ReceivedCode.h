#pragma once

#include <QString>

// What the operator typed for the code received from the other station.
struct ReceivedCode
{
    enum class Status
    {
        Ignored, // fewer than five characters, spaces counted: too short to be a code
        Invalid, // the KI or the serial is not a whole number
        Valid,
    };

    Status status = Status::Ignored;
    // two KI characters, a space, the rest without the spaces typed ("22 015")
    QString code;
};

ReceivedCode parseReceivedCode(const QString& typed);

// A whole number in decimal (optional sign) within 32 bits, or hexadecimal after "$", "x", "X", "0x" or
// "0X" up to FFFFFFFF; leading spaces allowed, nothing after the digits.
bool isIntegerText(const QString& text);

// The exchange sent to the other station: the KI (two digits at least from 0 to 9), a space and the serial
// with at least three digits.
QString sentExchange(qint64 ki, qint64 serial);

// The Journal's KI of a received code: its first two characters, padded with blanks when shorter.
QString journalKi(const QString& receivedCode);
