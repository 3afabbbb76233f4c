#include <gtest/gtest.h>

#include "config/PackFile.h"
#include "tests/support/TempDir.h"
#include "tools/PackWriter.h"

namespace brv {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

std::vector<std::uint8_t> pack(const std::vector<PackInput>& entries) {
    std::vector<std::uint8_t> out;
    std::string error;
    EXPECT_TRUE(encodePack(entries, out, error)) << error;
    return out;
}

std::string text(const DataBlob& blob) {
    return std::string(reinterpret_cast<const char*>(blob.bytes()), blob.size);
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

TEST(PackFile, LookupOrderCaseAndDiskFallback) {
    test::TempDir dir;
    dir.write("data/data.pk", pack({{"mui/font.tga", bytesOf("archived font")},
                                    {"dat/twice.txt", bytesOf("first")},
                                    {"dat/twice.txt", bytesOf("second")},
                                    {"dat/empty.txt", {}}}));
    dir.write("MUI/font.tga", std::string("loose upper-case"));
    dir.write("mui/loose.txt", std::string("loose file"));

    PackFile archive(dir.path());
    ASSERT_TRUE(archive.open("data/data.pk"));
    ASSERT_EQ(archive.names().size(), 4u);
    EXPECT_EQ(archive.names()[0], "mui\\font.tga");

    DataBlob font = archive.readEntry("mui/font.tga");
    EXPECT_EQ(text(font), "archived font");
    EXPECT_NE(font.offset, 0u);
    // Case matters: the differently-cased request goes to the disk.
    EXPECT_EQ(text(archive.readEntry("MUI/font.tga")), "loose upper-case");
    EXPECT_EQ(text(archive.readEntry("dat/twice.txt")), "first");
    DataBlob empty = archive.readEntry("dat/empty.txt");
    EXPECT_EQ(empty.size, 0u);
    DataBlob loose = archive.readEntry("mui/loose.txt");
    EXPECT_EQ(text(loose), "loose file");
    EXPECT_EQ(loose.offset, 0u);
    DataBlob none = archive.readEntry("nowhere.txt");
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.bytes(), nullptr);
}

TEST(PackFile, WithoutArchiveEverythingComesFromDisk) {
    test::TempDir dir;
    dir.write("dat/param.txt", std::string("m_speed 2"));
    PackFile archive(dir.path());
    EXPECT_FALSE(archive.open("data/data.pk"));
    EXPECT_EQ(text(archive.readEntry("dat/param.txt")), "m_speed 2");
}

TEST(PackFile, DamagedArchivesNeverOverrun) {
    test::TempDir dir;
    const auto good = pack({{"a.txt", bytesOf("alpha")}, {"b.txt", bytesOf("bravo!")}});

    // Every truncation keeps what is really there and never reads past it.
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        dir.write("cut.pk", std::vector<std::uint8_t>(good.begin(), good.begin() + cut));
        PackFile archive(dir.path());
        ASSERT_TRUE(archive.open("cut.pk"));
        ASSERT_LE(archive.names().size(), 2u);
        for (std::size_t i = 0; i < archive.names().size(); ++i) {
            const auto& e = archive.directory()[i];
            ASSERT_LE(e.offset + e.size, cut);
        }
        if (cut == good.size()) {
            EXPECT_EQ(text(archive.readEntry("b.txt")), "bravo!");
        }
    }

    // A huge count, a huge data size and an over-long name.
    std::vector<std::uint8_t> hostile = {'B', 'V'};
    putU32(hostile, 0xFFFFFFFFu);
    putU32(hostile, 1);
    hostile.push_back('x');
    putU32(hostile, 0xFFFFFFF0u);
    hostile.push_back('z');
    dir.write("hostile.pk", hostile);
    PackFile archive(dir.path());
    ASSERT_TRUE(archive.open("hostile.pk"));
    ASSERT_EQ(archive.names().size(), 1u);
    EXPECT_EQ(archive.directory()[0].size, 1u);  // only the one byte that is really there
    EXPECT_EQ(text(archive.readEntry("x")), "z");

    std::vector<std::uint8_t> longName = {'B', 'V'};
    putU32(longName, 2);
    putU32(longName, 1);
    longName.push_back('y');
    putU32(longName, 0);
    putU32(longName, 80);
    longName.insert(longName.end(), 80, 'n');
    putU32(longName, 0);
    dir.write("long.pk", longName);
    PackFile longArchive(dir.path());
    ASSERT_TRUE(longArchive.open("long.pk"));
    EXPECT_EQ(longArchive.names().size(), 1u);
}

TEST(PackWriter, RefusesNamesTheReaderCannotCarry) {
    std::vector<std::uint8_t> out;
    std::string error;
    EXPECT_TRUE(encodePack({{std::string(79, 'a'), {}}}, out, error));
    EXPECT_FALSE(encodePack({{std::string(80, 'a'), {}}}, out, error));
    EXPECT_NE(error.find("80 bytes"), std::string::npos);
    EXPECT_FALSE(encodePack({{"", {}}}, out, error));
}

}  // namespace
}  // namespace brv
