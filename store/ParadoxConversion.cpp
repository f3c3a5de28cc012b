#include "store/ParadoxConversion.h"

#include "store/FolderAccess.h"
#include "store/StoreError.h"
#include "store/TableLayouts.h"
#include "store/paradox/ConversionFiles.h"
#include "store/paradox/ConvertedTables.h"
#include "store/paradox/ParadoxLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
// the new table files are made here; the record inside says the conversion is decided
const QString kStagingFolder = QStringLiteral(".paradox-conversion");
const QString kRecordFile = QStringLiteral("converted");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

ParadoxConversion refusal(const QString& text)
{
    ParadoxConversion result;
    result.outcome = ParadoxConversion::Outcome::Refused;
    result.message = text;
    return result;
}

ParadoxConversion refusedUnchanged(const QDir& dir, const QString& reason)
{
    return refusal(QStringLiteral("The Paradox tables of the contest folder %1 were not converted: %2. "
                                  "Nothing was changed; Tourlog opens no table of this folder.")
                       .arg(shown(dir.absolutePath()), reason));
}

struct FoundTables
{
    QStringList paradox; // our table names
    QStringList ours;    // file names
    QStringList foreign; // file names
};

FoundTables findTables(const QDir& dir)
{
    FoundTables found;
    for (const QString& table : contestTableNames()) {
        const QString path = findTableFile(dir, table);
        switch (classifyTableFile(path)) {
        case TableFileKind::Paradox:
            found.paradox.append(table);
            break;
        case TableFileKind::Ours:
            found.ours.append(QFileInfo(path).fileName());
            break;
        case TableFileKind::Foreign:
            found.foreign.append(QFileInfo(path).fileName());
            break;
        case TableFileKind::Missing:
            break;
        }
    }
    return found;
}

NamedParadoxTable readTable(const QDir& dir, const QString& table)
{
    const QString path = findTableFile(dir, table);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw StoreError(QStringLiteral("%1 cannot be read: %2").arg(QFileInfo(path).fileName(), file.errorString()));
    }
    NamedParadoxTable named{table, {}};
    try {
        named.content = readParadoxTable(file.readAll());
        if (const QString problem = paradoxLayoutProblem(table, named.content.header); !problem.isEmpty()) {
            throw StoreError(problem);
        }
    } catch (const StoreError& error) {
        throw StoreError(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), error.message()));
    }
    adoptOurFieldNames(table, named.content.header);
    return named;
}

ParadoxConversion finishConversion(const QDir& dir)
{
    const QString staging = dir.absoluteFilePath(kStagingFolder);
    const QString originals = dir.absoluteFilePath(kParadoxOriginalsFolder);
    const ConversionRecord record = readConversionRecord(QDir(staging).absoluteFilePath(kRecordFile));
    if (!QDir().mkpath(originals)) {
        throw StoreError(QStringLiteral("The folder %1 cannot be made").arg(shown(originals)));
    }
    // each step is skipped once done, so that a start after a crash in the middle carries on from there
    for (const QString& name : record.originals) {
        if (dir.exists(name) && !QFileInfo::exists(QDir(originals).absoluteFilePath(name))) {
            moveFile(dir.absoluteFilePath(name), QDir(originals).absoluteFilePath(name));
        }
    }
    syncFolder(originals);
    syncFolder(dir.absolutePath());
    for (const auto& [table, rows] : record.tables) {
        const QString staged = QDir(staging).absoluteFilePath(table + QStringLiteral(".db"));
        if (QFileInfo::exists(staged)) {
            moveFile(staged, dir.absoluteFilePath(QFileInfo(staged).fileName()));
        }
    }
    syncFolder(dir.absolutePath());
    QDir(staging).removeRecursively();

    ParadoxConversion result;
    result.outcome = ParadoxConversion::Outcome::Converted;
    result.tables = record.tables;
    result.originalsFolder = originals;
    QStringList counts;
    for (const auto& [table, rows] : record.tables) {
        const QString unit = rows == 1 ? QStringLiteral("row") : QStringLiteral("rows");
        counts.append(QStringLiteral("%1 (%2 %3)").arg(table).arg(rows).arg(unit));
    }
    result.message = QStringLiteral("The Paradox tables of this contest folder were converted into tables of Tourlog, "
                                    "every row kept: %1. The original files are kept unchanged in %2.")
                         .arg(counts.join(QStringLiteral(", ")), shown(originals));
    return result;
}
} // namespace

ParadoxConversion prepareParadoxConversion(const QString& folder)
{
    const QDir dir(folder);
    const QString staging = dir.absoluteFilePath(kStagingFolder);
    if (QFileInfo::exists(QDir(staging).absoluteFilePath(kRecordFile))) {
        ParadoxConversion decided;
        decided.outcome = ParadoxConversion::Outcome::Converted;
        return decided;
    }
    const FoundTables found = findTables(dir);
    if (found.paradox.isEmpty()) {
        return {};
    }
    // tables made by an attempt that did not get to its record are of no use
    if (QFileInfo::exists(staging) && !QDir(staging).removeRecursively()) {
        return refusedUnchanged(dir,
                                QStringLiteral("the unfinished attempt in %1 cannot be removed").arg(shown(staging)));
    }
    QStringList paradoxFiles;
    for (const QString& table : found.paradox) {
        paradoxFiles.append(QFileInfo(findTableFile(dir, table)).fileName());
    }
    if (!found.ours.isEmpty()) {
        // cannot happen through Tourlog: which of the two is the operator's log cannot be told
        return refusedUnchanged(
            dir,
            QStringLiteral("it holds Paradox tables (%1) beside table files of Tourlog (%2)")
                .arg(paradoxFiles.join(QStringLiteral(", ")), found.ours.join(QStringLiteral(", "))));
    }
    if (!found.foreign.isEmpty()) {
        return refusedUnchanged(dir,
                                QStringLiteral("%1 is neither a Paradox table nor a table file of Tourlog")
                                    .arg(found.foreign.join(QStringLiteral(", "))));
    }
    QList<NamedParadoxTable> tables;
    ConversionRecord record;
    try {
        for (const QString& table : found.paradox) {
            tables.append(readTable(dir, table));
            record.tables.append({table, int(tables.last().content.rows.size())});
            record.originals += paradoxCompanionFiles(dir, paradoxFiles.at(tables.size() - 1));
        }
    } catch (const StoreError& error) {
        return refusedUnchanged(dir, error.message());
    }
    const QDir originals(dir.absoluteFilePath(kParadoxOriginalsFolder));
    for (const QString& name : std::as_const(record.originals)) {
        if (originals.exists(name)) {
            return refusedUnchanged(dir,
                                    QStringLiteral("%1 is already there").arg(shown(originals.absoluteFilePath(name))));
        }
    }
    if (!folderCanBeWritten(dir.absolutePath())) {
        return refusedUnchanged(
            dir, QStringLiteral("the folder is read-only (%1)").arg(paradoxFiles.join(QStringLiteral(", "))));
    }
    try {
        if (!QDir().mkpath(staging)) {
            throw StoreError(QStringLiteral("the folder %1 cannot be made").arg(shown(staging)));
        }
        writeConvertedTables(staging, tables);
        writeConversionRecord(QDir(staging).absoluteFilePath(kRecordFile), record);
    } catch (const StoreError& error) {
        QDir(staging).removeRecursively();
        return refusedUnchanged(dir, error.message());
    }
    ParadoxConversion decided;
    decided.outcome = ParadoxConversion::Outcome::Converted;
    return decided;
}

ParadoxConversion convertParadoxFolder(const QString& folder)
{
    ParadoxConversion prepared = prepareParadoxConversion(folder);
    if (prepared.outcome != ParadoxConversion::Outcome::Converted) {
        return prepared;
    }
    try {
        return finishConversion(QDir(folder));
    } catch (const StoreError& error) {
        return refusal(QStringLiteral("The conversion of the Paradox tables of the contest folder %1 could not be "
                                      "finished: %2. Every row is kept; the next start carries it on.")
                           .arg(shown(QDir(folder).absolutePath()), error.message()));
    }
}
