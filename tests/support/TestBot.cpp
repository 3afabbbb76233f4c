// A bot program for the tests, misbehaving as its one argument says:
//   echo     answers every line with the same line (for the process tests);
//   idle     answers every state with no actions;
//   crash    answers twice, then exits with status 3;
//   hang     reads and never answers;
//   flood    answers with one endless line;
//   garbage  answers every state with a line that is no JSON;
//   close    closes its stdout and goes on reading;
//   slow     answers every state after 50 ms with a click at (400, 300);
//   deaf     never reads its input and stays alive;
//   stale    reads its input and meanwhile writes answers to decision 0
//            endlessly.
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace {

// The decision number of a state line, found without a JSON reader.
std::string decisionOf(const std::string& line) {
    const auto at = line.find("\"decision\":");
    return at == std::string::npos ? "" : line.substr(at + 11, line.find(',', at) - at - 11);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "idle";
    if (mode == "close") {
        close(STDOUT_FILENO);
    }
    if (mode == "deaf") {
        for (;;) {
            pause();
        }
    }
    if (mode == "stale") {
        // One process of the group reads, the others write: several, so
        // one is always ready to write while the game reads, in blocks
        // small enough to arrive whole.
        if (fork() == 0 || fork() == 0 || fork() == 0) {
            std::string stale;
            for (int k = 0; k < 100; ++k) {
                stale += "{\"decision\":0,\"actions\":[]}\n";
            }
            while (write(STDOUT_FILENO, stale.data(), stale.size()) > 0) {
            }
            return 0;
        }
        char chunk[4096];
        while (read(STDIN_FILENO, chunk, sizeof chunk) > 0) {
        }
        return 0;
    }
    std::string line;
    int answered = 0;
    while (std::getline(std::cin, line)) {
        const std::string decision = decisionOf(line);
        if (mode == "echo") {
            std::cout << line << std::endl;
        } else if (decision.empty() || mode == "hang" || mode == "close") {
            continue;
        } else if (mode == "flood") {
            const std::string chunk(4096, 'x');
            while (std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size()) {
            }
            return 0;
        } else if (mode == "garbage") {
            std::cout << "{decision: " << decision << ", oops" << std::endl;
        } else if (mode == "crash" && ++answered > 2) {
            return 3;
        } else if (mode == "slow") {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::cout << "{\"decision\":" << decision << ",\"actions\":[{\"set\":[400,300]}]}"
                      << std::endl;
        } else {
            std::cout << "{\"decision\":" << decision << ",\"actions\":[]}" << std::endl;
        }
    }
    return 0;
}
