#include "platform/FolderLock.h"

#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace files {

FolderLock::FolderLock(const QString& folder, int waitMs)
{
    fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    for (int waited = 0;; waited += 50) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            heldElsewhere_ = false;   // let go of while this one waited
            return;
        }
        heldElsewhere_ = errno == EWOULDBLOCK;
        if (!heldElsewhere_ || waited >= waitMs) break;
        QThread::msleep(50);
    }
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0) ::close(fd_);  // the lock goes with the file
}

}  // namespace files
