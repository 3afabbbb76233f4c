#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

namespace brv::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brevora-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p(file(relative));
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
    write(relative, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> TempDir::read(const std::string& relative) const {
    std::ifstream in(file(relative), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

}  // namespace brv::test
