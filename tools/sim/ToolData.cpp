#include "tools/sim/ToolData.h"

#include <filesystem>
#include <iostream>

#include "config/GameParams.h"

namespace brv {

std::string defaultDataDir(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        exe = std::filesystem::absolute(argv0, ec);
    }
    return (exe.parent_path() / ".." / "game").lexically_normal().string();
}

bool checkRules(const GameParams& params, const std::string& dir, const std::string& tool) {
    std::error_code ec;
    if (!params.m_archive.contains("dat/param.txt") &&
        !std::filesystem::is_regular_file(params.m_archive.resolve("dat/param.txt"), ec)) {
        std::cerr << tool << ": \"dat/param.txt\" was found neither in \"" << dir
                  << "/data/data.pk\" nor as a loose file under \"" << dir << "\"\n";
        return false;
    }
    const auto problems = params.ruleProblems();
    for (const auto& p : problems) {
        std::cerr << tool << ": dat/param.txt: " << p << "\n";
    }
    return problems.empty();
}

}  // namespace brv
