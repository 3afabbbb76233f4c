#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/PackFile.h"
#include "tests/support/Fifo.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

std::string tool() {
    return std::string(BREVORA_BUILD_DIR) + "/bin/brevora-pack";
}

// A run that hangs (on a FIFO) is killed and fails instead of hanging the test.
int run(const std::string& args, const std::string& outFile = "/dev/null") {
    const std::string command =
        "timeout -s KILL 20 " + tool() + " " + args + " >" + outFile + " 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(PackTool, CreateListExtractRoundTripIsReproducible) {
    test::TempDir dir;
    dir.write("src/dat/param.txt", std::string("m_speed 1\n"));
    dir.write("src/mui/tex/001.jpg", std::string("\xff\xd8 not really", 13));
    dir.write("src/a.txt", std::string());

    ASSERT_EQ(run("create " + dir.file("one.pk") + " " + dir.file("src")), 0);
    ASSERT_EQ(run("create " + dir.file("two.pk") + " " + dir.file("src")), 0);
    EXPECT_EQ(slurp(dir.file("one.pk")), slurp(dir.file("two.pk")));

    ASSERT_EQ(run("list " + dir.file("one.pk"), dir.file("list.txt")), 0);
    EXPECT_EQ(slurp(dir.file("list.txt")), "a.txt 0\ndat\\param.txt 10\nmui\\tex\\001.jpg 13\n");

    ASSERT_EQ(run("extract " + dir.file("one.pk") + " " + dir.file("out")), 0);
    EXPECT_EQ(slurp(dir.file("out/dat/param.txt")), "m_speed 1\n");
    EXPECT_EQ(slurp(dir.file("out/mui/tex/001.jpg")), slurp(dir.file("src/mui/tex/001.jpg")));
}

TEST(PackTool, RejectsWhatTheReaderCannotCarry) {
    test::TempDir dir;
    dir.write("src/" + std::string(80, 'n'), std::string("x"));
    EXPECT_NE(run("create " + dir.file("bad.pk") + " " + dir.file("src"), dir.file("err.txt")), 0);
    EXPECT_NE(slurp(dir.file("err.txt")).find("1 to 79"), std::string::npos);
    EXPECT_NE(run("create " + dir.file("bad.pk") + " " + dir.file("nowhere")), 0);
    EXPECT_NE(run("list " + dir.file("nowhere.pk")), 0);
    EXPECT_NE(run("frobnicate"), 0);
}

// An archive written by hand: each entry as name and bytes, the last one's
// name length replaced by `lastNameLength` when that is not 0.
std::string archive(const std::vector<std::pair<std::string, std::string>>& entries,
                    std::uint32_t lastNameLength = 0) {
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    std::string out = "BV" + u32(static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [name, bytes] = entries[i];
        const bool last = i + 1 == entries.size() && lastNameLength != 0;
        out += u32(last ? lastNameLength : static_cast<std::uint32_t>(name.size())) + name;
        out += u32(static_cast<std::uint32_t>(bytes.size())) + bytes;
    }
    return out;
}

TEST(PackTool, ForeignNamesAndDamagedArchivesAreNeverTakenForWhole) {
    test::TempDir dir;
    // A name that already holds '/' is extracted with its own bytes (a lookup
    // by path would look for "dat\\y.txt" and fall back to the disk).
    dir.write("only.pk", archive({{"dat/y.txt", "own bytes"}}));
    ASSERT_EQ(run("extract " + dir.file("only.pk") + " " + dir.file("out")), 0);
    EXPECT_EQ(slurp(dir.file("out/dat/y.txt")), "own bytes");

    // A name longer than the format allows: the entries before it are listed,
    // the damage is named and the tool fails.
    dir.write("long.pk", archive({{"a.txt", "1"}, {"b.txt", "2"}}, 200));
    EXPECT_NE(run("list " + dir.file("long.pk"), dir.file("list.txt")), 0);
    const std::string listed = slurp(dir.file("list.txt"));
    EXPECT_NE(listed.find("a.txt 1\n"), std::string::npos);
    EXPECT_NE(listed.find("ends after 1 of 2 entries"), std::string::npos) << listed;
    // Cut inside an entry's data: extracting still fails after writing what is there.
    std::string cut = archive({{"a.txt", "1"}, {"b.txt", "22222"}});
    dir.write("cut.pk", cut.substr(0, cut.size() - 2));
    EXPECT_NE(run("extract " + dir.file("cut.pk") + " " + dir.file("cut"), dir.file("err.txt")), 0);
    EXPECT_EQ(slurp(dir.file("cut/a.txt")), "1");
    EXPECT_NE(slurp(dir.file("err.txt")).find("\"b.txt\" is cut short"), std::string::npos);

    // A file of zeros reads as a directory of no entries: no archive at all.
    dir.write("zeros.pk", std::string(4096, '\0'));
    EXPECT_NE(run("list " + dir.file("zeros.pk"), dir.file("zeros.txt")), 0);
    EXPECT_NE(slurp(dir.file("zeros.txt")).find("is no archive"), std::string::npos);
    // A folder holding a FIFO and a link to a device: packed without them,
    // each named, and the tool fails, since the archive holds less.
    dir.write("src/a.txt", "1");
    const test::Fifo fifo(dir.file("src/pipe"));
    std::filesystem::create_symlink("/dev/zero", dir.file("src/zero"));
    EXPECT_NE(run("create " + dir.file("some.pk") + " " + dir.file("src"), dir.file("c.txt")), 0);
    const std::string said = slurp(dir.file("c.txt"));
    EXPECT_NE(said.find("skipping \"pipe\""), std::string::npos) << said;
    EXPECT_NE(said.find("skipping \"zero\""), std::string::npos) << said;
    EXPECT_EQ(run("list " + dir.file("some.pk"), dir.file("some.txt")), 0);
    EXPECT_EQ(slurp(dir.file("some.txt")), "a.txt 1\n");
}

// The game reads the first entry of a name: extract writes that one, names
// the later one and fails, and packing the folder again keeps what the game read.
TEST(PackTool, ExtractKeepsTheEntryTheGameReadsOfANameGivenTwice) {
    test::TempDir dir;
    dir.write("twice.pk",
              archive({{"dat\\a.txt", "first"}, {"b.txt", "b"}, {"dat\\a.txt", "last"}}));
    EXPECT_EQ(run("extract " + dir.file("twice.pk") + " " + dir.file("out"), dir.file("err.txt")),
              1);
    EXPECT_EQ(slurp(dir.file("out/b.txt")), "b");
    EXPECT_NE(slurp(dir.file("err.txt")).find("entry 3 \"dat\\a.txt\": a duplicate of entry 1"),
              std::string::npos)
        << slurp(dir.file("err.txt"));
    ASSERT_EQ(run("create " + dir.file("again.pk") + " " + dir.file("out")), 0);
    PackFile again;
    ASSERT_TRUE(again.open(dir.file("again.pk")));
    EXPECT_EQ(again.names().size(), 2u);
    const DataBlob a = again.readEntry("dat/a.txt");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.bytes()), a.size), "first");
}

// The tool writes through temporaries of its own, never waiting on a FIFO left
// at the old temporary name, and replaces only regular files: a FIFO or a
// link where the archive or an extracted file goes, or a link on the way to
// one, is named and left as it is, and so is what the link leads to.
TEST(PackTool, ReplacesOnlyRegularFilesAndNeverWaitsOnAFifo) {
    test::TempDir dir;
    dir.write("src/dat/param.txt", std::string("m_speed 1\n"));
    dir.write("elsewhere/file", std::string("kept"));
    const test::Fifo packTemp(dir.file("one.pk.tmp"));
    const test::Fifo paramTemp(dir.file("out/dat/param.txt.tmp"));
    ASSERT_EQ(run("create " + dir.file("one.pk") + " " + dir.file("src")), 0);
    ASSERT_EQ(run("extract " + dir.file("one.pk") + " " + dir.file("out")), 0);
    EXPECT_EQ(slurp(dir.file("out/dat/param.txt")), "m_speed 1\n");
    EXPECT_TRUE(std::filesystem::is_fifo(packTemp.path()));
    EXPECT_TRUE(std::filesystem::is_fifo(paramTemp.path()));

    const test::Fifo fifoTarget(dir.file("fifo.pk"));
    std::filesystem::create_symlink(dir.file("elsewhere/file"), dir.file("link.pk"));
    std::filesystem::create_directories(dir.file("linked/dat"));
    std::filesystem::create_symlink(dir.file("elsewhere/file"), dir.file("linked/dat/param.txt"));
    std::filesystem::create_directories(dir.file("through"));
    std::filesystem::create_symlink(dir.file("elsewhere"), dir.file("through/dat"));
    const std::pair<std::string, std::string> refused[] = {
        {"create " + dir.file("fifo.pk") + " " + dir.file("src"), dir.file("fifo.pk")},
        {"create " + dir.file("link.pk") + " " + dir.file("src"), dir.file("link.pk")},
        {"extract " + dir.file("one.pk") + " " + dir.file("linked"),
         dir.file("linked/dat/param.txt")},
        {"extract " + dir.file("one.pk") + " " + dir.file("through"), dir.file("through/dat")}};
    for (const auto& [args, named] : refused) {
        EXPECT_EQ(run(args, dir.file("err.txt")), 1) << args;
        EXPECT_NE(slurp(dir.file("err.txt")).find("\"" + named + "\" is there and is not a"),
                  std::string::npos)
            << slurp(dir.file("err.txt"));
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifoTarget.path()));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.pk")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("linked/dat/param.txt")));
    EXPECT_EQ(slurp(dir.file("elsewhere/file")), "kept");
    EXPECT_FALSE(std::filesystem::exists(dir.file("elsewhere/param.txt")));
}

}  // namespace
}  // namespace brv
