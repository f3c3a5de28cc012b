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
