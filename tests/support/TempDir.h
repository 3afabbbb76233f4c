#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brv::test {

// A fresh folder for one test, removed when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }

    // Writes a file below the folder, creating its parent folders.
    void write(const std::string& relative, const std::string& bytes) const;
    void write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> read(const std::string& relative) const;

private:
    std::string path_;
};

}  // namespace brv::test
