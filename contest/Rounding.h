#pragma once

#include <cmath>

// Rounds to the nearest whole number, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// nearbyint follows the floating-point rounding mode, which nothing in the program changes from
// round-to-nearest-even; adding 0.0 turns a -0 result into 0 so that it never prints as "-0".
inline double roundHalfToEven(double value)
{
    return std::nearbyint(value) + 0.0;
}
