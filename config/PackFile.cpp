#include "config/PackFile.h"

#include <cstdio>
#include <cstring>

#include <unistd.h>

#include "platform/FileIo.h"

namespace brv {

namespace {

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

DataBlob toBlob(const std::vector<std::uint8_t>& bytes, std::uint32_t offset) {
    DataBlob blob;
    if (bytes.empty()) {
        return blob;
    }
    blob.data = std::make_unique<std::uint8_t[]>(bytes.size());
    std::memcpy(blob.data.get(), bytes.data(), bytes.size());
    blob.size = static_cast<std::uint32_t>(bytes.size());
    blob.offset = offset;
    return blob;
}

}  // namespace

std::string toArchiveName(const std::string& path) {
    std::string name = path;
    for (char& c : name) {
        if (c == '/') {
            c = '\\';
        }
    }
    return name;
}

PackFile::PackFile(std::string baseDir) : baseDir_(std::move(baseDir)) {}

std::string PackFile::resolve(const std::string& relative) const {
    if (baseDir_.empty() || baseDir_ == "." || (!relative.empty() && relative[0] == '/')) {
        return relative;
    }
    return baseDir_ + "/" + relative;
}

bool PackFile::open(const std::string& path) {
    const std::string full = resolve(path);
    // One checked descriptor serves the whole directory read: what was found
    // to be a regular file is what gets read, and a FIFO is never waited on.
    std::uint64_t total = 0;
    const int fd = openForReading(full, total, openProblem_);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (file == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    archivePath_ = full;
    directory_.clear();
    names_.clear();
    damage_.clear();
    readDirectory(file, total);
    std::fclose(file);
    return true;
}

// The directory is bounded by the archive's real size: one that announces more
// entries or bigger data than the file holds ends where the file ends, and a
// name longer than the format allows ends it too. What ended it early is kept
// in damage_.
void PackFile::readDirectory(std::FILE* file, std::uint64_t total) {
    std::uint8_t header[6];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) {
        damage_ = "too short to hold an archive header";
        return;
    }
    const std::uint32_t count = readU32(header + 2);
    auto endsEarly = [&](const std::string& why) {
        if (names_.empty()) {
            // Nothing of it reads as a directory: another kind of file, or
            // one damaged from its start.
            damage_ = "it is no archive of this game: its directory announces " +
                      std::to_string(count) + " entries and not one can be read (" + why + ")";
            return;
        }
        damage_ = "its directory ends after " + std::to_string(names_.size()) + " of " +
                  std::to_string(count) + " entries: " + why;
    };
    std::uint64_t pos = sizeof header;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t field[4];
        if (std::fread(field, 1, 4, file) != 4) {
            return endsEarly("the file ends");
        }
        const std::uint32_t nameLength = readU32(field);
        if (nameLength > kMaxNameLength) {
            return endsEarly("a name of " + std::to_string(nameLength) + " bytes (at most " +
                             std::to_string(kMaxNameLength) + ")");
        }
        char name[kMaxNameLength + 1];
        if (pos + 8 + nameLength > total || std::fread(name, 1, nameLength, file) != nameLength ||
            std::fread(field, 1, 4, file) != 4) {
            return endsEarly("the file ends");
        }
        const std::uint32_t size = readU32(field);
        const std::uint64_t offset = pos + 8 + nameLength;
        if (offset > UINT32_MAX) {
            return endsEarly("an entry beyond 4 GiB");
        }
        const std::uint64_t available = total - offset;
        const bool truncated = size > available;
        names_.emplace_back(name, nameLength);
        directory_.push_back({truncated ? static_cast<std::uint32_t>(available) : size,
                              static_cast<std::uint32_t>(offset)});
        pos = offset + size;
        if (truncated) {
            return endsEarly("\"" + names_.back() + "\" is cut short, " +
                             std::to_string(available) + " of " + std::to_string(size) +
                             " bytes are there");
        }
        if (std::fseek(file, static_cast<long>(pos), SEEK_SET) != 0) {
            return endsEarly("the file cannot be read past \"" + names_.back() + "\"");
        }
    }
}

int PackFile::find(const std::string& path) const {
    const std::string name = toArchiveName(path);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool PackFile::contains(const std::string& path) const {
    return find(path) >= 0;
}

DataBlob PackFile::readEntryAt(std::size_t index) const {
    if (index >= directory_.size()) {
        return DataBlob{};
    }
    const Entry& entry = directory_[index];
    auto bytes = readFileRange(archivePath_, entry.offset, entry.size);
    return bytes ? toBlob(*bytes, entry.offset) : DataBlob{};
}

DataBlob PackFile::readEntry(const std::string& path) const {
    if (const int index = find(path); index >= 0) {
        return readEntryAt(static_cast<std::size_t>(index));
    }
    // Not in the archive: a loose file at the same relative path.
    auto bytes = readWholeFile(resolve(path));
    return bytes ? toBlob(*bytes, 0) : DataBlob{};
}

}  // namespace brv
