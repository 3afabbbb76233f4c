#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "config/GameParams.h"
#include "sim/Replay.h"
#include "sim/World.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"
#include "tools/arena/ArenaGame.h"
#include "tools/arena/Elo.h"
#include "tools/arena/ResultFile.h"
#include "tools/arena/Sprt.h"
#include "tools/sim/ReplayRuns.h"

namespace brv {
namespace {

const std::string kAssets = std::string(BREVORA_SOURCE_DIR) + "/assets";

test::ToolRun runArena(const std::string& args) {
    return test::runBuiltTool("brevora-arena", args);
}

// Figures worked out by hand from the formulas of Elo.h and Sprt.h.
TEST(Arena, EloAndSprtGiveTheHandCheckedFigures) {
    const EloEstimate seventy = eloFromTally({60, 20, 20});  // a score of 70%
    EXPECT_NEAR(seventy.elo, 147.19, 0.01);
    EXPECT_NEAR(seventy.low, 86.22, 0.01);
    EXPECT_NEAR(seventy.high, 218.25, 0.01);
    EXPECT_NEAR(eloFromTally({5, 0, 5}).elo, 0, 1e-9);
    EXPECT_NEAR(eloFromTally({10, 0, 0}).elo, 511.5, 0.1);  // 95%: half a game short of all

    const Sprt test(0, 30, 0.05, 0.05);
    EXPECT_NEAR(test.upper(), 2.944, 0.001);
    EXPECT_NEAR(test.lower(), -2.944, 0.001);
    GameTally tally;
    while (test.verdict(tally) == Sprt::Verdict::Open && tally.games() < 1000) {
        ++tally.wins;
    }
    EXPECT_EQ(test.verdict(tally), Sprt::Verdict::H1);
    EXPECT_EQ(tally.games(), 9);
    tally = {};
    while (test.verdict(tally) == Sprt::Verdict::Open && tally.games() < 2000) {
        ++(tally.games() % 2 == 0 ? tally.wins : tally.losses);
    }
    EXPECT_EQ(test.verdict(tally), Sprt::Verdict::H0);
    EXPECT_EQ(tally.games(), 792);
}

int lines(const test::TempDir& dir, const std::string& file) {
    const auto bytes = dir.read(file);
    return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// A cluster task playing one share of a huge tournament works out its own
// games alone: 300 million games in the schedule, three in this share, under
// a gigabyte of address space (the whole list would take five).
TEST(Arena, OneShareOfAHugeTournamentPlaysUnderAMemoryLimit) {
#ifdef __SANITIZE_ADDRESS__
    const std::string limit;  // the sanitizer's shadow memory outgrows any small limit
#else
    const std::string limit = "ulimit -v 1000000; ";
#endif
    test::TempDir dir;
    const std::string command = limit + "exec " + std::string(BREVORA_BUILD_DIR) +
                                "/bin/brevora-arena easy medium hard idle forager novice "
                                "--games 10000000 --shard 2/100000000 --max-ticks 60 --jobs 1 "
                                "--results " +
                                dir.file("share.jsonl") + " --replays " + dir.file("replays") +
                                " --data " + kAssets + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(lines(dir, "share.jsonl"), 3);
}

TEST(Arena, ShardsMergeIntoTheWholeTableAndEveryKeptReplayChecks) {
    test::TempDir dir;
    const std::string common =
        " easy forager novice --games 2 --max-ticks 1500 --jobs 2 --data " + kAssets;
    const test::ToolRun whole = runArena("--results " + dir.file("whole.jsonl") + " --replays " +
                                         dir.file("replays") + common);
    ASSERT_EQ(whole.status, 0);
    EXPECT_EQ(lines(dir, "whole.jsonl"), 12);  // 3 pairings, 2 seeds, both colonies
    for (const char* share : {"1/2", "2/2"}) {
        const std::string file = dir.file(std::string("share") + share[0] + ".jsonl");
        ASSERT_EQ(runArena("--shard " + std::string(share) + " --results " + file + " --replays " +
                           dir.file("shares") + common)
                      .status,
                  0);
    }
    const std::string shares = dir.file("share1.jsonl") + " " + dir.file("share2.jsonl");
    EXPECT_EQ(runArena("--merge " + shares).out, whole.out);
    EXPECT_NE(whole.out.find("forager "), std::string::npos);
    EXPECT_NE(
        runArena("--merge " + dir.file("share1.jsonl") + " " + dir.file("share1.jsonl")).status,
        0);  // a share counted twice
    dir.write("damaged.jsonl", "{\"game\":1,\"seed\":2}\n");
    EXPECT_NE(runArena("--merge " + dir.file("damaged.jsonl")).status, 0);

    GameParams params(kAssets);
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("replays"))) {
        EXPECT_EQ(checkReplayFile(params, entry.path().string()), 0) << entry.path();
        ++replays;
    }
    EXPECT_EQ(replays, 12);  // every game, whichever colony is steered

    const test::ToolRun sprt =
        runArena("--sprt forager idle --games 3 --max-ticks 1500 --results " +
                 dir.file("sprt.jsonl") + " --replays " + dir.file("sprt") + " --data " + kAssets);
    ASSERT_EQ(sprt.status, 0);
    EXPECT_NE(sprt.out.find("LLR "), std::string::npos);
    EXPECT_EQ(lines(dir, "sprt.jsonl") % 2, 0);  // whole pairs only
    EXPECT_NE(runArena("easy nobody --data " + kAssets).status, 0);
}

// A merged line holds only what a game writes; any other is refused by file
// and line, and the test's bounds must be finite numbers.
TEST(Arena, ResultLinesNoGameWritesAndNonFiniteBoundsAreRefused) {
    test::TempDir dir;
    ArenaResult game;
    game.seed = 4294967295u;
    game.players = {"easy", "idle"};
    game.ticks = Replay::kMaxUpdates;
    game.count = {0, World::kSlots};
    game.checksum = "0123456789abcdef";
    const std::string good = toJsonLine(game);
    std::vector<ArenaResult> results;
    std::string why;
    dir.write("good.jsonl", good + "\n");
    ASSERT_TRUE(readResultFile(dir.file("good.jsonl"), results, why)) << why;
    EXPECT_EQ(results[0].seed, 4294967295u);
    const auto swap = [&](const std::string& from, const std::string& to) {
        std::string line = good;
        line.replace(line.find(from), from.size(), to);
        return line;
    };
    for (const auto& [line, field] :
         {std::pair{swap("4294967295", "5000000000"), "seed 5000000000"},
          std::pair{swap("\"ticks\":" + std::to_string(Replay::kMaxUpdates), "\"ticks\":-7"),
                    "ticks -7"},
          std::pair{
              swap("\"ticks\":" + std::to_string(Replay::kMaxUpdates), "\"ticks\":99999999999"),
              "ticks 99999999999"},
          std::pair{swap("[0,30000]", "[-5,30000]"), "count -5"},
          std::pair{swap("[0,30000]", "[0,99999999999]"), "count 99999999999"},
          std::pair{swap("\"idle\"", "\"easy\""), "two different players"}}) {
        dir.write("bad.jsonl", "\n" + line + "\n");
        results.clear();
        EXPECT_FALSE(readResultFile(dir.file("bad.jsonl"), results, why)) << line;
        EXPECT_EQ(why.find(dir.file("bad.jsonl") + ":2: no game result: "), 0u) << why;
        EXPECT_NE(why.find(field), std::string::npos) << why;
        EXPECT_TRUE(results.empty());
    }
    EXPECT_EQ(runArena("--merge " + dir.file("bad.jsonl")).status, 2 << 8);
    for (const char* bounds : {"--elo0 nan", "--elo1 inf", "--elo0 -inf"}) {
        EXPECT_EQ(
            runArena("--sprt easy idle --games 1 --max-ticks 1 --results " + dir.file("s.jsonl") +
                     " --replays " + dir.file("s") + " --data " + kAssets + " " + bounds)
                .status,
            2 << 8)
            << bounds;
    }
    // A FIFO named as the results file is refused at once, never waited on.
    ASSERT_EQ(::mkfifo(dir.file("fifo.jsonl").c_str(), 0600), 0);
    EXPECT_EQ(std::system(("timeout -s KILL 20 " + std::string(BREVORA_BUILD_DIR) +
                           "/bin/brevora-arena easy idle --games 1 --max-ticks 1 --results " +
                           dir.file("fifo.jsonl") + " --replays " + dir.file("f") + " --data " +
                           kAssets + " >/dev/null 2>&1")
                              .c_str()),
              2 << 8);
}

// A bot program takes a seat like any participant: it plays, is ranked,
// its round trips are summed up, and every game of the run (Hard against
// Easy too) keeps a replay that checks without the bot.
TEST(Arena, BotProgramsAreRankedAndEveryGameReplays) {
    test::TempDir dir;
    const std::string bot = "'bot:cpp=" + std::string(BREVORA_BUILD_DIR) + "/bin/forager-bot'";
    const test::ToolRun run = runArena(
        bot + " easy hard --games 1 --max-ticks 1500 --jobs 2 --bot-bank 20000 --results " +
        dir.file("r.jsonl") + " --replays " + dir.file("replays") + " --data " + kAssets);
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\nbot:cpp "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Bot round trips"), std::string::npos) << run.out;
    const auto results = dir.read("r.jsonl");
    EXPECT_NE(std::string(results.begin(), results.end()).find("\"faults\":{\"late\":0"),
              std::string::npos);
    GameParams params(kAssets);
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("replays"))) {
        if (entry.path().extension() == ".replay") {
            EXPECT_EQ(checkReplayFile(params, entry.path().string()), 0) << entry.path();
            ++replays;
        }
    }
    EXPECT_EQ(replays, 6);
}

// A bot that never answers: once greeted it starts a sleep in its process
// group, notes its own id, its game process's and the sleep's in
// "<pids>/<id>.pid", and waits.
std::string writeSilentBot(const test::TempDir& dir) {
    const std::string pids = dir.file("pids");
    std::filesystem::create_directories(pids);
    dir.write("silent-bot.sh", "#!/bin/sh\nread greeting\nsleep 60 &\necho \"$$ $PPID $!\" > \"" +
                                   pids + "/new.$$\"\nmv \"" + pids + "/new.$$\" \"" + pids +
                                   "/$$.pid\"\nwait\n");
    std::filesystem::permissions(dir.file("silent-bot.sh"), std::filesystem::perms::owner_all);
    return dir.file("silent-bot.sh");
}

// Starts the built arena with TMPDIR set to `tmp` and its stderr in `err`.
pid_t startArena(const std::vector<std::string>& args, const std::string& tmp,
                 const std::string& err) {
    std::vector<std::string> words = {std::string(BREVORA_BUILD_DIR) + "/bin/brevora-arena"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    // The test is one thread: the child may set its environment before exec.
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", tmp.c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) != nullptr &&
            std::freopen(err.c_str(), "w", stderr) != nullptr) {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    return pid;
}

// The ids noted by each silent bot that has started, once `count` have.
std::vector<pid_t> waitForBots(const std::string& pids, std::size_t count) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::vector<pid_t> ids;
    while (ids.size() < 3 * count && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ids.clear();
        for (const auto& entry : std::filesystem::directory_iterator(pids)) {
            std::ifstream in(entry.path());
            for (pid_t id = 0; entry.path().extension() == ".pid" && in >> id;) {
                ids.push_back(id);
            }
        }
    }
    return ids;
}

// Alive and not yet a zombie.
bool running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// The exit status of `pid`, waiting at most `seconds`; -1 if it has not
// ended by then.
int waitUpTo(pid_t pid, int seconds) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

// SIGTERM or SIGINT while bots wait for their answers: the arena ends every
// game process and every bot (with whatever the bot started), removes the
// files its processes handed results through, keeps the two games finished
// before, whole, and says it was stopped, with 128 plus the signal.
TEST(Arena, AStopSignalEndsEveryGameAndBotAndLeavesNoTemporaryFile) {
    for (const int signal : {SIGTERM, SIGINT}) {
        test::TempDir dir;
        const std::string bot = "bot:silent=" + writeSilentBot(dir);
        std::filesystem::create_directories(dir.file("tmp"));
        // Games 0 and 1 (idle against forager) finish; 2 and 3 wait on the bot.
        const pid_t arena =
            startArena({"idle", "forager", bot, "--games", "1", "--max-ticks", "300", "--jobs", "2",
                        "--bot-bank", "60000", "--results", dir.file("r.jsonl"), "--replays",
                        dir.file("replays"), "--data", kAssets},
                       dir.file("tmp"), dir.file("err.txt"));
        ASSERT_GT(arena, 0);
        const std::vector<pid_t> pids = waitForBots(dir.file("pids"), 2);
        ASSERT_EQ(pids.size(), 6u);
        kill(arena, signal);
        const int status = waitUpTo(arena, 5);
        if (status == -1) {
            kill(arena, SIGKILL);
            waitpid(arena, nullptr, 0);
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal) << status;
        const auto err = dir.read("err.txt");
        EXPECT_NE(std::string(err.begin(), err.end())
                      .find(std::string("stopped by ") +
                            (signal == SIGTERM ? "SIGTERM" : "SIGINT") + " after 2 finished games"),
                  std::string::npos)
            << std::string(err.begin(), err.end());
        std::ifstream results(dir.file("r.jsonl"));
        int lines = 0;
        for (std::string line, why; std::getline(results, line); ++lines) {
            EXPECT_TRUE(arenaResultFromLine(line, why)) << why;
        }
        EXPECT_EQ(lines, 2);
        for (const pid_t pid : pids) {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            while (running(pid) && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (running(pid)) {
                ADD_FAILURE() << "process " << pid << " outlived the arena";
                kill(-pid, SIGKILL);
                kill(pid, SIGKILL);
            }
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp")));
    }
}

}  // namespace
}  // namespace brv
