// Disks that fill up, for the tests of what a failed write leaves behind: a
// limit on the size of the files this process writes, and a real small disk
// (a tmpfs) that can be filled to the last few bytes.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace testenv {

// A nearly full disk: while it lives, no file of this process, nor of the
// programs it starts, can grow beyond `bytes`; a write past that fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// A disk of its own: a tmpfs of `bytes` mounted on the folder `dir` (made
// when missing) while the object lives. Mounting needs root: Mounted() is
// false, with the reason in Why(), where it cannot be done.
class SmallDisk {
public:
    SmallDisk(const QString& dir, qint64 bytes) : dir_(QDir(dir).absolutePath())
    {
        QDir().mkpath(dir_);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", Native().constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0)
            mounted_ = true;
        else
            why_ = QStringLiteral("cannot mount a tmpfs on %1 (%2); it needs root").arg(dir_, QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~SmallDisk()
    {
        if (mounted_) ::umount2(Native().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString Why() const { return why_; }
    QString Path() const { return dir_; }

    // Fills the disk with a file of its own ("filler") until no more than
    // `room` bytes are free (rounded down to the disk's blocks); false when
    // it cannot.
    bool FillLeaving(qint64 room)
    {
        const QByteArray filler = Native() + "/filler";
        ::unlink(filler.constData());
        struct statvfs fs {};
        if (::statvfs(Native().constData(), &fs) != 0) return false;
        const qint64 block = static_cast<qint64>(fs.f_frsize);
        const qint64 free = static_cast<qint64>(fs.f_bavail) * block;
        const qint64 size = free - room / block * block;
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const QByteArray chunk(64 * 1024, 'f');
        qint64 left = size;
        while (left > 0) {
            const ssize_t n = ::write(fd, chunk.constData(), static_cast<size_t>(std::min<qint64>(left, chunk.size())));
            if (n <= 0) break;
            left -= n;
        }
        return ::close(fd) == 0 && left <= 0;
    }
    // Bytes still free on the disk.
    qint64 Free() const
    {
        struct statvfs fs {};
        if (::statvfs(Native().constData(), &fs) != 0) return 0;
        return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
    }

private:
    QByteArray Native() const { return QFile::encodeName(dir_); }

    QString dir_;
    bool mounted_ = false;
    QString why_;
};

}  // namespace testenv
