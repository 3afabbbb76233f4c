#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace brv::test {

// The processes whose command line (its words joined by NULs, as /proc
// keeps it) holds `marker`.
inline std::vector<pid_t> processesWith(const std::string& marker) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        const std::string words((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        if (words.find(marker) != std::string::npos) {
            found.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return found;
}

// Waits up to `ms` for a process whose command line holds `marker`.
inline bool waitForProcessWith(const std::string& marker, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (!processesWith(marker).empty()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Kills whatever a failed test left running with `marker`.
inline void killProcessesWith(const std::string& marker) {
    for (const pid_t pid : processesWith(marker)) {
        kill(pid, SIGKILL);
    }
}

}  // namespace brv::test
