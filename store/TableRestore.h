#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Database;

// The file of a table in a folder of copies, found without regard to case; empty when it has none.
QString copiedTableFile(const QString& folder, const QString& table);

// How many rows the table holds in a copied table file, and how many of them have `field` set. The file is
// only read. Raises StoreError when it is not a readable table file of that table.
struct CopiedRows
{
    qint64 rows = 0;
    qint64 withField = 0;
};
CopiedRows countCopiedRows(const QString& file, const QString& table, const QString& field);

// Puts the rows of each table back as its copy in `folder` holds them, all tables in one transaction: a
// failure anywhere leaves every table as it was and raises StoreError. A table with no file in the copy had
// none when the copy was made and is emptied. Only the columns the copy shares with the table are filled, so
// a copy made before an upgrade of the table still goes back. The open views of the tables are told.
// `alongside`, when given, runs in the same transaction once the rows are back.
void restoreTableFiles(Database& db, const QStringList& tables, const QString& folder,
                       const std::function<void()>& alongside = {});
