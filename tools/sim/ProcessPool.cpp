#include "tools/sim/ProcessPool.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace brv {

namespace {

// A child's text is a result line or a setting's games; far more means a
// damaged file.
constexpr std::size_t kMaxText = std::size_t{64} << 20;

// A child writes its text into a file of its own, which the parent reads
// once the child has ended: nothing can block on a full pipe.
struct Child {
    pid_t pid = -1;
    std::string file;
    std::size_t item = 0;
};

Child start(std::size_t item, const ProcessWork& work) {
    char name[] = "/tmp/brevora-games-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        return {};
    }
    close(fd);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string text = work(item);
        std::FILE* out = std::fopen(name, "wb");
        const bool written =
            out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
        _exit(out != nullptr && std::fclose(out) == 0 && written ? 0 : 1);
    }
    if (pid < 0) {
        unlink(name);
        return {};
    }
    return {pid, name, item};
}

bool finish(const Child& child, int status, const ProcessDone& done) {
    std::string text;
    if (std::FILE* in = std::fopen(child.file.c_str(), "rb"); in != nullptr) {
        char buffer[4096];
        std::size_t n;
        while (text.size() <= kMaxText && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            text.append(buffer, n);
        }
        std::fclose(in);
    }
    unlink(child.file.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.size() > kMaxText) {
        return false;
    }
    done(child.item, text);
    return true;
}

}  // namespace

bool runInProcesses(std::size_t count, int jobs, const ProcessWork& work, const ProcessDone& done) {
    std::vector<Child> running;
    std::size_t next = 0;
    bool ok = true;
    while (next < count || !running.empty()) {
        while (ok && next < count && static_cast<int>(running.size()) < std::max(jobs, 1)) {
            const Child child = start(next, work);
            ok = child.pid > 0;
            if (ok) {
                running.push_back(child);
                ++next;
            }
        }
        if (running.empty()) {
            break;  // nothing more could be started
        }
        int status = 0;
        const pid_t ended = waitpid(-1, &status, 0);
        const auto child = std::find_if(running.begin(), running.end(),
                                        [&](const Child& c) { return c.pid == ended; });
        if (ended < 0 || child == running.end()) {
            return false;
        }
        ok = finish(*child, status, done) && ok;
        running.erase(child);
    }
    return ok && next == count;
}

}  // namespace brv
