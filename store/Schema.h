#pragma once

class Database;

// Creates each missing table and upgrades an older Journal that lacks KI. Reports nothing: a statement
// that fails is ignored, and the view of a table that could not be made fails to open later.
void EnsureTables(Database& db);
