#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/GameParams.h"
#include "config/Preferences.h"
#include "config/SaveFolder.h"
#include "config/WindowSettings.h"
#include "platform/FileIo.h"
#include "tests/support/Fifo.h"
#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

// A score table locked by another program for longer than a save takes
// does not hang the game: the entry stays in the game, the reason is given,
// and the next save, once the lock is free, writes it. Run in a child, so a
// wait that never ends fails instead of hanging.
TEST(SaveFolder, AHeldScoreLockKeepsTheEntryInTheGameUntilTheTableIsFree) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("data"));
    const int holder = ::open(dir.file("data/scores.tab.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    GameParams params(dir.path());
    WindowSettings::load(params);
    params.m_score_table.insert("Ann", 500);
    EXPECT_TRUE(test::passesInChild([&] {
        std::string why;
        return !WindowSettings::saveScores(params, &why) && !why.empty() &&
               !std::filesystem::exists(dir.file("data/scores.tab")) &&
               params.m_score_table.entries().size() == 1;
    }));
    ::close(holder);  // the other program lets go
    EXPECT_TRUE(WindowSettings::saveScores(params));
    GameParams again(dir.path());
    WindowSettings::load(again);  // no settings yet: only the table was saved
    EXPECT_EQ(again.m_score_table.entries().size(), 1u);

    // A lock that cannot be taken at all (a folder at its name) is said and
    // the table stays as it was, rather than saved unlocked.
    std::filesystem::remove(dir.file("data/scores.tab.lock"));
    std::filesystem::create_directory(dir.file("data/scores.tab.lock"));
    again.m_score_table.insert("Bob", 700);
    std::string why;
    EXPECT_FALSE(WindowSettings::saveScores(again, &why));
    EXPECT_EQ(why, "the table cannot be locked (Is a directory): kept for now");
    GameParams third(dir.path());
    WindowSettings::load(third);
    EXPECT_EQ(third.m_score_table.entries().size(), 1u);
    EXPECT_EQ(again.m_score_table.entries().size(), 2u);
}

// FIFOs left where the old saves put their temporaries: shutdown saves
// every file promptly beside them and leaves them as they are.
TEST(SaveFolder, ShutdownSavesBesideFifosAtTheOldTemporaryNames) {
    test::TempDir dir;
    std::vector<std::unique_ptr<test::Fifo>> fifos;
    for (const char* name : {"data/dx.cfg.tmp", "data/scores.tab.tmp", "data/prefs.cfg.tmp"}) {
        fifos.push_back(std::make_unique<test::Fifo>(dir.file(name)));
    }
    EXPECT_TRUE(test::passesInChild([&] {
        GameParams params(dir.path());
        WindowSettings::load(params);
        params.m_score_table.insert("Ann", 500);
        params.m_preferences.muted = true;
        return WindowSettings::save(params, 0, 0) &&
               params.m_preferences.save(params.m_save_folder);
    }));
    GameParams again(dir.path());
    EXPECT_TRUE(WindowSettings::load(again));
    EXPECT_TRUE(again.m_preferences.load(again.m_save_folder));
    EXPECT_TRUE(again.m_preferences.muted);
    EXPECT_EQ(again.m_score_table.entries().size(), 1u);
    for (const auto& fifo : fifos) {
        EXPECT_TRUE(std::filesystem::is_fifo(fifo->path())) << fifo->path();
    }
}

// A settings file too large to read, or a link to one elsewhere, is named,
// never saved over and what it leads to never cut; a link to settings the
// game can read is replaced by the file itself, and what it led to is kept.
TEST(SaveFolder, SettingsTooLargeToReadOrLinkedElsewhereAreNeverSavedThrough) {
    const auto tooLarge = kMaxFileBytes + 1;
    for (const auto& [big, linked] : {std::pair{"dx.cfg", "prefs.cfg"}, {"prefs.cfg", "dx.cfg"}}) {
        test::TempDir dir;
        dir.write(std::string("data/") + big, std::string());
        dir.write(std::string("elsewhere/") + linked, std::string());
        std::filesystem::resize_file(dir.file(std::string("data/") + big), tooLarge);
        std::filesystem::resize_file(dir.file(std::string("elsewhere/") + linked), tooLarge);
        std::filesystem::create_symlink(dir.file(std::string("elsewhere/") + linked),
                                        dir.file(std::string("data/") + linked));
        testing::internal::CaptureStderr();
        {
            GameParams params(dir.path());
            WindowSettings::load(params);
            params.m_preferences.load(params.m_save_folder);
            WindowSettings::save(params, 0, 0);
            params.m_preferences.save(params.m_save_folder);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        for (const char* name : {big, linked}) {
            EXPECT_NE(said.find(dir.file("data/") + name + "\" cannot be read (larger than " +
                                std::to_string(kMaxFileBytes) + " bytes); it is left as it is"),
                      std::string::npos)
                << said;
        }
        EXPECT_EQ(std::filesystem::file_size(dir.file(std::string("data/") + big)), tooLarge);
        EXPECT_EQ(std::filesystem::file_size(dir.file(std::string("elsewhere/") + linked)),
                  tooLarge);
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(std::string("data/") + linked)));
    }
    test::TempDir dir;
    dir.write("elsewhere/prefs.cfg", std::string("mute 1\n"));
    std::filesystem::create_directories(dir.file("data"));
    std::filesystem::create_symlink(dir.file("elsewhere/prefs.cfg"), dir.file("data/prefs.cfg"));
    SaveFolder folder = test::saveFolderIn(dir.path());
    Preferences prefs;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(prefs.load(folder));
    prefs.volume = 7;
    EXPECT_TRUE(prefs.save(folder));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("prefs.cfg\" is a link; it is saved as a file in the link's place"),
              std::string::npos)
        << said;
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("data/prefs.cfg")));
    const auto kept = dir.read("elsewhere/prefs.cfg");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "mute 1\n");
    Preferences saved;
    EXPECT_TRUE(saved.load(folder) && saved.muted && saved.volume == 7);
}

}  // namespace
}  // namespace brv
