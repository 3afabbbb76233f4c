#include "platform/FileIo.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace brv {

namespace {

// A path through a file (ENOTDIR) leads nowhere: nothing is there either.
ReadProblem systemProblem(int error) {
    return error == ENOENT || error == ENOTDIR ? ReadProblem{ReadProblem::Kind::kAbsent, error}
                                               : ReadProblem{ReadProblem::Kind::kSystem, error};
}

}  // namespace

// Opens without blocking: a FIFO put where a file of the game belongs would
// otherwise wait forever for a writer. Its kind is checked on the open
// descriptor, so nothing can be swapped in between.
int openForReading(const std::string& path, std::uint64_t& size, ReadProblem& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        why = systemProblem(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        why = systemProblem(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        why = {ReadProblem::Kind::kNotRegular, 0};
        ::close(fd);
        return -1;
    }
    why = {};
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

std::string ReadProblem::text() const {
    switch (kind) {
        case Kind::kNone:
            return "";
        case Kind::kAbsent:
            return "no such file";
        case Kind::kNotRegular:
            return "not a regular file";
        case Kind::kTooLarge:
            return "larger than " + std::to_string(limit) + " bytes";
        case Kind::kSystem:
            break;
    }
    return std::strerror(error);
}

namespace {

int openRegular(const std::string& path, std::uint64_t* size) {
    ReadProblem ignored;
    return openForReading(path, *size, ignored);
}

// Reads until `count` bytes arrived or the file ended; returns how many arrived.
std::size_t readFully(int fd, std::uint8_t* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd, out + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool writeFully(int fd, const std::uint8_t* data, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd, data + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Creates the temporary a save writes before it takes the file's place: a
// new file of its own beside the target, never one that is already there
// (a FIFO or a link left at such a name would make the save wait forever or
// write elsewhere). Whatever stands at a name it tries is left alone.
int createTemporary(const std::string& path, std::string& temp) {
    static std::atomic<unsigned> made{0};
    constexpr int kTries = 100;
    const std::string stem = path + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < kTries; ++attempt) {
        temp = stem + std::to_string(made.fetch_add(1));
        const int fd =
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The writer's pid when `name` is exactly "<prefix><pid>-<n>", the name a
// save of the file gives its temporary; nothing for any other name.
std::optional<long> temporaryWriter(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const auto digits = [](const std::string& text) {
        return !text.empty() && text.size() <= 9 &&
               text.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dash == std::string::npos || !digits(rest.substr(0, dash)) ||
        !digits(rest.substr(dash + 1))) {
        return std::nullopt;
    }
    const long pid = std::stol(rest.substr(0, dash));
    return pid > 0 ? std::optional<long>(pid) : std::nullopt;
}

// EPERM: running, as another user's process.
bool processRunning(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A save killed between making its temporary and the rename leaves the
// temporary behind, and nothing else would ever clear it. Each save of a
// file clears those of the same file whose writer no longer runs: regular
// files only (unlink removes a name, never what a link leads to), so a
// FIFO or a link put at such a name stays as it is.
void clearLeftTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".tmp-";
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::optional<long> writer = temporaryWriter(it->path().filename().string(), prefix);
        struct stat st {};
        if (writer && !processRunning(*writer) && ::lstat(it->path().c_str(), &st) == 0 &&
            S_ISREG(st.st_mode)) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace

std::optional<std::uint64_t> fileSize(const std::string& path) {
    std::uint64_t size = 0;
    int fd = openRegular(path, &size);
    if (fd < 0) {
        return std::nullopt;
    }
    ::close(fd);
    return size;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes) {
    ReadProblem ignored;
    return readWholeFile(path, maxBytes, ignored);
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes, ReadProblem& why) {
    std::uint64_t size = 0;
    int fd = openForReading(path, size, why);
    if (fd < 0) {
        return std::nullopt;
    }
    if (size > maxBytes) {
        ::close(fd);
        why = {ReadProblem::Kind::kTooLarge, 0, maxBytes};
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    errno = 0;
    const std::size_t got = readFully(fd, bytes.data(), bytes.size());
    ::close(fd);
    // A read error (not a file that shrank meanwhile) means the bytes are not there.
    if (got < bytes.size() && errno != 0) {
        why = systemProblem(errno);
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

ReadProblem readProblem(const std::string& path, std::uint64_t maxBytes) {
    std::uint64_t size = 0;
    ReadProblem why;
    const int fd = openForReading(path, size, why);
    if (fd >= 0) {
        ::close(fd);
    }
    if (fd >= 0 && size > maxBytes) {
        why = {ReadProblem::Kind::kTooLarge, 0, maxBytes};
    }
    return why;
}

std::optional<std::vector<std::uint8_t>> readFileRange(const std::string& path,
                                                       std::uint64_t offset, std::uint64_t count) {
    std::uint64_t size = 0;
    int fd = openRegular(path, &size);
    if (fd < 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    if (offset < size) {
        // Never allocate more than the file really holds past the offset.
        std::uint64_t available = size - offset;
        std::uint64_t want = count < available ? count : available;
        if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset)) {
            bytes.resize(static_cast<std::size_t>(want));
            bytes.resize(readFully(fd, bytes.data(), bytes.size()));
        }
    }
    ::close(fd);
    return bytes;
}

bool makeDirectories(const std::string& dir) {
    if (dir.empty()) {
        return true;
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
    std::filesystem::path target(path);
    if (!makeDirectories(target.parent_path().string())) {
        return false;
    }
    clearLeftTemporaries(target);
    std::string temp;
    int fd = createTemporary(path, temp);
    if (fd < 0) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    bool ok = writeFully(fd, bytes, size) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    std::string folder = target.parent_path().string();
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::optional<std::string> folderWriteProblem(const std::string& dir) {
    std::filesystem::path folder = dir.empty() ? "." : dir;
    for (;;) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0) {
            const std::string where = folder == dir ? "" : " (at \"" + folder.string() + "\")";
            if (!S_ISDIR(st.st_mode)) {
                return std::string(std::strerror(ENOTDIR)) + where;
            }
            if (::access(folder.c_str(), W_OK | X_OK) != 0) {
                return std::string(std::strerror(errno)) + where;
            }
            return std::nullopt;
        }
        // A part of the way that is a file, or a folder we may not enter, refuses here.
        const int error = errno;
        std::filesystem::path parent = folder.parent_path();
        if (parent.empty()) {
            parent = ".";
        }
        if (error != ENOENT || parent == folder) {
            return std::string(std::strerror(error));
        }
        folder = parent;
    }
}

std::string executablePath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

std::string freeDatedName(const std::string& dir, const std::string& prefix,
                          const std::string& extension, std::time_t now) {
    constexpr int kNamesPerSecond = 1000;
    std::tm local{};
    localtime_r(&now, &local);
    char time[32];
    std::strftime(time, sizeof time, "-%Y-%m-%d-%H%M%S", &local);
    const std::string stem = dir + "/" + prefix + time;
    for (int n = 1; n <= kNamesPerSecond; ++n) {
        std::string path = stem;
        if (n > 1) {
            path += '-';
            path += std::to_string(n);
        }
        path += extension;
        // A folder that cannot be looked into leaves the name free; the write
        // then fails and says why.
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            return path;
        }
    }
    return {};
}

std::FILE* openLineLog(const std::string& path) {
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "w");
    if (file != nullptr) {
        std::setvbuf(file, nullptr, _IOLBF, 256);
    }
    return file;
}

}  // namespace brv
