#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/IntroScreen.h"
#include "app/MainScreen.h"
#include "app/Program.h"
#include "app/window/GlWindow.h"
#include "app/window/WindowProcedure.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "config/KeyValueFile.h"
#include "config/WindowSettings.h"
#include "gfx/ResourceSet.h"
#include "platform/Clock.h"
#include "platform/HeadlessPlatform.h"
#include "platform/VirtualKeys.h"
#include "tests/app/MenuTestSupport.h"
#include "tests/support/Fifo.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"
#include "ui/NewGameDialog.h"

namespace brv {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the lifetime of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) { ::setenv(name, value, 1); }
    ~ScopedEnv() { ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
};

// A game folder with the built data set.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path pack = BREVORA_BUILD_DIR "/game/data/data.pk";
        ASSERT_TRUE(fs::exists(pack)) << "the data set is built with the game";
        fs::create_directories(dir.file("data"));
        fs::copy_file(pack, dir.file("data/data.pk"));
    }
    test::TempDir dir;
};

TEST_F(ProgramFixture, StartUpLeavesTheMenuAloneOnScreenAndShutdownSavesEverything) {
    dir.write("data/save.sav", std::string("not a scrambled file at all"));
    GameParams params(dir.path());
    ASSERT_TRUE(params.startupProblems().empty());
    params.m_score_table.clear();
    HeadlessPlatform platform(true);
    platform.setDesktop(1024, 768);
    test::FakeScreens screens;
    ScopedEnv seed("BREVORA_SEED", "1234");
    {
        Program program(platform, params, screens);
        ASSERT_TRUE(program.start());
        EXPECT_EQ(program.context().window, program.window());
        EXPECT_EQ(platform.title(), "Brevora");
        EXPECT_TRUE(platform.timerRunning());
        EXPECT_EQ(program.window()->screens(), (std::vector<View*>{program.mainScreen()}));
        EXPECT_FALSE(fs::exists(dir.file("data/save.sav")));
        // The games are seeded once, with the fixed seed.
        EXPECT_EQ(screens.seeded, 1234u);
        EXPECT_EQ(screens.seeds, 1);
        EXPECT_NE(program.context().art.okButton.glName(), 0u);
        EXPECT_GT(platform.swapCount(), 0);  // the intro was shown
        EXPECT_TRUE(platform.audioOpen() && program.context().sounds.clip(Sound::GameWon));

        // Full screen keeps the window, its context and the art.
        program.mainScreen()->enterFullScreen();
        EXPECT_TRUE(platform.fullScreen());
        EXPECT_EQ(platform.createCount(), 1);
        EXPECT_NE(program.context().art.okButton.glName(), 0u);
        program.mainScreen()->leaveFullScreen();

        params.m_last_players_count = 2;
        params.m_score_table.insert("Ann", 77);
        Message close;
        close.kind = MessageKind::Close;
        platform.post(close);
        EXPECT_EQ(program.run(), 0);
        program.stop();
        EXPECT_FALSE(platform.hasWindow());
        EXPECT_EQ(program.context().window, nullptr);
        EXPECT_EQ(program.context().art.okButton.glName(), 0u);
        EXPECT_FALSE(platform.audioOpen());
    }
    GameParams reread(dir.path());
    ASSERT_TRUE(WindowSettings::load(reread));
    EXPECT_EQ(reread.m_last_players_count, 2);
    ASSERT_EQ(reread.m_score_table.entries().size(), 1u);
    EXPECT_EQ(reread.m_score_table.entries()[0].name, "Ann");
}

TEST_F(ProgramFixture, DamagedDataIsNamedAndTheGameStartsOnWhatIsLeft) {
    // The archive cut inside its fourth picture; the layout as a loose file.
    fs::resize_file(dir.file("data/data.pk"), 200000);
    fs::create_directories(dir.file("mui"));
    fs::copy_file(BREVORA_SOURCE_DIR "/assets/mui/menu.txt", dir.file("mui/menu.txt"));
    GameParams params(dir.path());
    ASSERT_TRUE(params.startupProblems().empty());
    HeadlessPlatform platform(true);
    test::FakeScreens screens;
    testing::internal::CaptureStderr();
    Program program(platform, params, screens);
    ASSERT_TRUE(program.start());
    const std::string said = testing::internal::GetCapturedStderr();
    program.stop();
    EXPECT_NE(said.find("data.pk is damaged: its directory ends after 6 of"), std::string::npos)
        << said;
    EXPECT_NE(said.find("brevora: mui/btn_continue.tga: cut short"), std::string::npos) << said;
    EXPECT_NE(said.find("brevora: mui/font.tga: missing or empty"), std::string::npos) << said;
    EXPECT_NE(said.find("brevora: mui/help.txt: missing or empty"), std::string::npos) << said;
    EXPECT_NE(said.find("brevora: snd/game_won.wav: missing or empty"), std::string::npos) << said;
}

// A finished game closes by itself two seconds after its end and then turns
// into the game-over dialog. Whenever the window closes in between, or with
// the dialog still unanswered, a score that ranks is kept under "Anonymous".
TEST_F(ProgramFixture, NoCloseLosesAFinishedGamesScore) {
    enum class When { EndDelay, DialogOpen, DialogOpenAltHeld };
    for (const When when : {When::EndDelay, When::DialogOpen, When::DialogOpenAltHeld}) {
        GameParams params(dir.path());
        HeadlessPlatform platform(true);
        test::FakeScreens screens;
        Program program(platform, params, screens);
        ASSERT_TRUE(program.start());
        MainScreen& menu = *program.mainScreen();
        GlWindow& window = *program.window();
        menu.onWidgetEvent(&menu.button(MainScreen::Control::NewGame));
        ASSERT_NE(menu.newGameDialog(), nullptr);
        menu.newGameDialog()->onKeyDown(kVkEnter);
        window.tick(kTickMs);
        ASSERT_EQ(screens.games.size(), 1u);
        screens.games[0]->over = true;
        screens.games[0]->score = 50 + static_cast<int>(when);
        if (when != When::EndDelay) {
            window.closeTop();
            window.tick(kTickMs);
            ASSERT_NE(menu.gameOverDialog(), nullptr);
        }
        Message close;
        close.kind = MessageKind::Close;
        if (when == When::DialogOpenAltHeld) {
            platform.setKeyHeld(kVkAlt, true);
            windowProcedure(window, close);
            EXPECT_TRUE(window.dialogs().empty());
            platform.setKeyHeld(kVkAlt, false);
        } else {
            platform.post(close);
        }
        EXPECT_EQ(program.run(), 0);
        program.stop();
    }
    GameParams reread(dir.path());
    ASSERT_TRUE(WindowSettings::load(reread));
    const auto& entries = reread.m_score_table.entries();
    ASSERT_EQ(entries.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].name, ScoreTable::kAnonymous);
        EXPECT_EQ(entries[i].score, 52 - i);
    }
}

TEST_F(ProgramFixture, SavedWindowIsPulledBackOntoTheDesktopBeforeItOpens) {
    GameParams params(dir.path());
    KeyValueFile settings;
    params.m_window_x = 1500;
    params.m_window_y = 100;
    ASSERT_TRUE(WindowSettings::save(params, 1500, 100));
    HeadlessPlatform platform(true);
    platform.setDesktop(1024, 768);
    test::FakeScreens screens;
    Program program(platform, params, screens);
    ASSERT_TRUE(program.start());
    EXPECT_EQ(platform.windowRect().left, 750);
    EXPECT_EQ(platform.windowRect().top, 100);
    program.stop();
}

TEST_F(ProgramFixture, QuittingInFullScreenKeepsTheWindowsOwnPlace) {
    GameParams params(dir.path());
    params.m_window_width = 640;
    params.m_window_height = 480;
    ASSERT_TRUE(WindowSettings::save(params, 120, 90));
    HeadlessPlatform platform(true);
    test::FakeScreens screens;
    Program program(platform, params, screens);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.window()->enterFullScreen());
    Message close;
    close.kind = MessageKind::Close;
    platform.post(close);
    EXPECT_EQ(program.run(), 0);
    program.stop();
    GameParams reread(dir.path());
    ASSERT_TRUE(WindowSettings::load(reread));
    EXPECT_EQ(reread.m_window_x, 120);
    EXPECT_EQ(reread.m_window_y, 90);
    EXPECT_EQ(reread.m_window_width, 640);
    EXPECT_EQ(reread.m_window_height, 480);
}

// A damaged stored size opens neither a window larger than the desktop nor
// one too small to read; the size that opened is the one saved again.
TEST_F(ProgramFixture, StoredWindowSizeIsFittedToTheDesktop) {
    struct Case {
        int width, height, openWidth, openHeight;
        std::string said;
    };
    for (const Case& c :
         {Case{4000, 3000, 1024, 768, "window 4000 x 3000 does not fit the desktop"},
          Case{1, 1, 320, 240, "window 1 x 1 is too small to show the game"},
          Case{640, 480, 640, 480, ""}}) {
        GameParams params(dir.path());
        params.m_window_width = c.width;
        params.m_window_height = c.height;
        ASSERT_TRUE(WindowSettings::save(params, 0, 0));
        HeadlessPlatform platform(true);
        platform.setDesktop(1024, 768);
        test::FakeScreens screens;
        Program program(platform, params, screens);
        testing::internal::CaptureStderr();
        const bool started = program.start();
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(started);
        EXPECT_EQ(platform.windowRect().right - platform.windowRect().left, c.openWidth);
        EXPECT_EQ(platform.windowRect().bottom - platform.windowRect().top, c.openHeight);
        EXPECT_EQ(said.find("data/dx.cfg: " + c.said) == std::string::npos, c.said.empty()) << said;
        program.stop();
        GameParams reread(dir.path());
        ASSERT_TRUE(WindowSettings::load(reread));
        EXPECT_EQ(reread.m_window_width, c.openWidth);
    }
}

TEST_F(ProgramFixture, IntroPictureFillsTheWholeWindowWhateverItsSize) {
    GameParams params(dir.path());
    // The saved settings name another size than the window really has.
    params.m_window_width = 800;
    params.m_window_height = 600;
    HeadlessPlatform platform(true);
    {
        GlWindow window(platform);
        ASSERT_TRUE(window.create("Brevora", 0, 0, 640, 360));
        window.setLogicalSize(800, 600);
        test::TestContext own(params, &window);
        auto intro = std::make_unique<IntroScreen>(own.context);
        ASSERT_GT(intro->picture().width(), 0);
        window.pushScreen(std::move(intro));
        window.drawAll();
        glFinish();
        std::vector<unsigned char> rgb(640 * 360 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 360, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        // Nowhere is the black clear colour left, and the picture stands
        // upright: its red colony (top left) shows in the window's top half.
        int black = 0, redTop = 0, redBottom = 0;
        for (int i = 0; i < 640 * 360; ++i) {
            const unsigned char* p = &rgb[i * 3];
            black += p[0] == 0 && p[1] == 0 && p[2] == 0;
            if (p[0] > 150 && p[1] < 80 && p[2] < 80 && i % 640 < 320) {
                (i / 640 >= 180 ? redTop : redBottom) += 1;  // rows count from the bottom
            }
        }
        EXPECT_LT(black, 640 * 360 / 100);
        EXPECT_GT(redTop, 50);
        EXPECT_EQ(redBottom, 0);
        window.clearViews();
        window.destroy();
    }
}

TEST(SavedGame, AnyLeftoverIsDeletedAndAbsenceIsFine) {
    test::TempDir dir;
    EXPECT_FALSE(discardSavedGame(dir.file("data/save.sav")));
    dir.write("data/save.sav", std::vector<std::uint8_t>{0xff, 0x00, 0x13});
    EXPECT_TRUE(discardSavedGame(dir.file("data/save.sav")));
    EXPECT_FALSE(fs::exists(dir.file("data/save.sav")));
    // Something else in its place is neither waited on nor removed.
    const test::Fifo fifo(dir.file("data/save.sav"));
    EXPECT_TRUE(fifo.returnsPromptly([&] { EXPECT_FALSE(discardSavedGame(fifo.path())); }));
    EXPECT_TRUE(fs::is_fifo(fifo.path()));
}

TEST(StartSeed, FixedByTheVariableOnlyWhenItIsAWholeNumberThatFits) {
    ::unsetenv("BREVORA_SEED");
    EXPECT_EQ(startSeed(777), 777u);
    struct Case {
        const char* text;
        std::uint32_t seed;
    };
    for (const Case& c : {Case{"42", 42}, Case{"0", 0}, Case{"4294967295", 4294967295u},
                          Case{"4294967296", 777}, Case{"-1", 777}, Case{"12abc", 777},
                          Case{"", 777}, Case{" 5", 777}, Case{"99999999999999999999999", 777}}) {
        ScopedEnv env("BREVORA_SEED", c.text);
        EXPECT_EQ(startSeed(777), c.seed) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace brv
