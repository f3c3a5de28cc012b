#pragma once

#include <QString>

#include <optional>

// The contest folder's tables as the store's change signals name them: a receiver compares the value, not a
// spelling of the table's name.
enum class FolderTable
{
    Callsign,
    Contest,
    Journal,
};

// the table's name, as store/TableNames.h spells it
const QString& folderTableName(FolderTable table);

// The folder's table of this name, if it is one of them. SQL names are blind to case, and so is this: a
// statement may spell a table as it likes.
std::optional<FolderTable> folderTable(const QString& name);
