#include "bothost/CommandWords.h"

#include <gtest/gtest.h>

namespace brv {
namespace {

using Words = std::vector<std::string>;

Words split(const std::string& command) {
    std::string why;
    return splitCommandWords(command, why).value_or(Words{"refused: " + why});
}

TEST(CommandWords, SplitsAsAShellWouldWithoutRunningOne) {
    EXPECT_EQ(split("  python3   bots/forager.py\t-v "),
              (Words{"python3", "bots/forager.py", "-v"}));
    EXPECT_EQ(split("bot 'two words' \"a \\\"b\\\" \\n\" it\\'s ''"),
              (Words{"bot", "two words", "a \"b\" \\n", "it's", ""}));
    EXPECT_EQ(split("a'b'\"c\"d e\\ f"), (Words{"abcd", "e f"}));
    EXPECT_EQ(split("bot 'open"), Words{"refused: the command has an unterminated single quote"});
    EXPECT_EQ(split("bot \"open"), Words{"refused: the command has an unterminated double quote"});
    EXPECT_EQ(split("bot \\"), Words{"refused: the command ends in a backslash"});
    EXPECT_EQ(split("  "), Words{"refused: the command names no program"});
}

}  // namespace
}  // namespace brv
