// Damaged high-score files: scrambled bytes that may or may not unlock.
#include <cstdint>

#include "config/ScoreTable.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::ScoreTable table;
    table.load(brv::fuzz::writeScratch(data, size));
    (void)table.rank(1000);
    return 0;
}
