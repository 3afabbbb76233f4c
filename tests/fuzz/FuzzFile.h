#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brv::fuzz {

// A per-process scratch file holding the fuzzer's bytes, for readers that
// take a path rather than memory.
std::string writeScratch(const std::uint8_t* data, std::size_t size);

}  // namespace brv::fuzz
