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
    // Waits for the lock on `path` (creating the file); a lock the system
    // cannot give (a folder that cannot be written) is not held, and the
    // save that follows fails on its own.
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace brv
