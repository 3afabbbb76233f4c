#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileIo.h"

namespace brv {

// One entry's bytes, owned by whoever asked for them. An empty blob (no data,
// size 0) stands for a resource found neither in the archive nor on disk.
struct DataBlob {
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;  // position in the archive; 0 for a disk file

    bool empty() const { return size == 0; }
    const std::uint8_t* bytes() const { return data.get(); }
};

// The read-only resource archive "data/data.pk". Entries are looked up by their
// relative path; a path the archive does not hold is read from the disk, so
// loose files stand in for entries and the game runs without an archive.
class PackFile {
public:
    static constexpr std::size_t kMaxNameLength = 79;

    struct Entry {
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
    };

    // `baseDir` is the folder that relative paths start from ("." for the game).
    explicit PackFile(std::string baseDir = ".");

    // Reads the directory. False (object unchanged) if the file cannot be opened;
    // openProblem() then says why. A truncated or damaged directory keeps the
    // entries that are really there.
    bool open(const std::string& path);

    // Path written with '/'. Archive first (exact, case-sensitive), then disk.
    DataBlob readEntry(const std::string& path) const;
    // The bytes of the directory's entry `index`, whatever its name holds;
    // empty when there is no such entry.
    DataBlob readEntryAt(std::size_t index) const;

    // True when the archive holds the path (no disk fallback).
    bool contains(const std::string& path) const;

    const std::vector<std::string>& names() const { return names_; }
    const std::vector<Entry>& directory() const { return directory_; }
    const std::string& baseDir() const { return baseDir_; }
    // The archive last opened, as it was found.
    const std::string& archivePath() const { return archivePath_; }
    // What is wrong with the archive last opened, in a few words ("" when its
    // directory was whole): the entries before the damage are still served.
    const std::string& damage() const { return damage_; }
    // Why the last open() failed (absent, not a regular file, the system's error).
    const ReadProblem& openProblem() const { return openProblem_; }

    // Joins a relative path onto the base folder.
    std::string resolve(const std::string& relative) const;

private:
    void readDirectory(std::FILE* file, std::uint64_t total);
    int find(const std::string& path) const;

    std::string baseDir_;
    std::string archivePath_;
    std::string damage_;
    ReadProblem openProblem_;
    std::vector<Entry> directory_;
    std::vector<std::string> names_;
};

// Turns '/' into the archive's '\' separator.
std::string toArchiveName(const std::string& path);

}  // namespace brv
