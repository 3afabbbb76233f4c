// A table read from any file is written and read back with every entry as it
// was: no name or score changes on the way through the file.
#include <cstdint>
#include <string>

#include "config/ScoreTable.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::ScoreTable table;
    if (!table.load(brv::fuzz::writeScratch(data, size))) {
        return 0;
    }
    const std::string path = brv::fuzz::writeScratch(nullptr, 0) + ".tab";
    if (!table.save(path)) {
        __builtin_trap();
    }
    brv::ScoreTable back;
    if (!back.load(path) || back.entries().size() != table.entries().size()) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < table.entries().size(); ++i) {
        if (back.entries()[i].name != table.entries()[i].name ||
            back.entries()[i].score != table.entries()[i].score) {
            __builtin_trap();
        }
    }
    return 0;
}
