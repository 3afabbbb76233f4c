#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace brv {

// Largest file the game will read in one piece. Nothing in the data set comes
// near it; it only stops a damaged or hostile file from exhausting memory.
inline constexpr std::uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

// Why a file could not be read, so that a message can say it: a player's file
// that is there but unreadable must never be mistaken for a missing one.
struct ReadProblem {
    enum class Kind { kNone, kAbsent, kNotRegular, kTooLarge, kSystem };
    Kind kind = Kind::kNone;
    int error = 0;            // the system's errno, for kSystem
    std::uint64_t limit = 0;  // the largest size allowed, for kTooLarge

    bool absent() const { return kind == Kind::kAbsent; }
    // There, but it cannot be read: anything but read or absent.
    bool unreadable() const { return kind != Kind::kNone && kind != Kind::kAbsent; }
    // "no such file", "not a regular file", "larger than N bytes" or the system's words.
    std::string text() const;
};

// Size of a regular file, or nothing if it cannot be opened.
std::optional<std::uint64_t> fileSize(const std::string& path);

// Reads a whole regular file (at most maxBytes; a larger file is refused).
// Nothing that is not a regular file is ever waited on (a FIFO, a device).
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes = kMaxFileBytes);
// The same, saying why when it returns nothing.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes, ReadProblem& why);

// Whether `path` could be read now (at most maxBytes, as readWholeFile),
// without reading it.
ReadProblem readProblem(const std::string& path, std::uint64_t maxBytes = kMaxFileBytes);

// Opens a regular file for reading and gives its size; -1 and `why` when it
// is absent, not a regular file or cannot be opened. The caller closes it.
int openForReading(const std::string& path, std::uint64_t& size, ReadProblem& why);

// Reads up to `count` bytes at `offset`; returns what is really there (possibly fewer).
std::optional<std::vector<std::uint8_t>> readFileRange(const std::string& path,
                                                       std::uint64_t offset, std::uint64_t count);

// Writes a file so that a crash or a full disk never leaves it half-written:
// the bytes go to a temporary file the writer creates itself in the same
// folder (never one it finds there), are flushed and synced, then renamed
// over the old file. The folder is created when missing. A path that is a
// symbolic link is never written through: the link itself is replaced and
// the file it led to stays as it was. Temporaries of the same file that an
// earlier save left when it was killed (regular files whose writer no longer
// runs) are cleared first. On any failure the old file is left as it was and
// false is returned.
bool writeFileAtomically(const std::string& path, const void* data, std::size_t size);

// Creates every missing folder on the way to `dir`.
bool makeDirectories(const std::string& dir);

bool removeFile(const std::string& path);

// "<prefix>-2026-12-08-031522<extension>" in `dir` for the local time `now`,
// or with "-2", "-3" ... after the time when that name is taken; empty when
// a thousand names of the same second are.
std::string freeDatedName(const std::string& dir, const std::string& prefix,
                          const std::string& extension, std::time_t now);

// Why the game could not create files in `dir`: the system's reason, naming the
// folder that refuses when it is one above `dir` (a missing folder is made on
// the first save, so it is the nearest existing one that must let us write).
// Nothing when it can.
std::optional<std::string> folderWriteProblem(const std::string& dir);

// The running executable's own path with links resolved; empty when the
// system does not tell (no /proc).
std::string executablePath();

// A log a script follows while the program runs (the scenarios' tick and
// coach logs): `path` opened for writing and flushed line by line; null when
// `path` is empty or cannot be written.
std::FILE* openLineLog(const std::string& path);

}  // namespace brv
