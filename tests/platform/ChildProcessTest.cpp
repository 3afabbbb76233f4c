#include "platform/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

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

}  // namespace
}  // namespace brv
