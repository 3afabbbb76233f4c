#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/FileIo.h"
#include "tests/support/Fifo.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteLimit.h"

namespace brv {
namespace {

TEST(FileIo, AtomicWriteCreatesFoldersAndReplaces) {
    test::TempDir dir;
    const std::string path = dir.file("data/sub/file.bin");
    ASSERT_TRUE(writeFileAtomically(path, "abc", 3));
    ASSERT_TRUE(writeFileAtomically(path, "hello", 5));
    auto bytes = readWholeFile(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "hello");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(FileIo, InterruptedWriteKeepsTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.file("data/scores.tab");
    ASSERT_TRUE(writeFileAtomically(path, "previous", 8));
    {
        const test::WriteLimit fullDisk(3);
        EXPECT_FALSE(writeFileAtomically(path, "new contents", 12));
    }
    auto bytes = readWholeFile(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "previous");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(FileIo, BoundedReads) {
    test::TempDir dir;
    dir.write("f", std::string("0123456789"));
    EXPECT_FALSE(readWholeFile(dir.file("f"), 9));  // larger than allowed
    EXPECT_FALSE(readWholeFile(dir.path()));        // a folder is not a file
    EXPECT_FALSE(readWholeFile(dir.file("missing")));
    auto range = readFileRange(dir.file("f"), 7, 1000000000);
    ASSERT_TRUE(range);
    EXPECT_EQ(std::string(range->begin(), range->end()), "789");
    range = readFileRange(dir.file("f"), 50, 4);
    ASSERT_TRUE(range);
    EXPECT_TRUE(range->empty());
}

TEST(FileIo, AtomicWriteReplacesALinkNeverWhatItLeadsTo) {
    test::TempDir dir;
    dir.write("kept/scores.tab", std::string("old"));
    std::filesystem::create_directories(dir.file("data"));
    std::filesystem::create_symlink("../kept/scores.tab", dir.file("data/scores.tab"));
    ASSERT_TRUE(writeFileAtomically(dir.file("data/scores.tab"), "new", 3));
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("data/scores.tab")));
    const auto saved = dir.read("data/scores.tab");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "new");
    const auto kept = dir.read("kept/scores.tab");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old");
}

// A pid no process has any more: a child's, once it has been reaped.
pid_t endedPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// A link left at "<file>.tmp" is never written through; it stays, and the
// save goes to a temporary of the writer's own, none of which is left behind.
// What a killed save of the same file left (a regular temporary of a writer
// that no longer runs) is cleared; a running writer's, a link or FIFO at
// such a name, another file's and any other name stay.
TEST(FileIo, AtomicWriteMakesItsOwnTemporaryAndClearsOnlyAKilledSavesLeftovers) {
    test::TempDir dir;
    dir.write("elsewhere", std::string("kept"));
    const std::string ended = std::to_string(endedPid());
    const std::string running = std::to_string(::getppid());
    dir.write("data/dx.cfg.tmp-" + ended + "-0", std::string("left"));
    const std::vector<std::string> stay = {"data/dx.cfg.tmp-" + running + "-0",
                                           "data/dx.cfg.tmp-" + ended + "-x",
                                           "data/prefs.cfg.tmp-" + ended + "-0"};
    for (const std::string& name : stay) {
        dir.write(name, std::string("other"));
    }
    std::filesystem::create_symlink(dir.file("elsewhere"), dir.file("data/dx.cfg.tmp"));
    std::filesystem::create_symlink(dir.file("elsewhere"),
                                    dir.file("data/dx.cfg.tmp-" + ended + "-1"));
    const test::Fifo fifo(dir.file("data/dx.cfg.tmp-" + ended + "-2"));
    ASSERT_TRUE(writeFileAtomically(dir.file("data/dx.cfg"), "cfg", 3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("data/dx.cfg.tmp")));
    const auto kept = dir.read("elsewhere");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "kept");
    const auto cfg = dir.read("data/dx.cfg");
    EXPECT_EQ(std::string(cfg.begin(), cfg.end()), "cfg");
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/dx.cfg.tmp-" + ended + "-0")));
    for (const std::string& name : stay) {
        EXPECT_TRUE(std::filesystem::is_regular_file(dir.file(name))) << name;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("data/dx.cfg.tmp-" + ended + "-1")));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo.path()));
    using Listing = std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(Listing(dir.file("data")), Listing()), 7);
}

TEST(FileIo, OnlyRegularFilesAreReadAndTheReasonIsTold) {
    test::TempDir dir;
    const test::Fifo fifo(dir.file("data/scores.tab"));
    ReadProblem why;
    EXPECT_TRUE(fifo.returnsPromptly([&] {
        EXPECT_FALSE(readWholeFile(fifo.path(), kMaxFileBytes, why));
        EXPECT_FALSE(fileSize(fifo.path()));
        EXPECT_FALSE(readFileRange(fifo.path(), 0, 10));
    }));
    EXPECT_EQ(why.text(), "not a regular file");
    EXPECT_TRUE(why.unreadable());
    EXPECT_EQ(readProblem(dir.path()).text(), "not a regular file");
    EXPECT_TRUE(readProblem(dir.file("missing")).absent());
    dir.write("f", std::string("0123456789"));
    EXPECT_FALSE(readWholeFile(dir.file("f"), 9, why));
    EXPECT_EQ(why.text(), "larger than 9 bytes");
    EXPECT_EQ(readProblem(dir.file("f"), 9).text(), "larger than 9 bytes");
    EXPECT_TRUE(readWholeFile(dir.file("f"), 10, why));
    EXPECT_EQ(why.kind, ReadProblem::Kind::kNone);
}

}  // namespace
}  // namespace brv
