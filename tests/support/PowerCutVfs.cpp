#include "support/PowerCutVfs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace
{
// the unit in which a write that was not synced reaches the disk, or does not
constexpr qint64 kSectorSize = 512;

struct Piece
{
    qint64 offset = 0;
    QByteArray bytes;
    bool truncation = false; // then offset is the new size
};

// What one file holds on the disk (as of its last sync) and what was written to it since.
struct Inode
{
    QByteArray synced;
    std::vector<Piece> unsynced;
};
using InodePtr = std::shared_ptr<Inode>;

struct Handle
{
    std::string path;
    InodePtr inode; // null while the file's folder is not watched
    // SQLite's unix layer syncs the folder at the first sync of a journal it created
    bool syncsFolder = false;
};

struct State
{
    bool armed = false;
    bool gone = false;
    std::string folder;      // the watched folder as SQLite names it (symbolic links resolved), with a trailing '/'
    std::string givenFolder; // the same as given, which may differ
    long long steps = 0;
    long long cutAfter = -1;
    PowerCutVfs::Loss loss = PowerCutVfs::Loss::AllUnsynced;
    QRandomGenerator random;
    // the folder's entries as the running program sees them, and as the disk has them
    std::map<std::string, InodePtr> live;
    std::map<std::string, InodePtr> onDisk;
    // what each file holds after the cut; nullopt: the file is not there
    std::map<std::string, std::optional<QByteArray>> afterCut;
    std::map<const sqlite3_file*, Handle> handles;
};

struct PowerCutFile
{
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_vfs g_vfs;
sqlite3_vfs* g_real = nullptr;
sqlite3_io_methods g_methods;
State g_state;

sqlite3_file* real(sqlite3_file* file)
{
    return reinterpret_cast<PowerCutFile*>(file)->real;
}

// One name for each file of the folder, however its folder was spelt.
std::string key(std::string path)
{
    // Windows names the files with backslashes
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string& given = g_state.givenFolder;
    if (given != g_state.folder && path.compare(0, given.size(), given) == 0) {
        return g_state.folder + path.substr(given.size());
    }
    return path;
}

bool watched(const char* path)
{
    if (!g_state.armed || !path) {
        return false;
    }
    const std::string name = key(path);
    return name.compare(0, g_state.folder.size(), g_state.folder) == 0
        && name.find('/', g_state.folder.size()) == std::string::npos;
}

Handle* watchedHandle(sqlite3_file* file)
{
    const auto found = g_state.handles.find(file);
    return found != g_state.handles.end() && found->second.inode ? &found->second : nullptr;
}

void apply(QByteArray& bytes, const Piece& piece)
{
    if (piece.truncation) {
        bytes.resize(piece.offset, '\0');
        return;
    }
    const qint64 end = piece.offset + piece.bytes.size();
    if (bytes.size() < end) {
        bytes.resize(end, '\0');
    }
    std::memcpy(bytes.data() + piece.offset, piece.bytes.constData(), size_t(piece.bytes.size()));
}

// a write reaches the disk sector by sector, each one or not at all
std::vector<Piece> sectors(const Piece& piece)
{
    if (piece.truncation) {
        return {piece};
    }
    std::vector<Piece> parts;
    qint64 offset = piece.offset;
    const qint64 end = piece.offset + piece.bytes.size();
    while (offset < end) {
        const qint64 next = std::min(end, (offset / kSectorSize + 1) * kSectorSize);
        parts.push_back({offset, piece.bytes.mid(offset - piece.offset, next - offset), false});
        offset = next;
    }
    return parts;
}

QByteArray keptBytes(const Inode& inode)
{
    QByteArray bytes = inode.synced;
    if (g_state.loss == PowerCutVfs::Loss::RandomPart) {
        std::vector<Piece> reached;
        for (const Piece& piece : inode.unsynced) {
            for (Piece& part : sectors(piece)) {
                if (g_state.random.bounded(2) == 1) {
                    reached.push_back(std::move(part));
                }
            }
        }
        std::shuffle(reached.begin(), reached.end(), g_state.random);
        for (const Piece& piece : reached) {
            apply(bytes, piece);
        }
    }
    return bytes;
}

std::set<std::string> knownPaths()
{
    std::set<std::string> paths;
    for (const auto& entry : g_state.live) {
        paths.insert(entry.first);
    }
    for (const auto& entry : g_state.onDisk) {
        paths.insert(entry.first);
    }
    return paths;
}

// A sync of the folder writes all its entries: the files created and deleted since are so on the disk.
void syncFolder()
{
    g_state.onDisk = g_state.live;
}

void cut()
{
    g_state.gone = true;
    for (const std::string& path : knownPaths()) {
        const auto live = g_state.live.find(path);
        const auto onDisk = g_state.onDisk.find(path);
        InodePtr kept = onDisk != g_state.onDisk.end() ? onDisk->second : nullptr;
        const InodePtr current = live != g_state.live.end() ? live->second : nullptr;
        if (g_state.loss == PowerCutVfs::Loss::RandomPart && kept != current && g_state.random.bounded(2) == 1) {
            kept = current;
        }
        g_state.afterCut[path] = kept ? std::make_optional(keptBytes(*kept)) : std::nullopt;
    }
}

// Counts one step that changes the disk; false when the power is gone (or goes now) and it must fail.
bool step()
{
    if (g_state.gone) {
        return false;
    }
    if (g_state.steps == g_state.cutAfter) {
        cut();
        return false;
    }
    ++g_state.steps;
    return true;
}

InodePtr snapshot(const std::string& path)
{
    auto inode = std::make_shared<Inode>();
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly)) {
        inode->synced = file.readAll();
    }
    return inode;
}

int cutClose(sqlite3_file* file)
{
    g_state.handles.erase(file);
    return real(file)->pMethods->xClose(real(file));
}

int cutRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}

int cutWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (Handle* handle = watchedHandle(file)) {
        if (!step()) {
            return SQLITE_IOERR_WRITE;
        }
        handle->inode->unsynced.push_back({offset, QByteArray(static_cast<const char*>(buffer), amount), false});
    }
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}

int cutTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    if (Handle* handle = watchedHandle(file)) {
        if (!step()) {
            return SQLITE_IOERR_TRUNCATE;
        }
        handle->inode->unsynced.push_back({size, {}, true});
    }
    return real(file)->pMethods->xTruncate(real(file), size);
}

int cutSync(sqlite3_file* file, int flags)
{
    Handle* handle = watchedHandle(file);
    if (!handle) {
        return real(file)->pMethods->xSync(real(file), flags);
    }
    if (!step()) {
        return SQLITE_IOERR_FSYNC;
    }
    Inode& inode = *handle->inode;
    for (const Piece& piece : inode.unsynced) {
        apply(inode.synced, piece);
    }
    inode.unsynced.clear();
    if (handle->syncsFolder) {
        syncFolder();
        handle->syncsFolder = false;
    }
    // what the disk keeps is modelled here: the real sync would only slow the cuts down
    return SQLITE_OK;
}

int cutFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return real(file)->pMethods->xFileSize(real(file), size);
}

int cutLock(sqlite3_file* file, int level)
{
    return real(file)->pMethods->xLock(real(file), level);
}

int cutUnlock(sqlite3_file* file, int level)
{
    return real(file)->pMethods->xUnlock(real(file), level);
}

int cutCheckReservedLock(sqlite3_file* file, int* out)
{
    return real(file)->pMethods->xCheckReservedLock(real(file), out);
}

int cutFileControl(sqlite3_file* file, int op, void* arg)
{
    return real(file)->pMethods->xFileControl(real(file), op, arg);
}

int cutSectorSize(sqlite3_file* file)
{
    return real(file)->pMethods->xSectorSize(real(file));
}

int cutDeviceCharacteristics(sqlite3_file* file)
{
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}

int cutOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* cutFile = reinterpret_cast<PowerCutFile*>(file);
    cutFile->base.pMethods = nullptr;
    const bool inFolder = watched(name);
    if (inFolder && g_state.gone) {
        return SQLITE_CANTOPEN;
    }
    cutFile->real = reinterpret_cast<sqlite3_file*>(cutFile + 1);
    const int rc = g_real->xOpen(g_real, name, cutFile->real, flags, outFlags);
    if (!cutFile->real->pMethods) {
        return rc;
    }
    cutFile->base.pMethods = &g_methods;
    Handle handle;
    if (name) {
        handle.path = key(name);
    }
    if (rc == SQLITE_OK && inFolder) {
        InodePtr& inode = g_state.live[handle.path];
        if (!inode) {
            // created now: its entry is on the disk only once the folder is synced
            inode = std::make_shared<Inode>();
        }
        handle.inode = inode;
        const int kind = flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_SUPER_JOURNAL | SQLITE_OPEN_WAL);
        handle.syncsFolder = (flags & SQLITE_OPEN_CREATE) && kind != 0;
    }
    g_state.handles[file] = handle;
    return rc;
}

int cutDelete(sqlite3_vfs*, const char* name, int syncFolderToo)
{
    if (!watched(name)) {
        return g_real->xDelete(g_real, name, syncFolderToo);
    }
    if (!step()) {
        return SQLITE_IOERR_DELETE;
    }
    g_state.live.erase(key(name));
    const int rc = g_real->xDelete(g_real, name, 0);
    if (syncFolderToo) {
        syncFolder();
    }
    return rc;
}

std::string withSlash(const QString& path)
{
    return (path.endsWith(u'/') ? path : path + u'/').toStdString();
}
} // namespace

void PowerCutVfs::registerOnce()
{
    if (g_real) {
        return;
    }
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.zName = kName;
    g_vfs.szOsFile = int(sizeof(PowerCutFile)) + g_real->szOsFile;
    g_vfs.xOpen = cutOpen;
    g_vfs.xDelete = cutDelete;
    g_vfs.pNext = nullptr;

    std::memset(&g_methods, 0, sizeof g_methods);
    // version 1: no shared memory and no memory mapping, which a rollback journal never needs
    g_methods.iVersion = 1;
    g_methods.xClose = cutClose;
    g_methods.xRead = cutRead;
    g_methods.xWrite = cutWrite;
    g_methods.xTruncate = cutTruncate;
    g_methods.xSync = cutSync;
    g_methods.xFileSize = cutFileSize;
    g_methods.xLock = cutLock;
    g_methods.xUnlock = cutUnlock;
    g_methods.xCheckReservedLock = cutCheckReservedLock;
    g_methods.xFileControl = cutFileControl;
    g_methods.xSectorSize = cutSectorSize;
    g_methods.xDeviceCharacteristics = cutDeviceCharacteristics;
    sqlite3_vfs_register(&g_vfs, 0);
}

void PowerCutVfs::arm(const QString& folder, long long cutAfterSteps, Loss loss, quint32 seed)
{
    disarm();
    const QDir dir(folder);
    g_state.armed = true;
    g_state.givenFolder = withSlash(dir.absolutePath());
    g_state.folder = withSlash(QFileInfo(folder).canonicalFilePath());
    g_state.cutAfter = cutAfterSteps;
    g_state.loss = loss;
    g_state.random.seed(seed);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const std::string path = key(dir.absoluteFilePath(name).toStdString());
        g_state.live[path] = g_state.onDisk[path] = snapshot(path);
    }
    for (auto& [file, handle] : g_state.handles) {
        handle.path = key(handle.path);
        if (watched(handle.path.c_str())) {
            InodePtr& inode = g_state.live[handle.path];
            if (!inode) {
                inode = g_state.onDisk[handle.path] = snapshot(handle.path);
            }
            handle.inode = inode;
        }
    }
}

long long PowerCutVfs::steps()
{
    return g_state.steps;
}

bool PowerCutVfs::powerIsGone()
{
    return g_state.gone;
}

void PowerCutVfs::cutNow()
{
    if (g_state.armed && !g_state.gone) {
        cut();
    }
}

void PowerCutVfs::restoreAfterCut()
{
    cutNow();
    for (const auto& [path, bytes] : g_state.afterCut) {
        const QString name = QString::fromStdString(path);
        if (!bytes) {
            QFile::remove(name);
            continue;
        }
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(*bytes);
        }
    }
    disarm();
}

void PowerCutVfs::disarm()
{
    g_state.armed = false;
    g_state.gone = false;
    g_state.folder.clear();
    g_state.givenFolder.clear();
    g_state.steps = 0;
    g_state.cutAfter = -1;
    g_state.live.clear();
    g_state.onDisk.clear();
    g_state.afterCut.clear();
    for (auto& [file, handle] : g_state.handles) {
        handle.inode.reset();
        handle.syncsFolder = false;
    }
}
