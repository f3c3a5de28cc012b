#include "contest/ParticipantCopies.h"

#include "contest/Participants.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableCopy.h"
#include "store/TableNames.h"
#include "store/TableRestore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace
{
// the stamp Clear gives its copy, before any "-2" that keeps two copies of one second apart
const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HHmmss");

QDateTime madeAt(const QFileInfo& folder)
{
    const QDateTime stamped = QDateTime::fromString(folder.fileName().left(kStampFormat.size()), kStampFormat);
    return stamped.isValid() ? stamped : folder.lastModified();
}

CopiedRows countIn(const QString& folder, const QString& table, const QString& field)
{
    const QString file = copiedTableFile(folder, table);
    return file.isEmpty() ? CopiedRows{} : countCopiedRows(file, table, field);
}
} // namespace

QList<ParticipantCopy> participantCopies(const QString& contestFolder)
{
    const QDir backup(QDir(contestFolder).filePath(kBackupFolder));
    QList<ParticipantCopy> copies;
    const QFileInfoList folders = backup.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        const QString path = folder.absoluteFilePath();
        if (copiedTableFile(path, kTableCallsign).isEmpty() && copiedTableFile(path, kTableContest).isEmpty()) {
            continue;
        }
        ParticipantCopy copy;
        copy.folder = kBackupFolder + u'/' + folder.fileName();
        copy.made = madeAt(folder);
        try {
            copy.participants = countIn(path, kTableCallsign, kFieldCallSign).rows;
            const CopiedRows contest = countIn(path, kTableContest, kFieldTime);
            copy.planned = contest.rows;
            copy.worked = contest.withField;
        } catch (const StoreError& error) {
            copy.problem = error.message();
        }
        copies.append(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const ParticipantCopy& a, const ParticipantCopy& b) {
        return a.made != b.made ? a.made > b.made : a.folder > b.folder;
    });
    return copies;
}

KeyedTies RestoreParticipants(Database& db, const ParticipantViews& views, const QString& copyFolder)
{
    KeyedTies ties;
    RewriteParticipants(db, views, [&] {
        // the planned rows that come back are new rows to the Journal: they are tied anew, and a contact made
        // since the copy marks its planned row worked, so that the two tables agree
        restoreTableFiles(db, {kTableCallsign, kTableContest}, copyFolder,
                          [&] { ties = tieByKey(db, TieMatching::MarkWorked); });
    });
    return ties;
}
