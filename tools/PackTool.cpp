// brevora-pack: creates, lists and unpacks the game's resource archive.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>

#include "config/PackFile.h"
#include "platform/FileIo.h"
#include "tools/PackWriter.h"

namespace {

// Two header bytes and the entry count.
constexpr std::uintmax_t kEmptyArchiveBytes = 6;

// The tool only ever replaces regular files: a device, a FIFO, a folder or a
// link found where it writes is not its to replace (nor, for a link, what the
// link leads to), so it is named and left as it is.
bool refusesTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) {
        return false;
    }
    std::cerr << "brevora-pack: \"" << path
              << "\" is there and is not a regular file; it is left as it is\n";
    return true;
}

// The same for the folders an extracted name passes through below `dir`:
// one that is a link would lead the file out of the target folder.
bool refusesFolders(const std::string& dir, const std::string& relative) {
    for (std::size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1)) {
        const std::string folder = dir + "/" + relative.substr(0, slash);
        struct stat st {};
        if (::lstat(folder.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
            std::cerr << "brevora-pack: \"" << folder
                      << "\" is there and is not a folder; it is left as it is\n";
            return true;
        }
    }
    return false;
}

int create(const std::string& out, const std::string& dir) {
    std::vector<brv::PackInput> entries;
    std::vector<std::uint8_t> bytes;
    std::string error;
    std::vector<std::string> skipped;
    if (!brv::collectFolder(dir, entries, error, skipped) ||
        !brv::encodePack(entries, bytes, error)) {
        std::cerr << "brevora-pack: " << error << "\n";
        return 1;
    }
    for (const std::string& name : skipped) {
        std::cerr << "brevora-pack: skipping \"" << name << "\": not a regular file\n";
    }
    if (refusesTarget(out)) {
        return 1;
    }
    if (!brv::writeFileAtomically(out, bytes.data(), bytes.size())) {
        std::cerr << "brevora-pack: cannot write \"" << out << "\"\n";
        return 1;
    }
    // The archive holds less than the folder: a script must not take it for all.
    return skipped.empty() ? 0 : 1;
}

// An archive with no entries is its six-byte header alone: a bigger file
// whose directory reads as empty (a file of zeros, say) is something else.
bool openArchive(const std::string& in, brv::PackFile& pack) {
    if (!pack.open(in)) {
        std::cerr << "brevora-pack: cannot open \"" << in << "\"\n";
        return false;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(in, ec);
    if (pack.names().empty() && pack.damage().empty() && !ec && size > kEmptyArchiveBytes) {
        std::cerr << "brevora-pack: \"" << in << "\" is no archive of this game: its directory "
                  << "holds no entry, yet the file has " << size << " bytes\n";
        return false;
    }
    return true;
}

// A damaged archive still shows or gives what it holds before the damage, and
// then fails, so a script never takes part of an archive for all of it.
int reportDamage(const std::string& in, const brv::PackFile& pack) {
    if (pack.damage().empty()) {
        return 0;
    }
    std::cerr << "brevora-pack: \"" << in << "\" is damaged: " << pack.damage() << "\n";
    return 1;
}

int list(const std::string& in) {
    brv::PackFile pack;
    if (!openArchive(in, pack)) {
        return 1;
    }
    for (std::size_t i = 0; i < pack.names().size(); ++i) {
        std::cout << pack.names()[i] << " " << pack.directory()[i].size << "\n";
    }
    return reportDamage(in, pack);
}

// The path an entry is extracted to: its name with '/' separators.
std::string extractedPath(const std::string& name) {
    std::string relative = name;
    for (char& c : relative) {
        c = c == '\\' ? '/' : c;
    }
    return relative;
}

// For every extracted path, the entry the game reads there: the first whose
// name the game's lookup matches (no '/' of its own), else the first to land
// there. Any other entry of that path is never read by the game.
std::map<std::string, std::size_t> entriesTheGameReads(const brv::PackFile& pack) {
    const auto& names = pack.names();
    std::map<std::string, std::size_t> read;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto [at, added] = read.try_emplace(extractedPath(names[i]), i);
        if (!added && names[at->second].find('/') != std::string::npos &&
            names[i].find('/') == std::string::npos) {
            at->second = i;
        }
    }
    return read;
}

// A name given twice is extracted as the game reads it and every other entry
// of it is named, so that packing the folder again gives the game's archive;
// the tool then fails, as for an unsafe name, since the folder holds less
// than the archive.
int extract(const std::string& in, const std::string& dir) {
    brv::PackFile pack;
    if (!openArchive(in, pack)) {
        return 1;
    }
    const auto theGameReads = entriesTheGameReads(pack);
    bool skipped = false;
    for (std::size_t i = 0; i < pack.names().size(); ++i) {
        const std::string& name = pack.names()[i];
        const std::string relative = extractedPath(name);
        // Names come from the archive: never write outside the target folder.
        std::filesystem::path rel(relative);
        if (rel.is_absolute() || relative.find("..") != std::string::npos) {
            std::cerr << "brevora-pack: skipping unsafe name \"" << name << "\"\n";
            skipped = true;
            continue;
        }
        if (const std::size_t read = theGameReads.at(relative); read != i) {
            std::cerr << "brevora-pack: skipping entry " << i + 1 << " \"" << name
                      << "\": a duplicate of entry " << read + 1 << " \"" << pack.names()[read]
                      << "\", which the game reads\n";
            skipped = true;
            continue;
        }
        // By position: a name may already hold '/', which a lookup by path
        // would turn into another name and miss.
        brv::DataBlob blob = pack.readEntryAt(i);
        const std::string target = dir + "/" + relative;
        if (refusesFolders(dir, relative) || refusesTarget(target)) {
            skipped = true;
            continue;
        }
        if (!brv::writeFileAtomically(target, blob.bytes(), blob.size)) {
            std::cerr << "brevora-pack: cannot write \"" << target << "\"\n";
            return 1;
        }
    }
    return reportDamage(in, pack) != 0 || skipped ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Creates, lists and unpacks Brevora resource archives (data.pk)."};
    app.require_subcommand(1);
    std::string archive, folder;
    auto* createCmd = app.add_subcommand(
        "create", "pack every file under DIR into OUT.pk (a new file or a regular one)");
    createCmd->add_option("OUT.pk", archive)->required();
    createCmd->add_option("DIR", folder)->required();
    auto* listCmd = app.add_subcommand("list", "print one line per entry: name size");
    listCmd->add_option("IN.pk", archive)->required();
    auto* extractCmd = app.add_subcommand(
        "extract",
        "unpack every entry into DIR; of a name given twice the entry the game reads (the "
        "first), the others named on stderr. Exits 1 when an entry was skipped (a duplicate, "
        "an unsafe name, or a name where something other than a file stands) or the archive "
        "is damaged");
    extractCmd->add_option("IN.pk", archive)->required();
    extractCmd->add_option("DIR", folder)->required();
    CLI11_PARSE(app, argc, argv);
    if (createCmd->parsed()) {
        return create(archive, folder);
    }
    if (listCmd->parsed()) {
        return list(archive);
    }
    return extract(archive, folder);
}
