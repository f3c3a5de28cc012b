#pragma once

#include <QString>

// An SQLite file layer over the default one that keeps, for the files of one folder, what the disk itself
// holds: the bytes of a file as of its last sync, its writes since then, and the folder's entries (files
// created or deleted) as of the folder's last sync. At a chosen step the power goes: every later write,
// sync or deletion fails, and what the disk keeps can be put back into the folder for the next start.
namespace PowerCutVfs
{
constexpr const char* kName = "tourlog-powercut";

enum class Loss
{
    // nothing that was not synced reaches the disk
    AllUnsynced,
    // a random part of the unsynced sectors and folder entries reaches it, in any order
    RandomPart,
};

void registerOnce();

// From now on the folder's files as they are count as safely on disk, and every write, truncation, sync
// and deletion of one of them is a step. The power goes just before step `cutAfterSteps` + 1; a
// negative count never cuts. The seed makes a random loss repeat.
void arm(const QString& folder, long long cutAfterSteps, Loss loss, quint32 seed);
// steps taken since arm()
long long steps();
bool powerIsGone();
// the power goes now, if it has not gone yet
void cutNow();
// Puts what the disk kept into the folder and stops watching it. Every connection to it must be closed.
void restoreAfterCut();
// Stops watching without a cut: the folder stays as the program left it.
void disarm();
} // namespace PowerCutVfs
