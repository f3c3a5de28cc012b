#include "contest/ClearBackup.h"

#include "store/Database.h"
#include "store/TableCopy.h"
#include "store/TableNames.h"

#include <QDir>

QString BackupBeforeClear(Database& db, const QDateTime& localNow)
{
    const QDir contestFolder(db.directory());
    const QString stamp = localNow.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    // two clears within one second keep both copies
    QString relative = kBackupFolder + u'/' + stamp;
    for (int n = 2; contestFolder.exists(relative); ++n) {
        relative = kBackupFolder + u'/' + stamp + u'-' + QString::number(n);
    }
    copyTableFiles(db, {kTableCallsign, kTableContest}, contestFolder.absoluteFilePath(relative));
    return relative;
}
