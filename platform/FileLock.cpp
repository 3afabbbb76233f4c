#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace brv {

FileLock::FileLock(const std::string& path, int waitMs) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd_ < 0) {
        problem_ = std::strerror(errno);
        return;
    }
    constexpr int kPollMs = 10;
    for (int waited = 0;; waited += kPollMs) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            problem_ = std::strerror(errno);
            break;
        }
        if (errno == EWOULDBLOCK && waited >= waitMs) {
            busy_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    ::close(fd_);
    fd_ = -1;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace brv
