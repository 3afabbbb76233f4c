#pragma once

#include <string>

namespace brv {

// An advisory lock on a lock file, held for the life of the object, so that
// two copies of the game never interleave their read-merge-write of a shared
// file. The lock lives on a file of its own because the shared file itself is
// replaced by a rename on every save, and a lock on the old inode would not
// stop a copy that opens the new one.
class FileLock {
public:
    // Waits for the lock on `path` (creating the file) at most `waitMs`: a
    // copy of the game holds it only for the few milliseconds of its own
    // save, and a lock held longer (by a program that hangs, or by someone's
    // hand) must not hang the game, which a signal could then not end. A lock
    // the system cannot give (a folder that cannot be written, something not
    // a file at the lock's name, a file system without locks) is not held,
    // and `problem()` says why.
    FileLock(const std::string& path, int waitMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Not held because another holder kept it past the wait.
    bool busy() const { return busy_; }
    // Why the system could not give the lock; empty when held or busy.
    const std::string& problem() const { return problem_; }

private:
    int fd_ = -1;
    bool busy_ = false;
    std::string problem_;
};

}  // namespace brv
