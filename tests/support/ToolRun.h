#pragma once

#include <cstdio>
#include <string>

namespace brv::test {

// What a tool of the build printed on stdout, and its exit status as
// pclose gives it (-1 when it could not be run).
struct ToolRun {
    int status = -1;
    std::string out;
};

// Runs the built tool `name` (in the build's bin folder) with `args`, its
// stderr dropped, or kept in `out` after stdout with `withStderr`.
inline ToolRun runBuiltTool(const std::string& name, const std::string& args,
                            bool withStderr = false) {
    const std::string command = std::string(BREVORA_BUILD_DIR) + "/bin/" + name + " " + args +
                                (withStderr ? " 2>&1" : " 2>/dev/null");
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.out += buffer;
    }
    run.status = pclose(pipe);
    return run;
}

}  // namespace brv::test
