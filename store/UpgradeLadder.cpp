#include "store/UpgradeLadder.h"

#include "store/ContactTies.h"
#include "store/Database.h"
#include "store/ParadoxConversion.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/TableNames.h"

FolderUpgrade upgradeContestFolder(Database& db)
{
    // Step zero, for the whole folder, keeps its own all-or-nothing record. A refused folder is left exactly as
    // it is: no table of ours may be made beside its Paradox tables.
    const ParadoxConversion conversion = convertParadoxFolder(db.directory());
    if (conversion.outcome == ParadoxConversion::Outcome::Refused) {
        throw StoreError(conversion.message);
    }
    const bool tiesToMake = !db.tableFileExists(kTableTie);
    // then the steps of each table file, in the order Schema.cpp lists them
    EnsureTables(db);
    FolderUpgrade upgrade{conversion.message, {}};
    if (tiesToMake && db.tableFileExists(kTableTie)) {
        upgrade.untied = untiedWorkedRows(db);
    }
    return upgrade;
}
