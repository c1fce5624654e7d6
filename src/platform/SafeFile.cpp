#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

std::function<bool(FileStep, const QString&)>& Fault()
{
    static std::function<bool(FileStep, const QString&)> fault;
    return fault;
}

bool Faulty(FileStep step, const QString& file) { return Fault() && Fault()(step, file); }

}  // namespace

SafeFile::SafeFile(const QString& target) : target_(target)
{
    // Through a link to an existing file the file itself is replaced.
    const QFileInfo info(target);
    if (info.isSymLink() && info.exists()) target_ = info.canonicalFilePath();
}

SafeFile::~SafeFile() { Discard(); }

bool SafeFile::Open()
{
    Discard();
    // A file the user made read-only is not replaced behind their back.
    if (QFileInfo::exists(target_) && ::access(Native(target_).constData(), W_OK) != 0) return false;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = target_ + QLatin1Char('.') + RandomHexDigits();
        fd_ = ::open(Native(temp_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    ok_ = true;
    return true;
}

bool SafeFile::Write(const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    if (ok_ && size > 0 && Faulty(FileStep::Write, target_)) ok_ = false;
    while (ok_ && size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok_ = false;
            break;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return ok_;
}

bool SafeFile::Commit()
{
    if (fd_ < 0 || !ok_) {
        Discard();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ok_ = false;
    if (!ok_ || !ReplaceWith(temp_, target_, true)) {
        Discard();
        return false;
    }
    temp_.clear();
    return true;
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
    ok_ = false;
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
    ok = ok && !Faulty(FileStep::Sync, target) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (!ok) return false;
    if (beforeRename && !beforeRename()) return false;
    if (Faulty(FileStep::Rename, target) || std::rename(from.constData(), to.constData()) != 0) return false;
    SyncFolderOf(target);
    return true;
}

bool SyncToDisk(const QString& path)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = !Faulty(FileStep::Sync, path) && ::fsync(fd) == 0;
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

void SetFileFault(std::function<bool(FileStep, const QString&)> fails) { Fault() = std::move(fails); }

}  // namespace files
