// The contact sheet is drawn from a data set named by any path, and a folder
// without a data set is refused instead of giving an empty sheet.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tools/mkdata/ContactSheet.h"

namespace brv {
namespace {

TEST(ContactSheet, RelativeDataFolderLoadsAndEmptyFolderIsRefused) {
    test::TempDir dir;
    const std::string game =
        std::filesystem::relative(std::string(BREVORA_BUILD_DIR) + "/game").string();
    ASSERT_NE(game.find('/'), std::string::npos) << "want a path of several folders: " << game;
    art::SheetReport report;
    std::string error;
    ASSERT_TRUE(art::renderContactSheet(game, dir.file("sheet.png"), report, error)) << error;
    EXPECT_EQ(report.glyphsFound, 94);
    EXPECT_TRUE(std::filesystem::file_size(dir.file("sheet.png")) > 10000);

    EXPECT_FALSE(art::renderContactSheet(dir.path(), dir.file("empty.png"), report, error));
    EXPECT_NE(error.find("no data set"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.png")));
}

}  // namespace
}  // namespace brv
