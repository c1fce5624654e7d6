// Another process that holds the lock on a folder, as another copy of the
// program does while it writes there.
#pragma once

#include "platform/FolderLock.h"

#include <QString>

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testenv {

class LockHolder {
public:
    // Returns once the other process holds the lock on `folder`; it lets go
    // of it after `holdMs`, or, with -1, only when it is killed.
    LockHolder(const QString& folder, int holdMs)
    {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const files::FolderLock lock(folder);
            const char held = lock.Held() ? 'y' : 'n';
            if (::write(ready[1], &held, 1) != 1) ::_exit(1);
            if (holdMs < 0) for (;;) ::pause();
            ::usleep(static_cast<useconds_t>(holdMs) * 1000);
            ::_exit(0);
        }
        char held = 0;
        holding_ = pid_ > 0 && ::read(ready[0], &held, 1) == 1 && held == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder() { Kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // The other process took the lock.
    bool Holding() const { return holding_; }
    // Ends the other process at once, as a kill -9 does.
    void Kill()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

// Another process that writes in `folder` back to back, as another copy of
// the program saving its settings in a loop does: it takes the lock (waiting
// in the system), holds it `holdMs`, lets go of it and at once takes it
// again, until it is killed.
class BackToBackWriter {
public:
    BackToBackWriter(const QString& folder, int holdMs)
    {
        const QByteArray path = QFile::encodeName(folder);
        pid_ = ::fork();
        if (pid_ != 0) return;
        for (;;) {
            const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            ::usleep(static_cast<useconds_t>(holdMs) * 1000);
            ::close(fd);
        }
    }
    ~BackToBackWriter()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    BackToBackWriter(const BackToBackWriter&) = delete;
    BackToBackWriter& operator=(const BackToBackWriter&) = delete;

private:
    pid_t pid_ = -1;
};

}  // namespace testenv
