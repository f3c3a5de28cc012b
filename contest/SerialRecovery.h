#pragma once

#include <optional>

class Database;

// The serial number sent in the last contact of the Journal ("22 015" gives 15), if there is one.
// The serial handed out next must be above it, even after a crash that lost the saved settings.
std::optional<int> lastSentSerial(Database& db);
