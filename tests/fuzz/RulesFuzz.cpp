// The rules file read into the parameters and checked as at start-up.
#include <cstdint>

#include "config/GameParams.h"
#include "config/KeyValueFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static brv::GameParams params("/nonexistent");
    brv::KeyValueFile rules;
    rules.loadFromMemory(data, size, true);
    params.readRules(rules);
    (void)params.ruleProblems();
    return 0;
}
