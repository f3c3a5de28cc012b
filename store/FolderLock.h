#pragma once

#include <QLockFile>
#include <QString>

// Only one copy of the program may work in a contest folder: two would hand out the same serial
// numbers. The lock of a copy that crashed is taken over, since its process is gone.
class FolderLock
{
public:
    explicit FolderLock(const QString& directory);

    bool acquired() const { return m_acquired; }
    // Not locked because the folder can be read but not written: it is opened read-only, and needs no
    // lock, since no copy of the program can change it.
    bool readOnlyFolder() const { return m_readOnlyFolder; }
    // why the folder could not be locked, for the operator
    QString refusal() const;

private:
    QString m_directory;
    QLockFile m_lock;
    bool m_acquired = false;
    bool m_readOnlyFolder = false;
};
