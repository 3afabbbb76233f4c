#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

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
    setWriteFailureAfterBytes(3);
    EXPECT_FALSE(writeFileAtomically(path, "new contents", 12));
    setWriteFailureAfterBytes(std::nullopt);
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

}  // namespace
}  // namespace brv
