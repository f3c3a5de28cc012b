#pragma once

#include <QDate>

// Instants are counted in days from this date, the fraction being the time of day; an empty date
// stands for it.
inline const QDate kDayZero(1899, 12, 30);
