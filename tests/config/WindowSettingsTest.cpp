#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "config/GameParams.h"
#include "config/KeyValueFile.h"
#include "config/WindowSettings.h"
#include "platform/FileIo.h"
#include "tests/support/Fifo.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteLimit.h"

namespace brv {
namespace {

std::string plainText(const test::TempDir& dir, const std::string& relative, const char* key) {
    auto stored = dir.read(relative);
    std::string plain;
    EXPECT_TRUE(
        unscramble(stored.data(), stored.size(), key, std::char_traits<char>::length(key), plain));
    return plain;
}

void writeScrambled(const test::TempDir& dir, const std::string& relative, const std::string& text,
                    std::uint32_t rotation) {
    dir.write(relative, scramble(text, "qz", 2, rotation));
}

TEST(WindowSettings, FirstRunKeepsDefaultsAndShutdownWritesTheSevenLines) {
    test::TempDir dir;
    GameParams params(dir.path());
    EXPECT_FALSE(WindowSettings::load(params));
    EXPECT_EQ(params.m_window_width, 800);
    EXPECT_EQ(params.m_window_height, 600);
    EXPECT_EQ(params.m_window_x, 0);
    EXPECT_FALSE(params.m_autosave);

    params.m_last_players_count = 3;
    params.m_last_difficult = 2;
    params.m_autosave = true;
    ASSERT_TRUE(WindowSettings::save(params, -12, 34));
    EXPECT_EQ(plainText(dir, "data/dx.cfg", "qz"),
              "m_autosave 1\nm_last_difficult 2\nm_last_players_count 3\n"
              "m_window_height 600\nm_window_width 800\nx -12\ny 34\n");
    // The table is written beside it even when empty.
    EXPECT_EQ(plainText(dir, "data/scores.tab", "ze#81p"), "num 0\n");
}

TEST(WindowSettings, ReadsAFileOfAnyRotation) {
    const std::string text =
        "m_autosave 1\nm_last_difficult 1\nm_last_players_count 4\n"
        "m_window_height 480\nm_window_width 640\nx 100\ny 200\n";
    for (std::uint32_t rotation = 0; rotation < 100; ++rotation) {
        test::TempDir dir;
        writeScrambled(dir, "data/dx.cfg", text, rotation);
        GameParams params(dir.path());
        ASSERT_TRUE(WindowSettings::load(params)) << rotation;
        EXPECT_EQ(params.m_window_width, 640);
        EXPECT_EQ(params.m_window_height, 480);
        EXPECT_EQ(params.m_window_x, 100);
        EXPECT_EQ(params.m_window_y, 200);
        EXPECT_TRUE(params.m_autosave);
        EXPECT_EQ(params.m_last_players_count, 4);
        EXPECT_EQ(params.m_last_difficult, 1);
    }
}

TEST(WindowSettings, MissingKeysReadAsZeroButAnUnusableSizeFallsBack) {
    struct Case {
        std::string text;
        int width, height, x, y;
        bool autosave;
    };
    const Case cases[] = {
        // Only m_autosave: zero size would give no window at all.
        {"m_autosave 1\n", 800, 600, 0, 0, true},
        {"m_autosave 2\nm_window_width 1024\nm_window_height 768\n", 1024, 768, 0, 0, false},
        {"m_window_width -5\nm_window_height 700\nx 7\n", 800, 600, 7, 0, false},
        {"m_window_width 900\nm_window_height 99999999\n", 800, 600, 0, 0, false},
        {"m_window_width 900\nm_window_height 700\nx -2147483648\ny 2147483647\n", 900, 700,
         -WindowSettings::kMaxSide, WindowSettings::kMaxSide, false},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        writeScrambled(dir, "data/dx.cfg", c.text, 1);
        GameParams params(dir.path());
        params.m_last_players_count = 4;
        ASSERT_TRUE(WindowSettings::load(params)) << c.text;
        EXPECT_EQ(params.m_window_width, c.width) << c.text;
        EXPECT_EQ(params.m_window_height, c.height) << c.text;
        EXPECT_EQ(params.m_window_x, c.x) << c.text;
        EXPECT_EQ(params.m_window_y, c.y) << c.text;
        EXPECT_EQ(params.m_autosave, c.autosave) << c.text;
        EXPECT_EQ(params.m_last_players_count, 0) << c.text;
    }
}

TEST(WindowSettings, OldSettingsFileIsDeletedOnlyAfterAReadableOne) {
    namespace fs = std::filesystem;
    {
        test::TempDir dir;
        dir.write("data/d.cfg", std::string("old"));
        writeScrambled(dir, "data/dx.cfg", "m_window_width 900\n", 0);
        GameParams params(dir.path());
        WindowSettings::load(params);
        EXPECT_FALSE(fs::exists(dir.file("data/d.cfg")));
    }
    for (const std::string& damaged : {std::string(), std::string("\x05"),
                                       std::string("\x09"
                                                   "ab")}) {
        test::TempDir dir;
        dir.write("data/d.cfg", std::string("old"));
        if (!damaged.empty()) {
            dir.write("data/dx.cfg", damaged);
        }
        GameParams params(dir.path());
        EXPECT_FALSE(WindowSettings::load(params));
        EXPECT_TRUE(fs::exists(dir.file("data/d.cfg")));
        EXPECT_EQ(params.m_window_width, 800);
        EXPECT_EQ(params.m_window_height, 600);
        // A damaged file is kept aside rather than overwritten at shutdown.
        EXPECT_EQ(fs::exists(dir.file("data/dx.cfg.bad")), !damaged.empty());
    }
    // Bytes that unscramble to none of the settings' keys are damage too.
    test::TempDir dir;
    writeScrambled(dir, "data/dx.cfg", "\x7f\xe1 q\x01\nzz 4\n", 2);
    GameParams params(dir.path());
    EXPECT_FALSE(WindowSettings::load(params));
    EXPECT_TRUE(fs::exists(dir.file("data/dx.cfg.bad")));
}

TEST(WindowSettings, AnUnreadableTableIsKeptAsideBeforeAFreshOneIsWritten) {
    test::TempDir dir;
    dir.write("data/scores.tab", std::string("\x05"));
    dir.write("data/scores.tab.bad", std::string("an older damaged table"));
    GameParams params(dir.path());
    testing::internal::CaptureStderr();
    WindowSettings::load(params);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("scores.tab\" could not be read; it is kept as"), std::string::npos)
        << said;
    const auto kept = dir.read("data/scores.tab.bad");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "\x05");
    params.m_score_table.insert("Ann", 500);
    ASSERT_TRUE(WindowSettings::save(params, 0, 0));
    EXPECT_EQ(plainText(dir, "data/scores.tab", "ze#81p"), "name0 Ann\nnum 1\nscore0 500\n");
}

TEST(WindowSettings, StoredTableSurvivesARunWithoutSettings) {
    test::TempDir dir;
    {
        GameParams params(dir.path());
        params.m_score_table.insert("Ann", 500);
        ASSERT_TRUE(WindowSettings::save(params, 0, 0));
    }
    std::filesystem::remove(dir.file("data/dx.cfg"));
    GameParams params(dir.path());
    EXPECT_FALSE(WindowSettings::load(params));
    ASSERT_EQ(params.m_score_table.entries().size(), 1u);
    ASSERT_TRUE(WindowSettings::save(params, 0, 0));
    EXPECT_EQ(plainText(dir, "data/scores.tab", "ze#81p"), "name0 Ann\nnum 1\nscore0 500\n");
}

TEST(WindowSettings, FilesThatAreNotRegularAreNamedNeverWaitedOnAndNeverReplaced) {
    test::TempDir dir;
    const std::vector<std::string> fifos = {dir.file("data/data.pk"), dir.file("data/dx.cfg"),
                                            dir.file("data/scores.tab"),
                                            dir.file("data/prefs.cfg")};
    std::vector<std::unique_ptr<test::Fifo>> made;
    for (const std::string& path : fifos) {
        made.push_back(std::make_unique<test::Fifo>(path));
    }
    std::unique_ptr<GameParams> params;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(test::returnsPromptly(fifos, [&] {
        params = std::make_unique<GameParams>(dir.path());
        WindowSettings::load(*params);
        params->m_preferences.load(params->m_save_folder);
        params->m_score_table.insert("Ann", 500);
        WindowSettings::save(*params, 0, 0);
        params->m_preferences.save(params->m_save_folder);
    }));
    const std::string said = testing::internal::GetCapturedStderr();
    for (const char* name : {"dx.cfg", "scores.tab", "prefs.cfg"}) {
        const std::string line = "\"" + dir.file("data/") + name +
                                 "\" cannot be read (not a regular file); it is left as it is";
        EXPECT_NE(said.find(line), std::string::npos) << said;
        EXPECT_EQ(said.find(line), said.rfind(line)) << "told once: " << said;
    }
    ASSERT_FALSE(params->dataDamage().empty());
    EXPECT_NE(params->dataDamage()[0].find("data.pk\" cannot be read: not a regular file"),
              std::string::npos);
    for (const std::string& path : fifos) {
        EXPECT_TRUE(std::filesystem::is_fifo(path)) << path;
    }
}

// Runs `body` as a player without the rights of the test (which may run as
// root, whom a mode of 000 does not stop) and gives its exit status.
int asPlayer(const std::function<int()>& body) {
    if (::geteuid() != 0) {
        return body();
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        std::fflush(nullptr);
        ::_exit(dropped ? body() : 99);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WindowSettings, FilesThePlayerCannotReadAreNamedAndNeverOverwritten) {
    test::TempDir dir;
    {
        GameParams first(dir.path());
        first.m_score_table.insert("Ann", 500);
        ASSERT_TRUE(WindowSettings::save(first, 0, 0));
        ASSERT_TRUE(first.m_preferences.save(first.m_save_folder));
    }
    const char* names[] = {"dx.cfg", "scores.tab", "prefs.cfg"};
    std::vector<std::vector<std::uint8_t>> before;
    for (const char* name : names) {
        before.push_back(dir.read(std::string("data/") + name));
        ::chmod(dir.file(std::string("data/") + name).c_str(), 0);
    }
    // The player may write the folder, only the files are closed to them.
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("data").c_str(), 0777);
    testing::internal::CaptureStderr();
    const int status = asPlayer([&] {
        GameParams params(dir.path());
        WindowSettings::load(params);
        params.m_preferences.load(params.m_save_folder);
        params.m_score_table.insert("Bob", 700);
        const bool saved = WindowSettings::save(params, 0, 0);
        return saved || params.m_preferences.save(params.m_save_folder) ? 1 : 0;
    });
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 0) << said;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const std::string line = "\"" + dir.file("data/") + names[i] +
                                 "\" cannot be read (Permission denied); it is left as it is";
        EXPECT_NE(said.find(line), std::string::npos) << said;
        EXPECT_EQ(said.find(line), said.rfind(line)) << "told once: " << said;
        EXPECT_EQ(dir.read(std::string("data/") + names[i]), before[i]) << names[i];
        EXPECT_FALSE(std::filesystem::exists(dir.file(std::string("data/") + names[i] + ".bad")));
    }
}

TEST(WindowSettings, CopiesSharingAFolderKeepEachOthersScoresWhoeverQuitsLast) {
    for (const bool firstQuitsFirst : {true, false}) {
        test::TempDir dir;
        {
            GameParams earlier(dir.path());
            earlier.m_score_table.insert("Old", 300);
            ASSERT_TRUE(WindowSettings::save(earlier, 0, 0));
        }
        GameParams first(dir.path());
        GameParams second(dir.path());
        WindowSettings::load(first);
        WindowSettings::load(second);
        // Entered as the game-over dialog does, saved at once...
        first.m_score_table.insert("Ann", 500);
        ASSERT_TRUE(WindowSettings::saveScores(first));
        second.m_score_table.insert("Bob", 400);
        ASSERT_TRUE(WindowSettings::saveScores(second));
        // ...or only at shutdown, after a save that did not happen.
        first.m_score_table.insert("Cy", 100);
        ASSERT_TRUE(WindowSettings::save(firstQuitsFirst ? first : second, 0, 0));
        ASSERT_TRUE(WindowSettings::save(firstQuitsFirst ? second : first, 0, 0));
        GameParams next(dir.path());
        WindowSettings::load(next);
        EXPECT_EQ(plainText(dir, "data/scores.tab", "ze#81p"),
                  "name0 Ann\nname1 Bob\nname2 Old\nname3 Cy\nnum 4\n"
                  "score0 500\nscore1 400\nscore2 300\nscore3 100\n")
            << firstQuitsFirst;
        // The copy that saved last holds what is on disk.
        EXPECT_EQ(first.m_score_table.entries().size(), 4u);
    }
}

// Sets an environment variable for a scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

GameLocation installedAt(const std::string& dir) {
    return {.dir = dir, .installed = true, .searched = {}};
}

TEST(WindowSettings, InstalledGameKeepsItsFilesInThePlayersFolderInTheSameFormats) {
    test::TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", dir.file("xdg"));
    {
        // Settings and a table shipped beside the archive.
        GameParams shipped(dir.file("game"));
        shipped.m_last_players_count = 1;
        shipped.m_score_table.insert("Ann", 500);
        ASSERT_TRUE(WindowSettings::save(shipped, 0, 0));
    }
    const auto shippedTable = dir.read("game/data/scores.tab");
    GameParams params(installedAt(dir.file("game")));
    ASSERT_TRUE(WindowSettings::load(params));
    EXPECT_EQ(params.m_last_players_count, 1);
    params.m_last_players_count = 2;
    params.m_score_table.insert("Bob", 700);
    ASSERT_TRUE(WindowSettings::save(params, -12, 34));
    EXPECT_EQ(dir.read("game/data/scores.tab"), shippedTable);
    EXPECT_EQ(plainText(dir, "xdg/brevora/dx.cfg", "qz"),
              "m_autosave 0\nm_last_difficult 0\nm_last_players_count 2\n"
              "m_window_height 600\nm_window_width 800\nx -12\ny 34\n");
    EXPECT_EQ(plainText(dir, "xdg/brevora/scores.tab", "ze#81p"),
              "name0 Bob\nname1 Ann\nnum 2\nscore0 700\nscore1 500\n");
    // From now on the player's own files are read.
    GameParams again(installedAt(dir.file("game")));
    WindowSettings::load(again);
    EXPECT_EQ(again.m_last_players_count, 2);
    // A relative XDG_DATA_HOME counts for nothing; HOME is next.
    ScopedEnv relative("XDG_DATA_HOME", "xdg");
    ScopedEnv home("HOME", dir.file("home"));
    EXPECT_EQ(SaveFolder::userDataDir(), dir.file("home/.local/share/brevora"));
}

TEST(WindowSettings, AGameThatCannotSaveSaysSoOnceAndLosesNothing) {
    test::TempDir dir;
    dir.write("blocked", std::string("a file where the player's folder should be"));
    ScopedEnv xdg("XDG_DATA_HOME", dir.file("blocked"));
    GameParams params(installedAt(dir.file("game")));
    EXPECT_FALSE(params.m_save_folder.problem().empty());
    params.m_score_table.insert("Ann", 500);
    testing::internal::CaptureStderr();
    WindowSettings::load(params);
    EXPECT_FALSE(WindowSettings::save(params, 0, 0));
    EXPECT_FALSE(WindowSettings::save(params, 0, 0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "brevora: the settings and scores cannot be saved in \"" +
                  dir.file("blocked/brevora") + "\": Not a directory\n");
    EXPECT_EQ(params.m_score_table.entries().size(), 1u);

    // A folder that fails only when the files are written (a full disk) is
    // told at shutdown, and the files there stay as they were.
    GameParams own(dir.file("game"));
    own.m_score_table.insert("Ann", 500);
    ASSERT_TRUE(WindowSettings::save(own, 0, 0));
    const auto table = dir.read("game/data/scores.tab");
    own.m_score_table.insert("Bob", 700);
    const std::string told = test::stderrThroughPipe([&] {
        const test::WriteLimit fullDisk(3);
        EXPECT_FALSE(WindowSettings::save(own, 0, 0));
        EXPECT_FALSE(WindowSettings::save(own, 0, 0));
    });
    EXPECT_EQ(told, "brevora: the settings and scores cannot be saved in \"" +
                        dir.file("game/data") + "\": File too large\n");
    EXPECT_EQ(dir.read("game/data/scores.tab"), table);
    EXPECT_EQ(own.m_score_table.entries().size(), 2u);
}

TEST(WindowSettings, CentreStaysOnTheDesktop) {
    test::TempDir dir;
    GameParams params(dir.path());
    auto centred = [&params](int x, int width, int y, int height) {
        params.m_window_x = x;
        params.m_window_width = width;
        params.m_window_y = y;
        params.m_window_height = height;
        WindowSettings::keepCentreOnDesktop(params, 1024, 768);
        return std::pair{params.m_window_x, params.m_window_y};
    };
    EXPECT_EQ(centred(1500, 800, 10, 600), std::pair(750, 10));
    // Centre exactly on the right edge moves; one pixel left of it does not.
    EXPECT_EQ(centred(624, 800, 0, 600), std::pair(312, 0));
    EXPECT_EQ(centred(623, 800, 0, 600), std::pair(623, 0));
    // An odd width is halved with truncation: 801 / 2 = 400.
    EXPECT_EQ(centred(624, 801, 0, 600), std::pair(312, 0));
    EXPECT_EQ(centred(623, 801, 0, 600), std::pair(623, 0));
    EXPECT_EQ(centred(-100, 800, -50, 600), std::pair(-100, -50));
    // y is tested on its own: 468 + 300 = 768 moves, x stays.
    EXPECT_EQ(centred(0, 800, 468, 600), std::pair(0, 234));
    // Halved once only, even when still off the desktop; odd values truncate.
    EXPECT_EQ(centred(5001, 800, 0, 600), std::pair(2500, 0));
}

}  // namespace
}  // namespace brv
