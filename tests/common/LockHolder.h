// Another process that holds the lock on a folder, as another copy of the
// program does while it writes there.
#pragma once

#include "platform/FolderLock.h"

#include <QString>

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

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

// Another copy of the program that holds the lock on a folder and lets go of
// it only while another process waits for it in the system: /proc/locks then
// lists that process under the lock, on a line "N: -> FLOCK ...". A process
// that polls the lock (tries it, sleeps, tries again) is never listed, so it
// never gets the lock. Once it let go, the holder takes the lock again when
// asked, back to back with the other's write.
class LockYielder {
public:
    // Returns once the other process holds the lock on `folder`.
    explicit LockYielder(const QString& folder)
    {
        const QByteArray path = QFile::encodeName(folder);
        int ready[2], asks[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        if (::pipe2(asks, O_CLOEXEC) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            // Nothing that allocates or takes a lock from here: the parent's
            // other threads may have held one when it forked.
            ::close(ready[0]);
            ::close(asks[1]);
            for (;;) {
                const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                const char held = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
                if (::write(ready[1], &held, 1) != 1 || held != 'y') ::_exit(1);
                while (!AnotherWaits(::getpid())) ::usleep(1000);
                ::close(fd);  // lets go: the lock passes to the one waiting
                char ask = 0;
                if (::read(asks[0], &ask, 1) != 1) ::_exit(0);
            }
        }
        ::close(ready[1]);
        ::close(asks[0]);
        ready_ = ready[0];
        asks_ = asks[1];
        holding_ = pid_ > 0 && Held();
    }
    ~LockYielder() { Kill(); }
    LockYielder(const LockYielder&) = delete;
    LockYielder& operator=(const LockYielder&) = delete;

    // The other process took the lock.
    bool Holding() const { return holding_; }
    // Once the other process let go of the lock for a process that waited,
    // it takes it again, waiting in the system while that one holds it.
    // True when it holds it again.
    bool TakeAgain()
    {
        const char ask = 'a';
        holding_ = pid_ > 0 && ::write(asks_, &ask, 1) == 1 && Held();
        return holding_;
    }
    // Ends the other process at once, as a kill -9 does: the lock is free.
    void Kill()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        for (int* fd : {&ready_, &asks_})
            if (*fd >= 0) ::close(std::exchange(*fd, -1));
        holding_ = false;
    }

private:
    // Waits (a minute at most) for the other process to say it holds the lock.
    bool Held() const
    {
        pollfd ready{ready_, POLLIN, 0};
        char held = 0;
        return ::poll(&ready, 1, 60000) == 1 && ::read(ready_, &held, 1) == 1 && held == 'y';
    }

    // True when /proc/locks lists a process waiting for the lock that
    // process `holder` holds with flock: a line "N: FLOCK ... <holder> ..."
    // and, under it, "N: -> FLOCK ...". Without allocating.
    static bool AnotherWaits(pid_t holder)
    {
        static char text[1 << 20];
        const int fd = ::open("/proc/locks", O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        size_t size = 0;
        for (ssize_t n; size < sizeof text - 1 && (n = ::read(fd, text + size, sizeof text - 1 - size)) > 0;)
            size += static_cast<size_t>(n);
        ::close(fd);
        text[size] = '\0';
        char pid[16];
        std::snprintf(pid, sizeof pid, "%d", static_cast<int>(holder));
        char held[32] = "";   // "N:" of the holder's lock
        for (char* line = text; *line;) {
            char* end = std::strchr(line, '\n');
            if (end) *end = '\0';
            // Fields: "N:", then "->" for a waiter, "FLOCK", mode, access, pid.
            char* fields[6] = {};
            int count = 0;
            for (char* p = line; *p && count < 6;) {
                while (*p == ' ') ++p;
                if (!*p) break;
                fields[count++] = p;
                while (*p && *p != ' ') ++p;
                if (*p) *p++ = '\0';
            }
            if (count == 6 && std::strcmp(fields[1], "FLOCK") == 0 && std::strcmp(fields[4], pid) == 0)
                std::snprintf(held, sizeof held, "%s", fields[0]);
            else if (count >= 2 && held[0] && std::strcmp(fields[0], held) == 0 && std::strcmp(fields[1], "->") == 0)
                return true;
            if (!end) break;
            line = end + 1;
        }
        return false;
    }

    pid_t pid_ = -1;
    int ready_ = -1;
    int asks_ = -1;
    bool holding_ = false;
};

}  // namespace testenv
