#pragma once

#include <QString>

#include <optional>

class Database;

// The serial number sent in the last contact of this contest with this KI ("22 015" gives 15), if
// there is one. The serial handed out next must be above it, even after a crash that lost the saved
// settings; a Journal of another contest or KI leaves the serial to the operator.
std::optional<int> lastSentSerial(Database& db, int contestNumber, qint64 ki);
