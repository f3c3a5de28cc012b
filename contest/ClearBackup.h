#pragma once

#include <QDateTime>
#include <QString>

class Database;

// Before Clear Contest-Table empties the participants and the planned contacts, their tables are copied
// into backup/<yyyy-mm-dd_hhmmss>/ inside the contest folder (local time). Returns that folder relative to
// the contest folder; raises StoreError saying why when the copy cannot be made, and Clear must not go on.
QString BackupBeforeClear(Database& db, const QDateTime& localNow);
