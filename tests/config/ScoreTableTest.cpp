#include <gtest/gtest.h>

#include <fstream>

#include "config/KeyValueFile.h"
#include "config/ScoreTable.h"
#include "platform/FileIo.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteLimit.h"

namespace brv {
namespace {

ScoreTable tableOf(std::initializer_list<int> scores) {
    ScoreTable table;
    char name = 'a';
    for (int score : scores) {
        table.insert(std::string(1, name++), score);
    }
    return table;
}

std::vector<std::string> names(const ScoreTable& table) {
    std::vector<std::string> out;
    for (const auto& entry : table.entries()) {
        out.push_back(entry.name);
    }
    return out;
}

std::string storedText(const test::TempDir& dir) {
    auto stored = dir.read("data/scores.tab");
    std::string plain;
    EXPECT_TRUE(unscramble(stored.data(), stored.size(), "ze#81p", 6, plain));
    return plain;
}

TEST(ScoreTable, RanksAndInsertsAfterEqualScores) {
    ScoreTable table = tableOf({500, 300, 300, 100});
    EXPECT_EQ(table.rank(300), 3);
    EXPECT_EQ(table.rank(600), 0);
    EXPECT_EQ(table.rank(0), -1);
    table.insert("new", 300);
    EXPECT_EQ(names(table), (std::vector<std::string>{"a", "b", "c", "new", "d"}));

    ScoreTable full = tableOf({700, 600, 500, 400, 300, 200, 100});
    EXPECT_EQ(full.rank(100), -1);
    EXPECT_EQ(full.rank(101), 6);
    full.insert("late", 101);
    ASSERT_EQ(full.entries().size(), 7u);
    EXPECT_EQ(full.entries().back().name, "late");

    ScoreTable empty;
    EXPECT_EQ(empty.rank(0), -1);
    EXPECT_EQ(empty.rank(1), 0);
    EXPECT_EQ(empty.rank(-5), 0);
    empty.insert("", 10);
    EXPECT_EQ(empty.entries().front().name, "Anonymous");
}

TEST(ScoreTable, SavesTheKeysOfTheFileFormat) {
    test::TempDir dir;
    ScoreTable table;
    table.insert("Ann", 500);
    table.insert("Bob Smith", 300);
    ASSERT_TRUE(table.save(dir.file("data/scores.tab")));
    EXPECT_EQ(dir.read("data/scores.tab").size(), storedText(dir).size() + 1);
    EXPECT_EQ(storedText(dir), "name0 Ann\nname1 \"Bob Smith\"\nnum 2\nscore0 500\nscore1 300\n");
}

TEST(ScoreTable, LoadsFileOrderFromAnyRotationAndKeepsTheTableOnDamage) {
    const std::string text =
        "num 3\nname0 Zed\nscore0 5\nname1 \"Al Bo\"\nscore1 90\nname2 x\nscore2 7\n";
    for (std::uint32_t rotation = 0; rotation < 100; ++rotation) {
        test::TempDir dir;
        dir.write("data/scores.tab", scramble(text, "ze#81p", 6, rotation));
        ScoreTable table;
        ASSERT_TRUE(table.load(dir.file("data/scores.tab")));
        ASSERT_EQ(names(table), (std::vector<std::string>{"Zed", "Al Bo", "x"})) << rotation;
        EXPECT_EQ(table.entries()[0].score, 5);
        EXPECT_EQ(table.entries()[1].score, 90);
        EXPECT_EQ(table.entries()[2].score, 7);
    }
    test::TempDir dir;
    ScoreTable kept = tableOf({50});
    for (const std::string& damaged : {std::string("\x01"), std::string("\x30\x01\x02")}) {
        dir.write("data/scores.tab", damaged);
        EXPECT_FALSE(kept.load(dir.file("data/scores.tab")));
        EXPECT_EQ(kept.entries().size(), 1u);
    }
    EXPECT_FALSE(kept.load(dir.file("data/none.tab")));
    EXPECT_EQ(kept.entries().size(), 1u);
}

TEST(ScoreTable, CountIsNeverTrusted) {
    test::TempDir dir;
    ScoreTable table = tableOf({40});
    const std::size_t read = table.entries().size();
    // Without a count in digits matched by as many entries the bytes are no
    // table (random bytes read like this): the table read before stays.
    for (const char* text : {"num 2000000000\nname0 a\nscore0 1\n", "num -3\nname0 a\n", "x 1\n",
                             "num\n", "\x7f\xe1 q\x01\n"}) {
        dir.write("data/scores.tab", scramble(text, "ze#81p", 6, 0));
        EXPECT_FALSE(table.load(dir.file("data/scores.tab"))) << text;
        EXPECT_EQ(table.entries().size(), read) << text;
    }
}

// How many entries of `read` differ from `original`; -1 when their counts do
// or an entry is not even the same length (a name or score made up).
int differences(const ScoreTable& read, const ScoreTable& original) {
    if (read.entries().size() != original.entries().size()) {
        return -1;
    }
    int count = 0;
    for (std::size_t i = 0; i < read.entries().size(); ++i) {
        const ScoreTable::Entry& was = original.entries()[i];
        const auto& [name, score] = read.entries()[i];
        if (name.size() != was.name.size() ||
            std::to_string(score).size() != std::to_string(was.score).size()) {
            return -1;
        }
        count += name != was.name || score != was.score;
    }
    return count;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void checkCutsAndFlips(const std::string& path, const std::vector<std::uint8_t>& saved,
                       const ScoreTable& original) {
    const ScoreTable before = tableOf({1});
    // A cut table is either whole (only the final line feed can go) or refused.
    for (std::size_t length = 0; length < saved.size(); ++length) {
        writeBytes(path, std::vector<std::uint8_t>(saved.begin(), saved.begin() + length));
        ScoreTable read = before;
        if (read.load(path)) {
            EXPECT_EQ(differences(read, original), 0) << length;
        } else {
            EXPECT_EQ(differences(read, before), 0) << length;
        }
    }
    // A flipped bit can change one name or score into another of its length,
    // but never drops or makes up an entry.
    for (std::size_t bit = 0; bit < saved.size() * 8; ++bit) {
        auto flipped = saved;
        flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        writeBytes(path, flipped);
        ScoreTable read = before;
        if (read.load(path)) {
            const int changed = differences(read, original);
            EXPECT_TRUE(changed == 0 || changed == 1) << bit;
        } else {
            EXPECT_EQ(differences(read, before), 0) << bit;
        }
    }
}

TEST(ScoreTable, ACutOrBitFlippedTableIsRefusedRatherThanReadWithMadeUpEntries) {
    test::TempDir dir;
    const std::string path = dir.file("data/scores.tab");
    ScoreTable original;
    original.insert("Ann", 900);
    original.insert("Bo Li", 80);
    original.insert("Cy", 7);
    ASSERT_TRUE(original.save(path));
    // The table as saved, at rotations that put its start in different places.
    const std::string text = storedText(dir);
    for (const std::uint32_t rotation : {0u, 37u}) {
        SCOPED_TRACE(rotation);
        checkCutsAndFlips(path, scramble(text, "ze#81p", 6, rotation), original);
    }
}

TEST(ScoreTable, AwkwardNamesRoundTripWithoutDisturbingOtherEntries) {
    const std::vector<std::string> awkward = {"Ann Lee",    "say \"hi\"", "a//b", "///",
                                              "http://x",   "100%",       "%41",  "tab\there",
                                              "two\nlines", " lead",      "end/", "\xe9t\xe9"};
    test::TempDir dir;
    ScoreTable table;
    int score = 1000;
    for (const std::string& name : awkward) {
        table.insert(name, score--);
    }
    ASSERT_TRUE(table.save(dir.file("data/scores.tab")));
    ScoreTable back;
    ASSERT_TRUE(back.load(dir.file("data/scores.tab")));
    ASSERT_EQ(back.entries().size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(back.entries()[i].name, awkward[i]);
        EXPECT_EQ(back.entries()[i].score, 1000 - static_cast<int>(i));
    }
    // Ordinary names stay readable as they are; only unsafe bytes change.
    EXPECT_EQ(ScoreTable::encodeName("Ann Lee"), "Ann Lee");
    EXPECT_EQ(ScoreTable::decodeName("100%"), "100%");
    EXPECT_EQ(storedText(dir).find("//"), std::string::npos);
    // A '%' the player typed is stored as typed and another program's "%AB"
    // stays three characters.
    EXPECT_NE(storedText(dir).find("name5 100%\n"), std::string::npos) << storedText(dir);
    EXPECT_EQ(ScoreTable::decodeName("50%AB"), "50%AB");
    EXPECT_EQ(ScoreTable::decodeName("x%25y"), "x%25y");

    // A typed '%' that would start an escape comes back as typed too.
    const std::vector<std::string> percent = {"x%22y", "%09",    "%0a%0D", "a/%2F", "%25",
                                              "%2522", "/%252F", "%%22",   "%"};
    ScoreTable typed;
    for (const std::string& name : percent) {
        typed.insert(name, 5);
    }
    ASSERT_TRUE(typed.save(dir.file("data/scores.tab")));
    ASSERT_TRUE(back.load(dir.file("data/scores.tab")));
    EXPECT_EQ(names(back), std::vector<std::string>(percent.begin(), percent.begin() + 7));
}

TEST(ScoreTable, AnEmptyStoredNameBecomesAnonymousAndTheTableSurvives) {
    test::TempDir dir;
    const std::string path = dir.file("data/scores.tab");
    dir.write("data/scores.tab", scramble("name0 \"\"\nscore0 50\nnum 1\n", "ze#81p", 6, 0));
    ScoreTable table;
    ASSERT_TRUE(table.load(path));
    ASSERT_EQ(names(table), (std::vector<std::string>{"Anonymous"}));
    ASSERT_TRUE(table.save(path));
    ScoreTable next;
    ASSERT_TRUE(next.load(path));
    EXPECT_EQ(names(next), (std::vector<std::string>{"Anonymous"}));
    EXPECT_EQ(next.entries()[0].score, 50);
}

TEST(ScoreTable, InterruptedSaveLeavesThePreviousTableReadable) {
    test::TempDir dir;
    const std::string path = dir.file("data/scores.tab");
    ScoreTable before = tableOf({900, 800, 700, 600, 500, 400, 300});
    ASSERT_TRUE(before.save(path));
    ScoreTable after = tableOf({5});
    for (std::size_t cut : {0u, 1u, 10u, 20u}) {
        {
            const test::WriteLimit fullDisk(cut);
            EXPECT_FALSE(after.save(path));
        }
        ScoreTable read;
        ASSERT_TRUE(read.load(path)) << cut;
        ASSERT_EQ(read.entries().size(), 7u);
        EXPECT_EQ(read.entries().back().score, 300);
    }
}

}  // namespace
}  // namespace brv
