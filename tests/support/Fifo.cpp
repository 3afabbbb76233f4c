#include "tests/support/Fifo.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brv::test {

Fifo::Fifo(std::string path) : path_(std::move(path)) {
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    if (::mkfifo(path_.c_str(), 0644) != 0) {
        throw std::runtime_error("cannot make the FIFO " + path_);
    }
}

bool Fifo::returnsPromptly(const std::function<void()>& read) const {
    return test::returnsPromptly({path_}, read);
}

bool returnsPromptly(const std::vector<std::string>& fifos, const std::function<void()>& read) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread reader([&] {
        read();
        done.set_value();
    });
    const bool prompt = finished.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // A reader stuck in open() is let go by a writer appearing and leaving;
    // its read of the FIFO then sees an empty file and returns.
    while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const std::string& fifo : fifos) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    reader.join();
    return prompt;
}

bool passesInChild(const std::function<bool()>& check) {
    constexpr unsigned kSeconds = 10;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(kSeconds);
        const bool passed = check();
        std::fflush(nullptr);
        ::_exit(passed ? 0 : 1);
    }
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace brv::test
