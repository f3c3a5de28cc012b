#pragma once

#include <QString>

// What this process may do in a contest folder, found by trying rather than from the permission bits:
// those say nothing of read-only media, and root is not bound by them.
// The folder can be written if a file can be made in it (the file is removed at once).
bool folderCanBeWritten(const QString& directory);
// The folder can be read if it can be listed and entered.
bool folderCanBeRead(const QString& directory);
