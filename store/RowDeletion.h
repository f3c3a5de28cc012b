#pragma once

#include <QString>

class Database;

// Deletes every row of the table; its open views are told. Raises StoreError on an engine error or a refused
// write. The caller holds the transaction when several tables must be emptied together.
void deleteAllRows(Database& db, const QString& table);
