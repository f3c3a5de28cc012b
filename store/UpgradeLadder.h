#pragma once

#include "store/ContactRows.h"

#include <QList>
#include <QString>

class Database;

// What start-up did to bring the contest folder's tables up to date.
struct FolderUpgrade
{
    QString notice; // for the operator, told once the window is up; empty when there is nothing to tell
    // the worked planned rows that could not be tied to a Journal row when the ties were first made
    QList<StoredContact> untied;
};

// Brings the contest folder up to date, step by step: the Paradox conversion first, then every table
// file to the current version. Raises StoreError when the folder's Paradox tables were refused.
FolderUpgrade upgradeContestFolder(Database& db);
