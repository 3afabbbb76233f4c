#include "platform/ProcChildren.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>

namespace brv {

pid_t ProcChildren::toPid(const char* name) {
    pid_t pid = 0;
    for (; *name >= '0' && *name <= '9' && pid < 100000000; ++name) {
        pid = pid * 10 + (*name - '0');
    }
    return *name == '\0' ? pid : 0;
}

bool ProcChildren::readStat(const char* name, pid_t& parent, char (&command)[32]) {
    char path[64] = "/proc/";
    if (std::strlen(name) > 20) {
        return false;
    }
    std::strcat(std::strcat(path, name), "/stat");
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    char text[512];
    const ssize_t n = fd >= 0 ? read(fd, text, sizeof text - 1) : -1;
    if (fd >= 0) {
        close(fd);
    }
    text[n > 0 ? n : 0] = '\0';
    const char* first = std::strchr(text, '(');
    const char* last = std::strrchr(text, ')');
    if (first == nullptr || last == nullptr || last < first || std::strlen(last) < 5) {
        return false;
    }
    const std::size_t length = std::min<std::size_t>(last - first - 1, sizeof command - 1);
    std::memcpy(command, first + 1, length);
    command[length] = '\0';
    const char* field = last + 4;  // past ") S "
    for (parent = 0; *field >= '0' && *field <= '9'; ++field) {
        parent = parent * 10 + (*field - '0');
    }
    return true;
}

int ProcChildren::openListing() {
    return open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

long ProcChildren::readListing(int listing, char* buffer, std::size_t size) {
    return syscall(SYS_getdents64, listing, buffer, size);
}

void ProcChildren::closeListing(int listing) {
    close(listing);
}

}  // namespace brv
