#pragma once

#include <QString>

// Text made plain ASCII for the exports; lossy when something had no ASCII form and became "?".
struct AsciiText
{
    QString text;
    bool lossy = false;
};
