#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What a table file in a contest folder holds, by its first bytes.
enum class TableFileKind
{
    Missing, // absent, or 0 bytes: a table whose creation was interrupted
    Ours,    // an SQLite file
    Paradox,
    Foreign,
};

// The table's file in the folder, found without regard to case; empty when there is none.
QString findTableFile(const QDir& dir, const QString& table);
TableFileKind classifyTableFile(const QString& path);

// The files that belong to a Paradox table beside its .db (index, validity checks, memos), the .db included.
QStringList paradoxCompanionFiles(const QDir& dir, const QString& dbFileName);

// Renames a file, never replacing one; throws StoreError naming both.
void moveFile(const QString& from, const QString& to);
// Flushes a folder's entries to disk where the file system can, so that the renames in it survive a power cut.
void syncFolder(const QString& path);

// The record of a decided conversion, written whole and synced before it is put in place by a rename.
struct ConversionRecord
{
    QList<QPair<QString, int>> tables; // table, rows
    QStringList originals;             // file names in the contest folder
};
void writeConversionRecord(const QString& path, const ConversionRecord& record);
// throws StoreError when the record cannot be read
ConversionRecord readConversionRecord(const QString& path);
