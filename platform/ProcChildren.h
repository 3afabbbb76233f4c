#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>

namespace brv {

// The children of a process as /proc lists them, read with plain system
// calls into the caller's stack: no allocation and no stdio, so a child
// forked from a game with other threads may use it.
class ProcChildren {
public:
    // Calls `visit(pid, name, command)` for every process whose parent is
    // `parent`; `name` is the pid as /proc names it, `command` its command.
    template <typename Visit>
    static void forEach(pid_t parent, Visit visit);

    // A pid as /proc names it; 0 for any other entry.
    static pid_t toPid(const char* name);
    // The parent and command name of the process /proc calls `name`, from
    // its "pid (command) state parent ..." line; false when it is gone.
    static bool readStat(const char* name, pid_t& parent, char (&command)[32]);

private:
    // One record of /proc's directory listing as getdents64 gives it.
    struct DirEntry {
        std::uint64_t inode;
        std::int64_t offset;
        unsigned short length;
        unsigned char type;
        char name[1];
    };
    // /proc opened for listing; -1 when it cannot be.
    static int openListing();
    // The next records of the listing into `buffer`; their bytes, 0 at the
    // end, negative on an error.
    static long readListing(int listing, char* buffer, std::size_t size);
    static void closeListing(int listing);
};

template <typename Visit>
void ProcChildren::forEach(pid_t parent, Visit visit) {
    const int listing = openListing();
    if (listing < 0) {
        return;
    }
    alignas(DirEntry) char buffer[8192];
    long n = 0;
    while ((n = readListing(listing, buffer, sizeof buffer)) > 0) {
        for (long at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const DirEntry*>(buffer + at);
            at += entry->length;
            pid_t up = 0;
            char command[32];
            const pid_t pid = toPid(entry->name);
            if (pid > 0 && readStat(entry->name, up, command) && up == parent) {
                visit(pid, entry->name, command);
            }
        }
    }
    closeListing(listing);
}

}  // namespace brv
