#include "config/Preferences.h"

#include <gtest/gtest.h>

#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

TEST(Preferences, RoundTripAndDamagedValuesReadAsDefaults) {
    test::TempDir dir;
    SaveFolder folder = test::saveFolderIn(dir.path());
    Preferences first;
    EXPECT_FALSE(first.load(folder));
    EXPECT_TRUE(first.firstRun);

    Preferences chosen;
    chosen.muted = true;
    chosen.volume = 70;
    chosen.colourBlindPalette = true;
    chosen.speed = 4;
    chosen.alwaysShowFlagCount = true;
    ASSERT_TRUE(chosen.save(folder));
    Preferences read;
    ASSERT_TRUE(read.load(folder));
    EXPECT_FALSE(read.firstRun);
    EXPECT_TRUE(read.muted && read.colourBlindPalette && read.alwaysShowFlagCount);
    EXPECT_EQ(read.volume, 70);
    EXPECT_EQ(read.speed, 4);

    // Values another program or damage put there fall back one by one.
    dir.write("data/prefs.cfg", "mute yes\nvolume 250\npalette odd\nspeed 3\nshow_flag_count\n");
    Preferences damaged;
    ASSERT_TRUE(damaged.load(folder));
    EXPECT_FALSE(damaged.muted || damaged.colourBlindPalette || damaged.alwaysShowFlagCount);
    EXPECT_EQ(damaged.volume, Preferences::kDefaultVolume);
    EXPECT_EQ(damaged.speed, 1);
    EXPECT_FALSE(damaged.firstRun);

    // A damaged value is named once, at load.
    dir.write("data/prefs.cfg", "volume 1e30\nspeed 4\n");
    testing::internal::CaptureStderr();
    Preferences huge;
    ASSERT_TRUE(huge.load(folder));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "brevora: \"" + dir.file("data/prefs.cfg") +
                  "\": damaged values read as their defaults: volume \"1e30\"\n");
    EXPECT_EQ(huge.volume, Preferences::kDefaultVolume);
    EXPECT_EQ(huge.speed, 4);
}

}  // namespace
}  // namespace brv
