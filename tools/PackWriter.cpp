#include "tools/PackWriter.h"

#include <algorithm>
#include <filesystem>

#include "config/PackFile.h"
#include "platform/FileIo.h"

namespace brv {

namespace {
void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}
}  // namespace

bool encodePack(const std::vector<PackInput>& entries, std::vector<std::uint8_t>& out,
                std::string& error) {
    out.clear();
    out.push_back('B');
    out.push_back('V');
    putU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const PackInput& entry : entries) {
        const std::string name = toArchiveName(entry.name);
        if (name.empty() || name.size() > PackFile::kMaxNameLength) {
            error = "the name \"" + entry.name + "\" has " + std::to_string(name.size()) +
                    " bytes; an archive name must have 1 to " +
                    std::to_string(PackFile::kMaxNameLength);
            return false;
        }
        if (entry.data.size() > UINT32_MAX || out.size() + entry.data.size() > UINT32_MAX - 100) {
            error = "the archive would exceed 4 GiB at \"" + entry.name + "\"";
            return false;
        }
        putU32(out, static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        putU32(out, static_cast<std::uint32_t>(entry.data.size()));
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    }
    return true;
}

bool collectFolder(const std::string& dir, std::vector<PackInput>& entries, std::string& error,
                   std::vector<std::string>& skipped) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        error = "\"" + dir + "\" is not a folder";
        return false;
    }
    std::vector<std::string> names;
    const fs::path base = fs::path(dir).lexically_normal();
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        // Named by where it lies in the folder, never by where a link leads.
        const std::string name = it->path().lexically_relative(base).generic_string();
        if (it->is_regular_file(ec)) {
            names.push_back(name);
        } else if (!it->is_directory(ec)) {
            // A FIFO, a device or a link to one is never read (it could wait
            // for ever or never end); it is named, so nothing goes missing
            // from the archive unsaid.
            skipped.push_back(name);
        }
    }
    if (ec) {
        error = "cannot read the folder \"" + dir + "\": " + ec.message();
        return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        auto bytes = readWholeFile(dir + "/" + name);
        if (!bytes) {
            error = "cannot read \"" + dir + "/" + name + "\"";
            return false;
        }
        entries.push_back({name, std::move(*bytes)});
    }
    return true;
}

}  // namespace brv
