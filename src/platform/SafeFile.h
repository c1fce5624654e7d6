// Files that are written whole or not at all.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>

namespace files {

// What a write to a symbolic link replaces.
enum class Link {
    Follow,   // the file it points to, made when it is not there yet: the
              // user chose to keep the file there
    Replace,  // the link itself; what it points to stays as it is
};

// The file a name stands for: `path` itself unless it is a symbolic link,
// else where its chain of links ends, made yet or not (a link's relative
// target counts from the link's folder). None when the chain does not end in
// a name that is no link: errno then is ELOOP for a loop, or more links than
// the system follows, else the reason a link could not be read.
std::optional<QString> FileAtEndOfLinks(const QString& path);

// Writes a file as a temporary file beside `target` and gives it the
// target's name only in Commit, once every byte is written and synced to
// disk. Where the file system allows, the temporary file has no name until
// then, so that a process killed on the way leaves nothing behind. Every
// write error and a failed sync count, so a full disk never replaces
// anything: the target stays as it was, and the temporary file goes.
// A replaced file keeps its permissions. A symbolic link is followed to the
// file it points to, which is made when it is not there yet, unless the
// caller asks for the link itself to be replaced; a chain of links that ends
// nowhere (a loop) is not written.
class SafeFile {
public:
    explicit SafeFile(const QString& target, Link link = Link::Follow);
    ~SafeFile();  // discards what was not committed
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool Open();
    // False once any write has failed; later writes do nothing.
    bool Write(const void* data, size_t size);
    // Syncs and renames over the target; false (target untouched) when
    // anything failed on the way.
    bool Commit();
    void Discard();
    // Why the last Open, Write or Commit failed, as the system says it.
    QString ErrorString() const { return error_; }

private:
    void Fail();
    // Gives the unnamed or temporary file the old file's permissions and
    // syncs it, before it is named.
    bool MakeReady();
    bool NameUnnamedFile();

    QString target_;
    QString temp_;
    QString error_;
    int fd_ = -1;
    bool unnamed_ = false;   // written to a file without a name yet
    int linkError_ = 0;      // why the chain of links ends in no file (ELOOP)
    bool ok_ = false;
    qint64 written_ = 0;
};

// A SafeFile as the output device of a writer that takes one (the PDF
// writer). What is written gathers into blocks that go to the safe file.
// Such writers do not pass write errors on, so the first failed write is kept
// here: it fails every later write and the commit.
class SafeFileStream final : public QIODevice {
public:
    explicit SafeFileStream(const QString& target, Link link = Link::Follow) : file_(target, link) {}
    // Opens the safe file and the stream; false when the file cannot be made.
    bool Begin();
    // Writes what is gathered and commits the file; false (target
    // untouched) when any write or the commit failed.
    bool Commit();
    bool isSequential() const override { return true; }
    // Why the file could not be written, as the system says it.
    QString ErrorString() const { return file_.ErrorString(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Flush();

    static constexpr qsizetype kBlockSize = 256 * 1024;
    SafeFile file_;
    QByteArray pending_;
    bool failed_ = false;
};

// Writes `bytes` as the whole file `path` through a SafeFile. False when
// anything failed: the old file is then as it was, and `error`, when given,
// names the file and the reason.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                    Link link = Link::Follow);

// The mark in the name of every temporary or scratch file the program makes,
// one that no person gives a file of their own: what a killed run left
// behind is told from the user's files by it, and only names that carry it
// are ever removed by a sweep.
inline const QString kTemporaryTag = QStringLiteral("~zelkova-tmp");

// A new name for a temporary file beside `target` (a file name or a path):
// "<target>.~zelkova-tmp-" and eight random lower-case hexadecimal digits,
// e.g. "pif.~zelkova-tmp-0123abcd". The safe writer names its temporary file
// so; whether a file of that name exists is not checked.
QString TemporaryNameOf(const QString& target);

// True when `name` is exactly a name TemporaryNameOf(target) gives: the
// safe writer's temporary file beside `target`. `name` and `target` are
// alike: both file names in one folder, or both paths. Nothing may come
// before or after it (not even a final newline), the digits are lower case,
// and a name without the mark (e.g. "pif.20250107") is never one.
bool IsTemporaryNameOf(const QString& name, const QString& target);

// Eight random lower-case hexadecimal digits, for the name of a temporary
// file (which also carries kTemporaryTag).
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

}  // namespace files
