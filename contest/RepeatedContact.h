#pragma once

#include "store/ContactRows.h"

#include <QString>

#include <optional>

class Database;

// The worked contact that a contact of this key on the planned row `row` would repeat: a station is worked once
// per contest, band, mode and tour, whichever of its planned rows carries it.
std::optional<StoredContact> repeatedContact(Database& db, const ContactKey& key, qint64 row);
// names the worked contact and the rule, for a refusal
QString repeatedContactText(const StoredContact& worked);
