#pragma once

#include <QString>
#include <QStringList>

class Database;

// How many rows of an attached table still read, in the order of their ids: a damaged part of the file is
// stepped over and the rows after it are counted too, as the views show them.
qint64 readableRowCount(Database& db, const QString& table);

// The copies of a table file under backup/<yyyy-mm-dd_hhmmss>/ in the contest folder, newest first, as
// paths relative to the folder.
QStringList backupCopies(const QString& folder, const QString& fileName);

// One message for the operator about the damaged tables: for each file what the quick check found, what
// still reads, and the copies under backup/ if there are any.
QString damageReport(Database& db, const QStringList& damagedTables);
