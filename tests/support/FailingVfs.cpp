#include "support/FailingVfs.h"

#include <sqlite3.h>

#include <cstring>

namespace
{
struct FailingFile
{
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_vfs g_vfs;
sqlite3_vfs* g_real = nullptr;
sqlite3_io_methods g_methods;
bool g_armed = false;
long long g_budget = 0;
int g_refused = 0;

sqlite3_file* real(sqlite3_file* file)
{
    return reinterpret_cast<FailingFile*>(file)->real;
}

int failingClose(sqlite3_file* file)
{
    return real(file)->pMethods->xClose(real(file));
}

int failingRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}

int failingWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (g_armed) {
        if (g_budget < amount) {
            ++g_refused;
            return SQLITE_FULL;
        }
        g_budget -= amount;
    }
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}

int failingTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    return real(file)->pMethods->xTruncate(real(file), size);
}

int failingSync(sqlite3_file* file, int flags)
{
    return real(file)->pMethods->xSync(real(file), flags);
}

int failingFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return real(file)->pMethods->xFileSize(real(file), size);
}

int failingLock(sqlite3_file* file, int level)
{
    return real(file)->pMethods->xLock(real(file), level);
}

int failingUnlock(sqlite3_file* file, int level)
{
    return real(file)->pMethods->xUnlock(real(file), level);
}

int failingCheckReservedLock(sqlite3_file* file, int* out)
{
    return real(file)->pMethods->xCheckReservedLock(real(file), out);
}

int failingFileControl(sqlite3_file* file, int op, void* arg)
{
    return real(file)->pMethods->xFileControl(real(file), op, arg);
}

int failingSectorSize(sqlite3_file* file)
{
    return real(file)->pMethods->xSectorSize(real(file));
}

int failingDeviceCharacteristics(sqlite3_file* file)
{
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}

int failingOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* failing = reinterpret_cast<FailingFile*>(file);
    failing->real = reinterpret_cast<sqlite3_file*>(failing + 1);
    const int rc = g_real->xOpen(g_real, name, failing->real, flags, outFlags);
    failing->base.pMethods = failing->real->pMethods ? &g_methods : nullptr;
    return rc;
}
} // namespace

void FailingVfs::registerOnce()
{
    if (g_real) {
        return;
    }
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.zName = kName;
    g_vfs.szOsFile = int(sizeof(FailingFile)) + g_real->szOsFile;
    g_vfs.xOpen = failingOpen;
    g_vfs.pNext = nullptr;

    std::memset(&g_methods, 0, sizeof g_methods);
    // version 1: no shared memory and no memory mapping, which a rollback journal never needs
    g_methods.iVersion = 1;
    g_methods.xClose = failingClose;
    g_methods.xRead = failingRead;
    g_methods.xWrite = failingWrite;
    g_methods.xTruncate = failingTruncate;
    g_methods.xSync = failingSync;
    g_methods.xFileSize = failingFileSize;
    g_methods.xLock = failingLock;
    g_methods.xUnlock = failingUnlock;
    g_methods.xCheckReservedLock = failingCheckReservedLock;
    g_methods.xFileControl = failingFileControl;
    g_methods.xSectorSize = failingSectorSize;
    g_methods.xDeviceCharacteristics = failingDeviceCharacteristics;
    sqlite3_vfs_register(&g_vfs, 0);
}

void FailingVfs::failAfter(long long bytes)
{
    g_armed = true;
    g_budget = bytes;
}

void FailingVfs::heal()
{
    g_armed = false;
    g_refused = 0;
}

int FailingVfs::refusedWrites()
{
    return g_refused;
}
