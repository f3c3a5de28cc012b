#include "store/FolderTable.h"

#include "store/TableNames.h"

#include <array>

namespace
{
constexpr std::array kFolderTables = {FolderTable::Callsign, FolderTable::Contest, FolderTable::Journal};
} // namespace

const QString& folderTableName(FolderTable table)
{
    switch (table) {
    case FolderTable::Callsign:
        return kTableCallsign;
    case FolderTable::Contest:
        return kTableContest;
    case FolderTable::Journal:
        return kTableJournal;
    }
    return kTableJournal; // not reached: -Wswitch asks for every table above
}

std::optional<FolderTable> folderTable(const QString& name)
{
    for (const FolderTable table : kFolderTables) {
        if (folderTableName(table).compare(name, Qt::CaseInsensitive) == 0) {
            return table;
        }
    }
    return std::nullopt;
}
