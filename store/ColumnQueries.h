#pragma once

#include <QSet>
#include <QString>
#include <QVariant>

class Database;

// The distinct values of one column, folded for lookups that ignore letter case, read in one pass.
QSet<QString> foldedColumnValues(Database& db, const QString& table, const QString& field);

// The value of `field` in the last row (highest ID) whose `keyField` equals `key`; null when there is none.
QVariant lastValueWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                        const QVariant& key);

// The number of rows whose `keyField` equals `key`. Raises StoreError on an engine error.
qint64 rowCountWhere(Database& db, const QString& table, const QString& keyField, const QVariant& key);

// The number of groups of equal `field` values among the rows whose `keyField` equals `key`, the empty values
// making a group of their own. Raises StoreError on an engine error, a missing column among them.
qint64 groupCountWhere(Database& db, const QString& table, const QString& field, const QString& keyField,
                       const QVariant& key);
