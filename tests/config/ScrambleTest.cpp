#include <gtest/gtest.h>

#include <set>

#include "config/KeyValueFile.h"
#include "platform/Random.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

TEST(Scramble, RoundTripsForEveryRotationAndManyKeys) {
    const std::vector<std::string> keys = {"qz", "ze#81p", "kw#81p", "k", std::string("\0\xff", 2)};
    LcgRandom texts{99};
    for (const std::string& key : keys) {
        for (std::size_t n : {1u, 2u, 7u, 99u, 100u, 101u, 150u, 1000u}) {
            std::string plain(n, '\0');
            for (char& c : plain) {
                c = static_cast<char>(texts.next() & 0xFF);
            }
            std::set<int> rotations;
            for (std::uint32_t draw = 0; draw < 230; ++draw) {
                auto stored = scramble(plain, key.data(), key.size(), draw);
                ASSERT_EQ(stored.size(), n + 1);
                rotations.insert(stored[0]);
                ASSERT_LT(stored[0], std::min<std::size_t>(n, 100));
                std::string back;
                ASSERT_TRUE(unscramble(stored.data(), stored.size(), key.data(), key.size(), back));
                ASSERT_EQ(back, plain) << "key size " << key.size() << " n " << n;
            }
            EXPECT_EQ(rotations.size(), std::min<std::size_t>(n, 100));
        }
    }
}

TEST(Scramble, KnownBytesForASmallText) {
    // "ab" with key "qz" and rotation 1: E = [1, 'b', 'a'] before mixing.
    auto e = scramble("ab", "qz", 2, 1);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0], 1);
    const std::uint8_t e1 = static_cast<std::uint8_t>((('b' ^ 1) ^ 'z') + 1);
    EXPECT_EQ(e[1], e1);
    EXPECT_EQ(e[2], static_cast<std::uint8_t>((('a' ^ e1) ^ 'q') + e1));
}

TEST(Scramble, DamagedInputIsRejectedWithoutTouchingTheMap) {
    std::string out = "untouched";
    const std::uint8_t one[1] = {0};
    EXPECT_FALSE(unscramble(nullptr, 0, "qz", 2, out));
    EXPECT_FALSE(unscramble(one, 1, "qz", 2, out));
    auto good = scramble("abcdef", "qz", 2, 3);
    auto bad = good;
    bad[0] = 6;  // rotation must be below n = 6
    EXPECT_FALSE(unscramble(bad.data(), bad.size(), "qz", 2, out));
    bad[0] = 0xF0;  // negative as a signed byte
    EXPECT_FALSE(unscramble(bad.data(), bad.size(), "qz", 2, out));
    EXPECT_EQ(out, "untouched");

    KeyValueFile kv;
    kv.set("keep", "1");
    EXPECT_FALSE(kv.loadFromMemory(bad.data(), bad.size(), true, "qz", 2));
    EXPECT_EQ(kv.get("keep", "0"), "1");

    test::TempDir dir;
    dir.write("empty.cfg", std::string());
    dir.write("one.cfg", std::string("\x05"));
    EXPECT_FALSE(kv.loadFromFile(dir.file("empty.cfg"), true, "qz", 2));
    EXPECT_FALSE(kv.loadFromFile(dir.file("one.cfg"), true, "qz", 2));
    EXPECT_EQ(kv.get("keep", "0"), "1");
}

TEST(Scramble, SavedFileIsOneByteLongerAndReadsBack) {
    test::TempDir dir;
    KeyValueFile kv;
    kv.set("name0", "Anna Lee");
    kv.set("num", "1");
    kv.set("score0", "42");
    const std::string text = kv.toText();
    ASSERT_TRUE(kv.saveToFile(dir.file("data/scores.tab"), "ze#81p", 6));
    auto stored = dir.read("data/scores.tab");
    ASSERT_EQ(stored.size(), text.size() + 1);
    std::string plain;
    ASSERT_TRUE(unscramble(stored.data(), stored.size(), "ze#81p", 6, plain));
    EXPECT_EQ(plain, text);
    KeyValueFile back;
    ASSERT_TRUE(back.loadFromFile(dir.file("data/scores.tab"), true, "ze#81p", 6));
    EXPECT_EQ(back.entries(), kv.entries());
}

}  // namespace
}  // namespace brv
