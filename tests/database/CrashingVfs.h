// A process that dies in the middle of writing a database: an sqlite file
// layer over the default one that counts every write, truncate, sync and
// delete and ends the process at once at a chosen count, leaving the files as
// a crash would.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

namespace crashvfs {

// The exit status of a process that was made to die.
constexpr int kCrashed = 77;

namespace detail {

inline sqlite3_vfs* g_real = nullptr;
inline int g_left = 0;

inline void Tick()
{
    if (--g_left < 0) _exit(kCrashed);
}

struct File {
    sqlite3_file base;
    sqlite3_file* real;
};

inline sqlite3_file* Real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

inline int Close(sqlite3_file* f)
{
    int rc = Real(f)->pMethods ? Real(f)->pMethods->xClose(Real(f)) : SQLITE_OK;
    sqlite3_free(Real(f));
    return rc;
}
inline int Read(sqlite3_file* f, void* p, int n, sqlite3_int64 o) { return Real(f)->pMethods->xRead(Real(f), p, n, o); }
inline int Write(sqlite3_file* f, const void* p, int n, sqlite3_int64 o)
{
    Tick();
    return Real(f)->pMethods->xWrite(Real(f), p, n, o);
}
inline int Truncate(sqlite3_file* f, sqlite3_int64 size)
{
    Tick();
    return Real(f)->pMethods->xTruncate(Real(f), size);
}
inline int Sync(sqlite3_file* f, int flags)
{
    Tick();
    return Real(f)->pMethods->xSync(Real(f), flags);
}
inline int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); }
inline int Lock(sqlite3_file* f, int l) { return Real(f)->pMethods->xLock(Real(f), l); }
inline int Unlock(sqlite3_file* f, int l) { return Real(f)->pMethods->xUnlock(Real(f), l); }
inline int CheckReservedLock(sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); }
inline int FileControl(sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); }
inline int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
inline int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }

// Only the methods of a rollback journal database; shared memory is not used.
inline const sqlite3_io_methods kMethods = {1, Close, Read, Write, Truncate, Sync, FileSize, Lock, Unlock,
                                            CheckReservedLock, FileControl, SectorSize, DeviceCharacteristics,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

inline int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags)
{
    auto* file = reinterpret_cast<File*>(f);
    file->base.pMethods = nullptr;
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(g_real->szOsFile));
    if (!file->real) return SQLITE_NOMEM;
    int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        sqlite3_free(file->real);
        return rc;
    }
    file->base.pMethods = &kMethods;
    return SQLITE_OK;
}

inline int Delete(sqlite3_vfs*, const char* name, int syncDir)
{
    Tick();
    return g_real->xDelete(g_real, name, syncDir);
}

}  // namespace detail

// Makes every database opened from now on in this process go through the
// counting layer; the process ends at the `writes`-th write, truncate, sync or
// delete. Meant for a child process made by fork().
inline void DieAfter(int writes)
{
    static sqlite3_vfs vfs;
    detail::g_real = sqlite3_vfs_find(nullptr);
    detail::g_left = writes;
    vfs = *detail::g_real;
    vfs.zName = "crashing";
    vfs.szOsFile = sizeof(detail::File);
    vfs.xOpen = detail::Open;
    vfs.xDelete = detail::Delete;
    sqlite3_vfs_register(&vfs, 1);
}

}  // namespace crashvfs
