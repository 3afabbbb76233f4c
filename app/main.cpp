// The game's entry: refuses to start on broken data, then runs the program
// until the player quits.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/GamePlayScreens.h"
#include "app/Program.h"
#include "config/GameParams.h"
#include "platform/SdlPlatform.h"

namespace {

int refuse(const std::vector<std::string>& problems) {
    std::fprintf(stderr, "brevora: the game data is not usable, so the game cannot start:\n");
    for (const std::string& line : problems) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::fprintf(stderr,
                 "Start the game from the folder that holds data/data.pk (build/game/), or "
                 "repair the files named above.\n");
    return 1;
}

void explainNoWindow(const std::string& error) {
    std::fprintf(stderr, "brevora: cannot open the game window: %s\n", error.c_str());
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr,
                     "No display is set (DISPLAY is empty). Start the game from a desktop "
                     "session, or under a virtual display:\n"
                     "    xvfb-run -a -s \"-screen 0 1024x768x24\" ./brevora\n");
    }
}

}  // namespace

int main() {
    brv::GameParams& params = brv::gameParams();
    if (const std::vector<std::string> problems = params.startupProblems(); !problems.empty()) {
        return refuse(problems);
    }
    brv::SdlPlatform platform;
    if (!platform.ok()) {
        explainNoWindow(platform.error());
        return 1;
    }
    brv::GamePlayScreens screens;
    brv::Program program(platform, params, screens);
    if (!program.start()) {
        explainNoWindow(platform.error());
        return 1;
    }
    const int exitCode = program.run();
    program.stop();
    return exitCode;
}
