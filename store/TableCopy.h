#pragma once

#include <QString>
#include <QStringList>

class Database;

// The folder inside a contest folder that holds copies of its tables, one subfolder for each copy.
inline const QString kBackupFolder = QStringLiteral("backup");

// Copies the file of each table that exists into `folder` (made if missing) through SQLite's online
// backup: the copy is one consistent snapshot of the table and is synced to disk before this returns, so it
// opens as a table file of its own. Throws StoreError naming what could not be copied; the copies made so
// far are removed again, so a half set is never left to be put back.
void copyTableFiles(Database& db, const QStringList& tables, const QString& folder);
