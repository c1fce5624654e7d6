#include "platform/OwnFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

OwnFileRead Failure(int fd, QString* error)
{
    const int why = errno;
    if (fd >= 0) ::close(fd);
    if (error) *error = QString::fromLocal8Bit(std::strerror(why));
    return OwnFileRead::Failed;
}

}  // namespace

OwnFileRead ReadOwnFile(const QString& path, QByteArray& bytes, qint64 limit, QString* error)
{
    bytes.clear();
    const QByteArray native = QFile::encodeName(path);
    // Only the name itself is looked at: a link is not followed, and nothing
    // but a regular file is opened (a pipe would never end a read).
    struct stat named {};
    if (::lstat(native.constData(), &named) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return OwnFileRead::Absent;
        return Failure(-1, error);
    }
    if (!S_ISREG(named.st_mode)) return OwnFileRead::NotAFile;
    // The name may have been replaced since: the open refuses a link, and
    // what was opened must still be a regular file.
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return OwnFileRead::Absent;
        if (errno == ELOOP) return OwnFileRead::NotAFile;
        return Failure(-1, error);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) return Failure(fd, error);
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        return OwnFileRead::NotAFile;
    }
    char buffer[64 * 1024];
    while (limit < 0 || bytes.size() < limit) {
        size_t want = sizeof buffer;
        if (limit >= 0) want = std::min<size_t>(want, static_cast<size_t>(limit - bytes.size()));
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure(fd, error);
        if (n == 0) break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return OwnFileRead::Read;
}

}  // namespace files
