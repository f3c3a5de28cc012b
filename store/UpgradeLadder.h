#pragma once

#include <QString>

class Database;

// What start-up did to bring the contest folder's tables up to date.
struct FolderUpgrade
{
    QString notice; // for the operator, told once the window is up; empty when there is nothing to tell
};

// Brings the contest folder up to date, step by step: the Paradox conversion first, then every table
// file to the current version. Raises StoreError when the folder's Paradox tables were refused.
FolderUpgrade upgradeContestFolder(Database& db);
