#pragma once

#include <QString>
#include <QVariant>

class Database;

constexpr int kNoValue = -1;
constexpr int kQueryFailed = -2;

// Runs one statement, ignoring an engine error; with busy set the busy cursor shows meanwhile.
// Returns whether the statement ran, for callers that must not stay silent.
bool RunSql(Database& db, const QString& sql, bool busy = true);

// The first field of the first row, typed as the field; kNoValue when there is no row or the field is
// null, kQueryFailed when the engine rejects the statement.
QVariant QuerySingleValue(Database& db, const QString& sql);
