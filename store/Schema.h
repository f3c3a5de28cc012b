#pragma once

class Database;

// The table steps of the upgrade ladder (UpgradeLadder.h): makes each missing table file in the current shape
// and brings each older one up to the current version, step by step. Reports nothing: a step that fails
// leaves its table at the version before it and the table's later steps for the next start; the other
// tables go on, and the view of a table that could not be made fails to open later.
void EnsureTables(Database& db);
