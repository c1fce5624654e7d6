#include "platform/FolderLock.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

// The signal that ends a wait for the lock: its handler does nothing, and
// without SA_RESTART the waiting call returns with EINTR.
constexpr int kWakeSignal = SIGALRM;

void IgnoreWake(int) {}

bool InstallWakeHandler()
{
    struct sigaction action {};
    action.sa_handler = IgnoreWake;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    return ::sigaction(kWakeSignal, &action, nullptr) == 0;
}

timespec Now()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

long long MillisecondsBetween(const timespec& from, const timespec& to)
{
    return (to.tv_sec - from.tv_sec) * 1000LL + (to.tv_nsec - from.tv_nsec) / 1000000;
}

// Waits in the system for the lock on `fd`, up to `waitMs`: a timer of this
// thread interrupts the wait at the limit, and every 10 ms after it, should
// the first signal come before the wait began. False at the limit or on an
// error, with errno EWOULDBLOCK when the lock was held all along.
bool WaitForLock(int fd, int waitMs)
{
    static const bool handled = InstallWakeHandler();
    if (!handled) return false;
    sigset_t wake, before;
    sigemptyset(&wake);
    sigaddset(&wake, kWakeSignal);
    ::pthread_sigmask(SIG_UNBLOCK, &wake, &before);
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = kWakeSignal;
    event._sigev_un._tid = ::gettid();
    timer_t timer{};
    bool taken = false;
    int error = EWOULDBLOCK;
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) == 0) {
        itimerspec limit{};
        limit.it_value.tv_sec = waitMs / 1000;
        limit.it_value.tv_nsec = static_cast<long>(waitMs % 1000) * 1000000L;
        limit.it_interval.tv_nsec = 10 * 1000000L;
        const timespec start = Now();
        if (::timer_settime(timer, 0, &limit, nullptr) == 0) {
            for (;;) {
                if (::flock(fd, LOCK_EX) == 0) {
                    taken = true;
                    break;
                }
                if (errno != EINTR) {
                    error = errno;
                    break;
                }
                if (MillisecondsBetween(start, Now()) >= waitMs) break;
            }
        } else {
            error = errno;
        }
        ::timer_delete(timer);
    } else {
        error = errno;
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return taken;
}

}  // namespace

FolderLock::FolderLock(const QString& folder, int waitMs)
{
    fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    heldElsewhere_ = errno == EWOULDBLOCK;
    if (heldElsewhere_ && waitMs > 0 && WaitForLock(fd_, waitMs)) {
        heldElsewhere_ = false;
        return;
    }
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0) ::close(fd_);  // the lock goes with the file
}

bool SameFolder(const QString& a, const QString& b)
{
    struct stat first {}, second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace files
