#include "store/paradox/ConversionFiles.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "store/paradox/ParadoxHeader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{
constexpr QByteArrayView kSqliteMagic("SQLite format 3\0", 16);
constexpr qint64 kHeadBytes = 0x78 + 2 * 255; // a Paradox header up to its last field descriptor
const QString kTableLine = QStringLiteral("table");
const QString kOriginalLine = QStringLiteral("original");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

QString findTableFile(const QDir& dir, const QString& table)
{
    const QString wanted = table + QString::fromLatin1(Database::kTableFileSuffix);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0) {
            return dir.absoluteFilePath(entry);
        }
    }
    return {};
}

TableFileKind classifyTableFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.exists() || file.size() == 0) {
        return TableFileKind::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return TableFileKind::Foreign;
    }
    // the header is all that tells, and a table of ours may be large: it is read at every start
    const QByteArray bytes = file.read(kHeadBytes);
    if (bytes.startsWith(kSqliteMagic)) {
        return TableFileKind::Ours;
    }
    return looksLikeParadoxTable(bytes) ? TableFileKind::Paradox : TableFileKind::Foreign;
}

QStringList paradoxCompanionFiles(const QDir& dir, const QString& dbFileName)
{
    // .PX primary index, .VAL validity checks, .TV view settings, .MB memos, .XGn/.YGn and .Xnn/.Ynn
    // secondary indexes; an SQLite journal beside the file is none of them
    static const QRegularExpression companion(QStringLiteral("^(db|px|val|tv|mb|[xy]g[0-9a-f]|[xy][0-9a-f]{2})$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString base = QFileInfo(dbFileName).completeBaseName();
    QStringList files;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QFileInfo info(entry);
        if (info.completeBaseName().compare(base, Qt::CaseInsensitive) == 0
            && companion.match(info.suffix()).hasMatch()) {
            files.append(entry);
        }
    }
    return files;
}

void moveFile(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to)) {
        throw StoreError(QStringLiteral("%1 cannot be moved to %2: a file of that name is already there")
                             .arg(shown(from), shown(to)));
    }
    QFile file(from);
    if (!file.rename(to)) {
        throw StoreError(
            QStringLiteral("%1 cannot be moved to %2: %3").arg(shown(from), shown(to), file.errorString()));
    }
}

void syncFolder(const QString& path)
{
#ifdef Q_OS_WIN
    // Windows has no sync for a folder: NTFS writes its names through its own journal.
    Q_UNUSED(path)
#else
    // Best effort, as SQLite's own folder sync: some file systems cannot sync a folder, and refusing the
    // conversion there would leave the operator stuck for no gain.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        const int synced = ::fsync(fd);
        Q_UNUSED(synced)
        ::close(fd);
    }
#endif
}

namespace
{
bool syncFile(QFile& file)
{
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}
} // namespace

void writeConversionRecord(const QString& path, const ConversionRecord& record)
{
    QByteArray text;
    for (const auto& [table, rows] : record.tables) {
        text += (kTableLine + u'\t' + table + u'\t' + QString::number(rows) + u'\n').toUtf8();
    }
    for (const QString& original : record.originals) {
        text += (kOriginalLine + u'\t' + original + u'\n').toUtf8();
    }
    const QString partial = path + QStringLiteral(".partial");
    QFile file(partial);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size()
        && file.flush() && syncFile(file);
    file.close();
    if (!written) {
        throw StoreError(QStringLiteral("%1 cannot be written: %2").arg(shown(partial), file.errorString()));
    }
    moveFile(partial, path);
    syncFolder(QFileInfo(path).absolutePath());
}

ConversionRecord readConversionRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw StoreError(QStringLiteral("%1 cannot be read: %2").arg(shown(path), file.errorString()));
    }
    ConversionRecord record;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList parts = line.split(u'\t');
        bool number = false;
        if (parts.size() == 3 && parts.at(0) == kTableLine) {
            record.tables.append({parts.at(1), parts.at(2).toInt(&number)});
        } else if (parts.size() == 2 && parts.at(0) == kOriginalLine) {
            record.originals.append(parts.at(1));
            number = true;
        }
        if (!number) {
            throw StoreError(QStringLiteral("%1 is damaged").arg(shown(path)));
        }
    }
    return record;
}
