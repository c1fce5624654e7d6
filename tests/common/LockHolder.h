// Another process that holds the lock on a folder, as another copy of the
// program does while it writes there.
#pragma once

#include "platform/FolderLock.h"

#include <QString>

#include <csignal>
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

}  // namespace testenv
