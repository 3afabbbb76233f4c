// Damaged and hostile resource archives: the directory and every entry.
#include <cstdint>

#include "config/PackFile.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = brv::fuzz::writeScratch(data, size);
    brv::PackFile archive("/");
    if (!archive.open(path)) {
        return 0;
    }
    for (std::size_t i = 0; i < archive.names().size(); ++i) {
        const auto& entry = archive.directory()[i];
        if (static_cast<std::uint64_t>(entry.offset) + entry.size > size) {
            __builtin_trap();  // the directory promised bytes the file does not hold
        }
        std::string name = archive.names()[i];
        for (char& c : name) {
            c = c == '\\' ? '/' : c;
        }
        // Only archive hits: a name could otherwise point anywhere on disk.
        if (archive.contains(name)) {
            (void)archive.readEntry(name);
        }
    }
    return 0;
}
