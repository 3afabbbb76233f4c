#pragma once

#include <functional>
#include <string>
#include <vector>

namespace brv::test {

// A FIFO made where a file of the game belongs. A reader that opens it
// blocking would wait forever for a writer.
class Fifo {
public:
    explicit Fifo(std::string path);

    const std::string& path() const { return path_; }
    // True when `read` returned within a few seconds.
    bool returnsPromptly(const std::function<void()>& read) const;

private:
    std::string path_;
};

// Runs `read` on its own thread and, should it wait on one of `fifos`,
// releases it by opening the other end, so a faulty reader fails the test
// instead of hanging it. True when `read` returned within a few seconds.
bool returnsPromptly(const std::vector<std::string>& fifos, const std::function<void()>& read);

}  // namespace brv::test
