// The game's entry: refuses to start on broken data, then runs the program
// until the player quits. `brevora --replay FILE` opens with that recorded
// game playing again over the menu; `brevora --bot COMMAND` lets a bot program
// steer the colony of every game the player starts.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/GamePlayScreens.h"
#include "app/MainScreen.h"
#include "app/Program.h"
#include "bothost/CommandWords.h"
#include "config/GameParams.h"
#include "platform/SdlPlatform.h"
#include "records/ReplayFiles.h"
#include "sim/Replay.h"

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

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display the video layer may fall back to a device nobody sees and
// the game would run invisibly, so the program stops and says why. A video
// driver chosen on purpose (SDL_VIDEODRIVER) is left to its own devices.
bool haveDisplay() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("SDL_VIDEODRIVER");
}

void explainNoDisplay() {
    std::fprintf(stderr,
                 "brevora: no display to open the game window on (DISPLAY is not set).\n"
                 "Start the game from a desktop session, or under a virtual display:\n"
                 "    xvfb-run -a -s \"-screen 0 1024x768x24\" ./brevora\n");
}

void explainUnreachableDisplay() {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "brevora: the display \"%s\" cannot be reached, so there is nowhere to open the "
                 "game window.\n"
                 "Start the game from a desktop session, or under a virtual display:\n"
                 "    xvfb-run -a -s \"-screen 0 1024x768x24\" ./brevora\n",
                 display != nullptr ? display : "");
}

void explainNoWindow(const std::string& error) {
    std::fprintf(stderr, "brevora: cannot open the game window: %s\n", error.c_str());
}

constexpr const char* kUsage =
    "usage: brevora               start the game\n"
    "       brevora --replay FILE play a recorded game again (replays/ in the folder the game\n"
    "                             saves in holds the last 20)\n"
    "       brevora --bot COMMAND every game's colony is steered by the bot program COMMAND\n"
    "                             (see docs/bots.md); the player watches\n";

struct Arguments {
    bool ok = true;
    bool help = false;
    std::string replay;
    std::string bot;
};

Arguments readArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            args.help = true;
        } else if (std::strcmp(argv[i], "--replay") == 0 && i + 1 < argc && args.replay.empty()) {
            args.replay = argv[++i];
        } else if (std::strcmp(argv[i], "--bot") == 0 && i + 1 < argc && args.bot.empty()) {
            args.bot = argv[++i];
        } else {
            std::fprintf(stderr, "brevora: unknown argument \"%s\"\n", argv[i]);
            args.ok = false;
        }
    }
    return args;
}

// A replay that cannot be played is refused before any window opens.
std::optional<brv::Replay> readReplay(const std::string& path, const brv::GameParams& params) {
    std::string why;
    std::optional<brv::Replay> replay = brv::ReplayFiles::readPlayable(path, params, why);
    if (!replay) {
        std::fprintf(stderr, "brevora: the replay \"%s\" cannot be played: %s\n", path.c_str(),
                     why.c_str());
        return std::nullopt;
    }
    return replay;
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments args = readArguments(argc, argv);
    if (!args.ok || args.help) {
        std::fputs(kUsage, args.ok ? stdout : stderr);
        return args.ok ? 0 : 2;
    }
    brv::GameParams params{brv::locateGame()};
    if (const std::vector<std::string> problems = params.startupProblems(); !problems.empty()) {
        return refuse(problems);
    }
    // A command that cannot be split into words is refused before any window
    // opens; one that names no program is found out when a game starts it.
    if (std::string why; !args.bot.empty() && !brv::splitCommandWords(args.bot, why)) {
        std::fprintf(stderr, "brevora: the bot command \"%s\" cannot be used: %s\n",
                     args.bot.c_str(), why.c_str());
        return 2;
    }
    std::optional<brv::Replay> replay;
    if (!args.replay.empty()) {
        replay = readReplay(args.replay, params);
        if (!replay) {
            return 2;
        }
    }
    if (!haveDisplay()) {
        explainNoDisplay();
        return 1;
    }
    brv::SdlPlatform platform;
    if (!platform.ok()) {
        explainNoWindow(platform.error());
        return 1;
    }
    if (!platform.displayReachable()) {
        explainUnreachableDisplay();
        return 1;
    }
    brv::GamePlayScreens screens(args.bot);
    brv::Program program(platform, params, screens);
    if (!program.start()) {
        explainNoWindow(platform.error());
        return 1;
    }
    if (replay) {
        program.mainScreen()->watchReplay(screens.newReplay(program.context(), *replay));
    }
    const int exitCode = program.run();
    program.stop();
    if (exitCode != 0 && !platform.error().empty()) {
        std::fprintf(stderr, "brevora: the game stopped: %s\n", platform.error().c_str());
    }
    return exitCode;
}
