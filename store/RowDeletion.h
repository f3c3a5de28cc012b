#pragma once

#include "store/FolderTable.h"

#include <QtGlobal>

class Database;

// Deletes every row of the table (Contest with every tie); its open views are told. Raises StoreError on an engine
// error or a refused write. The caller holds the transaction when several tables must be emptied together.
void deleteAllRows(Database& db, FolderTable table);

// Deletes the row with this id, whichever view shows it or none; the open views of the table follow. A
// Journal row takes its contact's frequency and tie with it, a Contest row its tie.
void deleteRowById(Database& db, FolderTable table, qint64 id);
