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

// Runs `check` in a child process that an alarm ends after a few seconds, so
// a writer stuck opening a FIFO (which no reader releases) fails the test
// instead of hanging it. True when the child finished in time and `check`
// returned true.
bool passesInChild(const std::function<bool()>& check);

}  // namespace brv::test
