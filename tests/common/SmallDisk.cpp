#include "common/SmallDisk.h"

#include "common/TestEnv.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testenv {

namespace {
int g_disks = 0;
}

SmallDisk::SmallDisk(qint64 bytes)
{
    path_ = MakeDir(QStringLiteral("small-disk-%1").arg(++g_disks));
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", 0, options.constData()) == 0)
        mounted_ = true;
    else
        whyNot_ = QStringLiteral("no tmpfs can be mounted here (%1); the real full disk is not tried")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallDisk::~SmallDisk()
{
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

bool SmallDisk::Fill()
{
    if (!mounted_) return false;
    const QByteArray filler = QFile::encodeName(path_ + QStringLiteral("/filler-%1").arg(QDir(path_).count()));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const QByteArray block(4096, 'f');
    // Whole blocks first, then single bytes into the last partial room.
    for (qsizetype chunk : {block.size(), qsizetype(1)}) {
        while (true) {
            const ssize_t n = ::write(fd, block.constData(), static_cast<size_t>(chunk));
            if (n > 0) continue;
            if (n < 0 && errno == EINTR) continue;
            break;
        }
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

}  // namespace testenv
