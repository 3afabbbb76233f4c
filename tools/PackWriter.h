#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brv {

// Builds archives in the format PackFile reads: two mark bytes, the entry
// count, then for every entry its name length, name (with '\' separators),
// data size and data, all integers little-endian.
struct PackInput {
    std::string name;  // written with '/' or '\'; stored with '\'
    std::vector<std::uint8_t> data;
};

// Encodes the entries in the order given. Fails (message in `error`) for a
// name the reader cannot carry: empty or longer than 79 bytes.
bool encodePack(const std::vector<PackInput>& entries, std::vector<std::uint8_t>& out,
                std::string& error);

// Collects every regular file under `dir`, named relative to it and sorted
// byte-wise, so the same tree always gives the same archive. Anything else
// there but folders (a FIFO, a device, a link to one) is left out and named
// in `skipped`.
bool collectFolder(const std::string& dir, std::vector<PackInput>& entries, std::string& error,
                   std::vector<std::string>& skipped);

}  // namespace brv
