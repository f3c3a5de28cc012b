#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

// The distinct values of one column, folded for lookups that ignore letter case, read in one pass.
QSet<QString> foldedColumnValues(Database& db, const QString& table, const QString& field);

// Every value of one column, in the order of the rows' IDs.
QStringList columnValuesById(Database& db, const QString& table, const QString& field);

// The value of `field` in the last row (highest ID) whose `keyField` equals `key`; null when there is none.
QVariant lastValueWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                        const QVariant& key);

// The rows whose `keyField` equals `key`, and the number of groups of equal `field` values among them, the
// empty values making a group of their own.
struct GroupCount
{
    qint64 rows = 0;
    qint64 groups = 0;
};

// Counted in one pass over the rows. Raises StoreError on an engine error, a missing column among them.
GroupCount groupCountWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                           const QVariant& key);
