#include "store/FolderAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <sys/stat.h>
#endif

bool folderCanBeWritten(const QString& directory)
{
    QTemporaryFile probe(QDir(directory).absoluteFilePath(QStringLiteral(".tourlog-probe-XXXXXX")));
    return probe.open();
}

bool folderCanBeRead(const QString& directory)
{
#ifdef Q_OS_WIN
    // Windows has no separate right to pass through a folder: one that can be listed can be read.
    const QDir folder(directory);
    return folder.exists() && folder.isReadable();
#else
    const QByteArray path = QFile::encodeName(QDir(directory).absolutePath());
    DIR* listing = ::opendir(path.constData());
    if (!listing) {
        return false;
    }
    ::closedir(listing);
    struct stat info
    {
    };
    const QByteArray inside = path + "/.";
    return ::stat(inside.constData(), &info) == 0;
#endif
}
