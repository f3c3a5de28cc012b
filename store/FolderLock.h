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
    // why the folder could not be locked, for the operator
    QString refusal() const;

private:
    QString m_directory;
    QLockFile m_lock;
    bool m_acquired = false;
};
