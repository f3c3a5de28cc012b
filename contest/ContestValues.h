#pragma once

#include "contest/ReceivedCode.h"

#include <QString>

// What the operator has set for the contest at this moment: the sent exchange (KI and serial), the contest
// number and the number of tours. The window sets them as its fields change, so an operation reads them
// as they are when each is used: a prompt is modal, and the fields may change while it is open.
struct ContestValues
{
    int ki = 0;
    int serial = 1;
    int contestNumber = 1;
    int tours = 1;
};

// "22 015": the KI and the serial, as the next contact sends them
inline QString sentExchange(const ContestValues& values)
{
    return sentExchange(values.ki, values.serial);
}
