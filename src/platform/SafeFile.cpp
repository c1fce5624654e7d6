#include "platform/SafeFile.h"

#include "platform/SafeFileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

InjectedWriteFailure* g_fault = nullptr;

}  // namespace

// The one door through which the writer asks whether a test wants a step to
// fail; errno is set as the real failure would set it.
struct FaultAccess {
    static bool Applies(FailingStep step, const QString& target)
    {
        return g_fault && g_fault->step_ == step &&
               (g_fault->onlyTarget_.isEmpty() || g_fault->onlyTarget_ == target);
    }
    static bool Fails(FailingStep step, const QString& target)
    {
        if (!Applies(step, target)) return false;
        ++g_fault->failures_;
        errno = step == FailingStep::Write ? ENOSPC : step == FailingStep::Sync ? EIO : EACCES;
        return true;
    }
    // The bytes a file that holds `written` bytes may still take.
    static qint64 Room(qint64 written, const QString& target)
    {
        if (!Applies(FailingStep::Write, target)) return -1;
        return std::max<qint64>(0, g_fault->room_ - written);
    }
};

InjectedWriteFailure::InjectedWriteFailure(FailingStep step, qint64 room, const QString& onlyTarget)
    : step_(step), room_(room), onlyTarget_(onlyTarget), previous_(g_fault)
{
    g_fault = this;
}

InjectedWriteFailure::~InjectedWriteFailure() { g_fault = previous_; }

// More links in a row than the system itself follows end in no file.
constexpr int kMostLinks = 40;

std::optional<QString> FileAtEndOfLinks(const QString& path)
{
    QString at = path;
    for (int links = 0; links <= kMostLinks; ++links) {
        const QByteArray native = Native(at);
        struct stat st {};
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            if (links == 0) return at;
            // The folder as it is, where there is one, so that a message
            // names the file plainly.
            const QFileInfo file(at);
            const QString folder = QFileInfo(file.path()).canonicalFilePath();
            return folder.isEmpty() ? at : QDir(folder).filePath(file.fileName());
        }
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(native.constData(), target.data(), static_cast<size_t>(target.size()));
        if (n <= 0 || n >= target.size()) {
            // Gone or changed while it was read.
            if (n >= 0) errno = EAGAIN;
            return std::nullopt;
        }
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        at = next.startsWith(u'/') ? next : QFileInfo(at).path() + u'/' + next;
    }
    errno = ELOOP;
    return std::nullopt;
}

SafeFile::SafeFile(const QString& target, Link link) : target_(target)
{
    // Through a link the file it points to is written, made when it is not
    // there yet; otherwise the rename puts the new file in the link's place.
    if (link == Link::Follow) {
        const std::optional<QString> file = FileAtEndOfLinks(target);
        if (file) target_ = *file;
        else linkError_ = errno;
    }
}

SafeFile::~SafeFile() { Discard(); }

bool SafeFile::Open()
{
    Discard();
    error_.clear();
    if (linkError_ != 0) {
        errno = linkError_;
        Fail();
        return false;
    }
    // A file the user made read-only is not replaced behind their back. A
    // link here is one that is itself replaced: what it points to is not
    // written.
    struct stat present {};
    if (::lstat(Native(target_).constData(), &present) == 0 && !S_ISLNK(present.st_mode) &&
        ::access(Native(target_).constData(), W_OK) != 0) {
        Fail();
        return false;
    }
    // An unnamed file in the target's folder, so that a process killed while
    // it writes leaves nothing behind; it gets a name only once it is whole.
    fd_ = ::open(Native(QFileInfo(target_).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    unnamed_ = fd_ >= 0;
    // A file system without unnamed files gets a named temporary file.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = TemporaryNameOf(target_);
        fd_ = ::open(Native(temp_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        Fail();
        temp_.clear();
        return false;
    }
    ok_ = true;
    written_ = 0;
    return true;
}

void SafeFile::Fail()
{
    if (error_.isEmpty()) error_ = QString::fromLocal8Bit(std::strerror(errno));
    ok_ = false;
}

bool SafeFile::Write(const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (ok_ && size > 0) {
        size_t chunk = size;
        if (const qint64 room = FaultAccess::Room(written_, target_); room >= 0 && static_cast<qint64>(chunk) > room) {
            chunk = static_cast<size_t>(room);
            if (chunk == 0 && FaultAccess::Fails(FailingStep::Write, target_)) {
                Fail();
                break;
            }
        }
        const ssize_t n = ::write(fd_, p, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            Fail();
            break;
        }
        p += n;
        size -= static_cast<size_t>(n);
        written_ += n;
    }
    return ok_;
}

bool SafeFile::Commit()
{
    // Made whole while it has no name, or only its temporary one, so that
    // the named file stands beside the target only for the rename.
    if (fd_ < 0 || !ok_ || !MakeReady() || (unnamed_ && !NameUnnamedFile())) {
        Discard();
        return false;
    }
    if (FaultAccess::Fails(FailingStep::Rename, target_) ||
        std::rename(Native(temp_).constData(), Native(target_).constData()) != 0) {
        Fail();
        Discard();
        return false;
    }
    temp_.clear();
    SyncFolderOf(target_);
    // Synced already: the close has nothing left to write.
    ::close(fd_);
    fd_ = -1;
    ok_ = false;
    return true;
}

bool SafeFile::MakeReady()
{
    // The permissions of the file it replaces (a link replaced has none to give).
    struct stat old {};
    if (::lstat(Native(target_).constData(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd_, old.st_mode & 07777) != 0) {
        Fail();
        return false;
    }
    if (FaultAccess::Fails(FailingStep::Sync, target_) || ::fsync(fd_) != 0) {
        Fail();
        return false;
    }
    return true;
}

bool SafeFile::NameUnnamedFile()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = TemporaryNameOf(target_);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, Native(temp_).constData(), AT_SYMLINK_FOLLOW) == 0) {
            unnamed_ = false;
            return true;
        }
        if (errno != EEXIST) break;
    }
    temp_.clear();
    Fail();
    return false;
}

void SafeFile::Discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.isEmpty()) {
        ::unlink(Native(temp_).constData());
        temp_.clear();
    }
    unnamed_ = false;
    ok_ = false;
}

bool SafeFileStream::Begin()
{
    failed_ = false;
    pending_.clear();
    // QIODevice::open opens no file: it only marks this stream open for the
    // writer that takes it. Every byte goes to the safe file, which writes
    // beside the target and replaces it only in Commit.
    return file_.Open() && QIODevice::open(QIODevice::WriteOnly);
}

bool SafeFileStream::Flush()
{
    if (!pending_.isEmpty() && !file_.Write(pending_.constData(), static_cast<size_t>(pending_.size())))
        failed_ = true;
    pending_.truncate(0);
    return !failed_;
}

qint64 SafeFileStream::writeData(const char* data, qint64 size)
{
    if (failed_) return -1;
    pending_.append(data, size);
    if (pending_.size() >= kBlockSize && !Flush()) return -1;
    return size;
}

bool SafeFileStream::Commit()
{
    const bool written = Flush();
    close();
    if (!written) {
        file_.Discard();
        return false;
    }
    return file_.Commit();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error, Link link)
{
    SafeFile file(path, link);
    const bool written =
        file.Open() && file.Write(bytes.constData(), static_cast<size_t>(bytes.size())) && file.Commit();
    if (!written && error) *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.ErrorString());
    return written;
}

namespace {

// What comes between the target and the digits of a temporary name.
QString TemporaryInfix() { return QLatin1Char('.') + kTemporaryTag + QLatin1Char('-'); }

}  // namespace

QString TemporaryNameOf(const QString& target) { return target + TemporaryInfix() + RandomHexDigits(); }

bool IsTemporaryNameOf(const QString& name, const QString& target)
{
    const QString head = target + TemporaryInfix();
    if (name.size() != head.size() + 8 || !name.startsWith(head)) return false;
    for (const QChar c : QStringView(name).right(8))
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    return true;
}

QString RandomHexDigits()
{
    return QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

bool ReplaceWith(const QString& source, const QString& target, bool keepPermissions,
                 const std::function<bool()>& beforeRename)
{
    const QByteArray from = Native(source), to = Native(target);
    // Opened before the mode changes: the old file's mode may not allow it.
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    bool ok = !(keepPermissions && ::stat(to.constData(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0);
    ok = ok && !FaultAccess::Fails(FailingStep::Sync, target) && ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0) ok = false;
    if (!ok) {
        errno = syncError;
        return false;
    }
    if (beforeRename && !beforeRename()) return false;
    if (FaultAccess::Fails(FailingStep::Rename, target) || std::rename(from.constData(), to.constData()) != 0) return false;
    SyncFolderOf(target);
    return true;
}

bool SyncToDisk(const QString& path)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

void SyncFolderOf(const QString& path)
{
    // Not every file system syncs folders; the data itself is synced already.
    const int fd = ::open(Native(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace files
