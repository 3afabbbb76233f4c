#include <gtest/gtest.h>

#include "config/KeyValueFile.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

KeyValueFile parse(const std::string& text) {
    KeyValueFile kv;
    EXPECT_TRUE(kv.loadFromMemory(text.data(), text.size(), true));
    return kv;
}

TEST(KeyValueFile, ParsesPairsQuotesAndComments) {
    auto kv = parse("a 1\nb \"x y\" // c 2\n");
    EXPECT_EQ(kv.size(), 2u);
    EXPECT_EQ(kv.get("a", "0"), "1");
    EXPECT_EQ(kv.get("b", "0"), "x y");

    EXPECT_EQ(parse("  // only a comment\n\t\r\n // another").size(), 0u);
    EXPECT_EQ(parse("").size(), 0u);

    // A key alone at the end has the empty value; a key may span lines from its value.
    kv = parse("m_a 3 m_b\n4\nlast");
    EXPECT_EQ(kv.get("m_a", "0"), "3");
    EXPECT_EQ(kv.get("m_b", "0"), "4");
    ASSERT_TRUE(kv.contains("last"));
    EXPECT_EQ(kv.get("last", "0"), "");

    // An unclosed quote runs to the end, line breaks included.
    kv = parse("k \"open value\nnext 5");
    EXPECT_EQ(kv.size(), 1u);
    EXPECT_EQ(kv.get("k", "0"), "open value\nnext 5");

    // The later of two values wins; "//" inside quotes still starts a comment,
    // which blanks the closing quote too, so the value runs to the end.
    kv = parse("k 1\nk 2\nurl \"http://x\"\nz 9");
    EXPECT_EQ(kv.get("k", "0"), "2");
    EXPECT_EQ(kv.get("url", "0"), "http:    \nz 9");
    EXPECT_FALSE(kv.contains("z"));
    EXPECT_EQ(kv.get("missing", "0"), "0");
    EXPECT_FALSE(kv.contains("missing"));  // get never inserts
}

TEST(KeyValueFile, LoadKeepsOrClearsAndNeverTouchesTheCallersBuffer) {
    KeyValueFile kv;
    std::string first = "a 1 b 2";
    kv.loadFromMemory(first.data(), first.size(), true);
    std::string second = "c 3 // x";
    const std::string copy = second;
    kv.loadFromMemory(second.data(), second.size(), false);
    EXPECT_EQ(kv.size(), 3u);
    EXPECT_EQ(second, copy);
    kv.loadFromMemory(second.data(), second.size(), true);
    EXPECT_EQ(kv.size(), 1u);
    // A file that cannot be opened leaves the map untouched, not even cleared.
    EXPECT_FALSE(kv.loadFromFile("/nonexistent/file.txt", true));
    EXPECT_EQ(kv.get("c", "0"), "3");
}

TEST(KeyValueFile, WriterEmitsSortedLinesAndQuotesOnlyValuesWithSpaces) {
    KeyValueFile kv;
    kv.set("b", "x y");
    kv.set("a", "1");
    kv.set("m_ab", "2");
    kv.set("m_a", "3");
    kv.set("m_b", "4");
    kv.set("\xe9", "high");  // bytes above 127 sort after ASCII
    const std::string expected = "a 1\nb \"x y\"\nm_a 3\nm_ab 2\nm_b 4\n\xe9 high\n";
    EXPECT_EQ(kv.toText(), expected);

    test::TempDir dir;
    ASSERT_TRUE(kv.saveToFile(dir.file("plain.txt")));
    auto bytes = dir.read("plain.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    // What is written reads back the same.
    KeyValueFile back;
    ASSERT_TRUE(back.loadFromFile(dir.file("plain.txt"), true));
    EXPECT_EQ(back.entries(), kv.entries());
}

TEST(KeyValueFile, Conversions) {
    EXPECT_EQ(toInt("12abc"), 12);
    EXPECT_EQ(toInt("  -7"), -7);
    EXPECT_EQ(toInt("010"), 10);  // plain integers are decimal
    EXPECT_EQ(toInt("1.5"), 1);
    EXPECT_EQ(toInt("junk"), 0);
    EXPECT_EQ(toInt("99999999999999"), 2147483647);
    EXPECT_FLOAT_EQ(toFloat("0.5"), 0.5f);
    EXPECT_FLOAT_EQ(toFloat("-3"), -3.0f);
    EXPECT_FLOAT_EQ(toFloat("1e2"), 100.0f);
    EXPECT_FLOAT_EQ(toFloat("12.7"), 12.7f);

    int s[3] = {-1, -1, -1};
    toIntArray("5 6", s, 3);
    EXPECT_EQ(s[0], 5);
    EXPECT_EQ(s[1], 6);
    EXPECT_EQ(s[2], -1);

    int t[3] = {-1, -1, -1};
    toIntArray(" 5 6 7", t, 3);
    EXPECT_EQ(t[0], -1);
    EXPECT_EQ(t[1], 5);
    EXPECT_EQ(t[2], 6);

    int u[3] = {0, 0, 0};
    toIntArray("1  2   3", u, 3);
    EXPECT_EQ(u[0], 1);
    EXPECT_EQ(u[1], 2);
    EXPECT_EQ(u[2], 3);

    int v[3] = {0, 0, 0};
    toIntArray("010 08 0x1f", v, 3);  // C literals: octal, a stop at 8, hexadecimal
    EXPECT_EQ(v[0], 8);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 31);

    int w[2] = {4, 4};
    toIntArray("1\t2 3 4", w, 2);  // tabs do not separate; never past count
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[1], 3);
}

}  // namespace
}  // namespace brv
