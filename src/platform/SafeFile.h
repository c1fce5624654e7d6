// Files that are written whole or not at all.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>

namespace files {

// Writes a file under a new temporary name beside `target` and gives it the
// target's name only in Commit, once every byte is written and synced to
// disk. Every write error, a failed sync and a failed close count, so a full
// disk never replaces anything: the target stays as it was, and the
// temporary file goes. A replaced file keeps its permissions; a symbolic link
// to an existing file is followed.
class SafeFile {
public:
    explicit SafeFile(const QString& target);
    ~SafeFile();  // discards what was not committed
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool Open();
    // False once any write has failed; later writes do nothing.
    bool Write(const void* data, size_t size);
    // Syncs, closes and renames over the target; false (target untouched)
    // when anything failed on the way.
    bool Commit();
    void Discard();

private:
    QString target_;
    QString temp_;
    int fd_ = -1;
    bool ok_ = false;
};

// Eight random hexadecimal digits, for the name of a temporary file.
QString RandomHexDigits();

// Puts the complete file `source` in place of `target` in one rename, once
// it is synced to disk, and syncs the folder so that the rename lasts. With
// `keepPermissions` the new file first gets the old one's permissions.
// `beforeRename`, when given, is the last step before the rename: false from
// it stops the replacement. False when anything fails: `target` then is as it
// was, and `source` is still there.
bool ReplaceWith(const QString& source, const QString& target, bool keepPermissions,
                 const std::function<bool()>& beforeRename = {});

// Flushes a written file's data to disk; false when that fails.
bool SyncToDisk(const QString& path);

// Syncs the folder that holds `path`, so that a rename in it lasts.
void SyncFolderOf(const QString& path);

// A fault put into the steps above, for tests: `fails` is asked before each
// write, sync and rename with the file the step works towards (the target,
// not the temporary file), and a step it answers true for fails as on a full
// or broken disk. None by default; an empty function takes the fault away.
enum class FileStep { Write, Sync, Rename };
void SetFileFault(std::function<bool(FileStep step, const QString& file)> fails);

}  // namespace files
