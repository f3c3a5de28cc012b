#include "store/FolderLock.h"

#include "store/FolderAccess.h"

#include <QDir>

namespace
{
const QString kLockFileName = QStringLiteral(".tourlog.lock");
}

FolderLock::FolderLock(const QString& directory)
    : m_directory(QDir(directory).absolutePath())
    , m_lock(QDir(directory).absoluteFilePath(kLockFileName))
{
    m_lock.setStaleLockTime(0);
    m_acquired = m_lock.tryLock(0);
    m_readOnlyFolder = !m_acquired && m_lock.error() != QLockFile::LockFailedError && folderCanBeRead(m_directory)
        && !folderCanBeWritten(m_directory);
}

QString FolderLock::refusal() const
{
    if (m_acquired) {
        return {};
    }
    if (m_lock.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString application;
        m_lock.getLockInfo(&pid, &host, &application);
        return QStringLiteral("Tourlog is already running in the folder %1 (process %2). "
                              "Two copies in one folder would hand out the same serial numbers.")
            .arg(QDir::toNativeSeparators(m_directory))
            .arg(pid);
    }
    return QStringLiteral("Cannot lock the folder %1: it cannot be written to.")
        .arg(QDir::toNativeSeparators(m_directory));
}
