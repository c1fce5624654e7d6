// A lock on a folder that every copy of the program working in it sees, held
// by one of them at a time. The system lets go of it when its holder ends,
// even when it is killed, so a crash never leaves it taken.
#pragma once

#include <QString>

namespace files {

class FolderLock {
public:
    // Takes the lock on `folder`, waiting up to `waitMs` while another copy
    // holds it. The wait is the system's: the lock passes to this copy as
    // soon as the holder lets go of it.
    explicit FolderLock(const QString& folder, int waitMs = 0);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // This process holds the lock.
    bool Held() const { return fd_ >= 0; }
    // Another copy of the program holds it. On a file system without such
    // locks neither is true.
    bool HeldElsewhere() const { return heldElsewhere_; }

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

// True when `a` and `b` are one folder, by whatever paths they are reached.
// Two locks of one process on one folder would wait for each other.
bool SameFolder(const QString& a, const QString& b);

}  // namespace files
