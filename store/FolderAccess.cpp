#include "store/FolderAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <dirent.h>
#include <sys/stat.h>

bool folderCanBeWritten(const QString& directory)
{
    QTemporaryFile probe(QDir(directory).absoluteFilePath(QStringLiteral(".tourlog-probe-XXXXXX")));
    return probe.open();
}

bool folderCanBeRead(const QString& directory)
{
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
}
