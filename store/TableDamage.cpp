#include "store/TableDamage.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableCopy.h"
#include "store/TableNames.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace
{

// whether reading from this id on gets a first row (or finds none): the read does not run into damage
bool readsFrom(Statement& seek, qint64 id)
{
    seek.reset();
    seek.bind(1, id);
    try {
        seek.step();
        return true;
    } catch (const StoreError&) {
        return false;
    }
}
} // namespace

qint64 readableRowCount(Database& db, const QString& table)
{
    const QString from =
        QStringLiteral("SELECT %2 FROM %1.%1 WHERE %2 >= ? ORDER BY %2").arg(quoteIdentifier(table), kFieldId);
    Statement scan = db.prepareOn(table, from);
    Statement seek = db.prepareOn(table, from + QStringLiteral(" LIMIT 1"));
    constexpr qint64 kLargest = std::numeric_limits<qint64>::max();
    qint64 rows = 0;
    // ids count up from 1: the look-ahead below would step over the whole table from the lowest id there is
    qint64 start = 0;
    for (;;) {
        qint64 failed = start;
        scan.reset();
        scan.bind(1, start);
        try {
            while (scan.step()) {
                ++rows;
                failed = scan.column(0).toLongLong() + 1;
            }
            return rows;
        } catch (const StoreError&) {
        }
        // The damaged part begins at `failed`: reads work again past it. Look ahead in growing steps, then
        // narrow down to where they start to work, so as few readable rows as possible are passed over.
        qint64 bad = failed;
        qint64 good = 0;
        for (qint64 step = 1;; step *= 2) {
            if (bad > kLargest - step) {
                return rows;
            }
            if (readsFrom(seek, bad + step)) {
                good = bad + step;
                break;
            }
            bad += step;
        }
        while (good - bad > 1) {
            const qint64 middle = bad + (good - bad) / 2;
            (readsFrom(seek, middle) ? good : bad) = middle;
        }
        start = good;
    }
}

QStringList backupCopies(const QString& folder, const QString& fileName)
{
    const QDir backup(QDir(folder).filePath(kBackupFolder));
    QStringList copies;
    const QStringList stamps = backup.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString& stamp : stamps) {
        const QString copy = kBackupFolder + u'/' + stamp + u'/' + fileName;
        if (QFileInfo(QDir(folder).filePath(copy)).isFile()) {
            copies.append(copy);
        }
    }
    return copies;
}

QString damageReport(Database& db, const QStringList& damagedTables)
{
    QStringList sound;
    for (const QString& table : db.attachedTables()) {
        if (db.passedCheck(table)) {
            sound.append(QFileInfo(db.tableFilePath(table)).fileName());
        }
    }
    sound.sort(Qt::CaseInsensitive);
    QStringList paragraphs;
    for (const QString& table : damagedTables) {
        const QString file = QFileInfo(db.tableFilePath(table)).fileName();
        QString readable = QStringLiteral("none of its rows");
        try {
            if (const qint64 rows = readableRowCount(db, table); rows > 0) {
                readable = QStringLiteral("%1 of its rows, shown in the grids").arg(rows);
            }
        } catch (const StoreError& error) {
            readable = QStringLiteral("none of its rows (%1)").arg(error.message());
        }
        if (!sound.isEmpty()) {
            const QString last = sound.takeLast();
            const QString others = sound.join(QStringLiteral(", "));
            readable += others.isEmpty() ? QStringLiteral("; %1 is sound").arg(last)
                                         : QStringLiteral("; %1 and %2 are sound").arg(others, last);
            sound.append(last);
        }
        const QStringList copies = backupCopies(db.directory(), file);
        const QString copiesText = copies.isEmpty()
            ? QStringLiteral("There is no copy of it under %1/.").arg(kBackupFolder)
            : QStringLiteral("Copies of it, newest first: %1.").arg(copies.join(QStringLiteral(", ")));
        paragraphs.append(QStringLiteral("%1 is damaged. SQLite's quick check finds: %2\n"
                                         "What still reads: %3.\n"
                                         "Tourlog writes nothing to %1: "
                                         "every command that would change it is refused.\n"
                                         "%4")
                              .arg(file, db.damageFinding(table), readable, copiesText));
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}
