#include "platform/ChildProcess.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/ChildSupervisor.h"
#include "tests/support/ProcessScan.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

const std::string kTestBot = std::string(BREVORA_BUILD_DIR) + "/tests/test-bot";

// Lines go both ways; a line over the bound is reported once and skipped
// whole, and the line after it reads as usual; a silent program times out.
TEST(ChildProcess, TalksInBoundedLinesWithADeadline) {
    ChildProcess child;
    std::string why;
    ASSERT_TRUE(child.start({kTestBot, "echo"}, {60, 1ull << 30}, "", why)) << why;
    std::string line;
    EXPECT_EQ(child.readLine(line, 20, 64), ChildProcess::Read::Timeout);
    ASSERT_TRUE(child.writeLine("hello"));
    ASSERT_EQ(child.readLine(line, 5000, 64), ChildProcess::Read::Line);
    EXPECT_EQ(line, "hello");
    ASSERT_TRUE(child.writeLine(std::string(100000, 'x')));
    ASSERT_TRUE(child.writeLine("after"));
    EXPECT_EQ(child.readLine(line, 5000, 64), ChildProcess::Read::TooLong);
    ASSERT_EQ(child.readLine(line, 5000, 64), ChildProcess::Read::Line);
    EXPECT_EQ(line, "after");
    EXPECT_FALSE(child.exited());
}

// A program that ends is reaped with its status; writing to it afterwards
// fails instead of killing the game with SIGPIPE; a missing program is named.
TEST(ChildProcess, ReportsEndedAndMissingPrograms) {
    ChildProcess child;
    std::string why;
    ASSERT_TRUE(child.start({kTestBot, "crash"}, {}, "", why)) << why;
    for (int decision = 1; decision <= 3; ++decision) {
        child.writeLine("{\"decision\":" + std::to_string(decision) + ",\"x\":0}");
    }
    std::string line;
    while (child.readLine(line, 5000, 1024) == ChildProcess::Read::Line) {
    }
    // Its stdin closes as it exits, a moment after its stdout may have.
    bool refused = false;
    for (int tries = 0; tries < 200 && !refused; ++tries) {
        refused = !child.writeLine("anyone?");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(refused);
    ASSERT_TRUE(child.exited(2000));
    EXPECT_EQ(child.exitText(), "exited with status 3");

    ChildProcess missing;
    EXPECT_FALSE(missing.start({"/nonexistent/bot"}, {}, "", why));
    EXPECT_NE(why.find("/nonexistent/bot"), std::string::npos) << why;
}

// A bot that floods its stderr (3 MB), starts a daemon in a session of its
// own whose parent leaves at once (sleep 299.<its first argument>), says
// "ready", and then exits, kills itself or waits as its next line says.
const char* const kDaemonBot = R"(yes 'a line of the bot on its stderr' | head -c 3000000 >&2
sh -c "setsid sleep 299.$1 &"
echo ready
read line
case "$line" in
exit) exit 5 ;;
signal) kill -SEGV $$ ;;
esac
read line
)";

// Whether the game ends the bot or it ends by itself (its status kept as
// it was), nothing of its tree outlives it, the daemon included; each run
// adds at most the cap and one cut line to the log it shares with the
// others; a program that is not there is still named.
TEST(ChildProcess, EndsTheWholeTreeAndCapsItsLog) {
    test::TempDir dir;
    dir.write("bot.sh", kDaemonBot);
    const std::string log = dir.file("bot.log");
    const struct {
        const char* say;
        const char* exitText;
    } runs[] = {{"", "was ended by the game"},
                {"exit", "exited with status 5"},
                {"signal", "was killed by signal 11 (Segmentation fault)"}};
    std::string why;
    for (const auto& run : runs) {
        const std::string id = std::to_string(getpid()) + std::to_string(&run - runs);
        const std::string marker = "299." + id;
        ChildProcess child;
        ASSERT_TRUE(child.start({"sh", dir.file("bot.sh"), id}, {}, log, why)) << why;
        std::string line;
        ASSERT_EQ(child.readLine(line, 10000, 64), ChildProcess::Read::Line);
        EXPECT_TRUE(test::waitForProcessWith(std::string("sleep") + '\0' + marker, 5000));
        if (*run.say == '\0') {
            child.end();
        } else {
            child.writeLine(run.say);
            EXPECT_TRUE(child.exited(5000));
        }
        EXPECT_EQ(child.exitText(), run.exitText);
        EXPECT_EQ(child.leftBehind(), "");
        EXPECT_TRUE(test::processesWith(marker).empty()) << marker;
        test::killProcessesWith(marker);
    }
    const std::size_t cut = std::strlen(ChildSupervisor::kCutLine);
    const auto size = std::filesystem::file_size(log);
    EXPECT_GE(size, 3 * (ChildSupervisor::kStderrCap + cut));
    EXPECT_LE(size, 3 * (ChildSupervisor::kStderrCap + 1 + cut));
    const auto bytes = dir.read("bot.log");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind(ChildSupervisor::kCutLine), text.size() - cut);

    ChildProcess missing;
    EXPECT_FALSE(missing.start({dir.file("no-bot")}, {}, log, why));
    EXPECT_EQ(why, "cannot run \"" + dir.file("no-bot") + "\": No such file or directory");
}

}  // namespace
}  // namespace brv
