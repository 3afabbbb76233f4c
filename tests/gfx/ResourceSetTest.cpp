#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

using test::Rgba;

Rgba grey(int, int) {
    return Rgba{128, 128, 128, 255};
}

// Every picture gets its own width, so a member loaded from the wrong path shows.
struct Member {
    const char* what;
    const Texture* texture;
    int width;
    bool repeat;
};

std::vector<Member> members(const ResourceSet& set) {
    std::vector<Member> out = {
        {"font texture", &set.fontTexture, 256, true},
        {"single game", &set.singleGameButton, 10, false},
        {"continue", &set.continueButton, 12, true},
        {"quit game", &set.quitGameButton, 14, true},
        {"ok (path \"0\")", &set.okButton, 4, false},
        {"cancel", &set.cancelButton, 18, true},
        {"radio", &set.radioButton, 20, true},
        {"help", &set.helpButton, 22, false},
        {"close", &set.closeButton, 24, false},
        {"top 7", &set.top7Button, 26, false},
        {"full screen", &set.fullScreenButton, 28, false},
        {"up", &set.upButton, 30, false},
        {"down", &set.downButton, 32, false},
        {"minimise", &set.minimizeButton, 34, false},
        {"small help", &set.smallHelpButton, 36, false},
        {"small quit", &set.smallQuitButton, 38, false},
        {"name edit box", &set.nameEditBox, 40, false},
        {"main background", &set.mainBackground, 42, false},
        {"game background", &set.gameBackground, 44, false},
        {"dialog frame", &set.dialogFrame, 46, true},
        {"life source sprite", set.lifeSourceSprite.texture(), 48, false},
        {"flag sprite", set.flagSprite.texture(), 50, false},
    };
    for (int i = 0; i < ResourceSet::kFieldTextureCount; ++i) {
        out.push_back({"field texture", &set.fieldTextures[i], 8 * (i + 1), false});
    }
    return out;
}

// A data folder of loose files; the layout names every button picture but OK.
void writeDataSet(const test::TempDir& dir) {
    std::vector<std::vector<int>> glyphs(2, std::vector<int>(47, 2));
    dir.write("mui/font.tga", test::makeFontPicture(256, 64, 8, glyphs, true));
    const char* layoutKeys[] = {"m_single_game_btn", "m_continue_single_game_btn",
                                "m_quit_game_btn",   "",
                                "m_cancel_btn",      "m_radio_btn",
                                "m_help_btn",        "m_close_btn",
                                "m_top7_btn",        "m_fullscreen_btn"};
    std::string layout = "// layout for the test\n";
    for (int i = 0; i < 10; ++i) {
        if (*layoutKeys[i] != '\0') {
            const std::string path = "mui/b" + std::to_string(i) + ".tga";
            layout += std::string(layoutKeys[i]) + " " + path + "\n";
            dir.write(path, test::makeTga(10 + 2 * i, 6, 32, grey));
        }
    }
    layout += "m_enter_name_editbox mui/edit.tga\n";
    dir.write("mui/menu.txt", layout);
    dir.write("0", test::makeTga(4, 4, 32, grey));
    const char* fixed[] = {"up_btn", "down_btn", "min_btn", "help_sml_btn", "quit_sml_btn"};
    for (int i = 0; i < 5; ++i) {
        dir.write(std::string("mui/") + fixed[i] + ".tga", test::makeTga(30 + 2 * i, 6, 32, grey));
    }
    dir.write("mui/edit.tga", test::makeTga(40, 6, 24, grey));
    dir.write("mui/main.jpg", test::encodeJpeg(42, 8, 3, grey));
    dir.write("mui/main_game.jpg", test::encodeJpeg(44, 8, 3, grey));
    dir.write("mui/dialogbox.tga", test::makeTga(46, 8, 32, grey));
    dir.write("dat/life_src.spr", "file_name mui/life.tga frames 8");
    dir.write("mui/life.tga", test::makeTga(48, 6, 32, grey));
    dir.write("dat/flag.spr", "file_name mui/flag.jpg frames 5 groups 2");
    dir.write("mui/flag.jpg", test::encodeJpeg(50, 6, 3, grey));
    for (int i = 1; i <= 10; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "mui/tex/%03d.jpg", i);
        dir.write(path, test::encodeJpeg(8 * i, 8, 3, grey));
    }
}

GLint boundWrap(const Texture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    return wrap;
}

TEST(ResourceSet, LoadsEveryMemberFromItsPathAndReloadsWithoutLeaks) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    test::TempDir dir;
    writeDataSet(dir);
    const int before = test::liveTextureCount();
    GameParams params(dir.path());
    ResourceSet set(&params.m_archive);
    for (int round = 0; round < 2; ++round) {
        set.loadAll();
        std::set<unsigned int> names;
        for (const Member& m : members(set)) {
            ASSERT_NE(m.texture, nullptr) << m.what;
            EXPECT_NE(m.texture->glName(), 0u) << m.what;
            EXPECT_EQ(m.texture->width(), m.width) << m.what;
            // Level-0-only TGA pictures always repeat; everything else follows its flag.
            EXPECT_EQ(boundWrap(*m.texture), m.repeat ? GL_REPEAT : GL_CLAMP) << m.what;
            names.insert(m.texture->glName());
        }
        EXPECT_EQ(names.size(), members(set).size());
        EXPECT_EQ(test::liveTextureCount(), before + static_cast<int>(names.size()))
            << "round " << round;
    }
    EXPECT_EQ(set.font.glyphsFound(), BitmapFont::kGlyphCount);
    EXPECT_EQ(set.lifeSourceSprite.cellWidth(), 6);
    EXPECT_EQ(set.flagSprite.cellHeight(), 3);

    set.releaseAll();
    for (const Member& m : members(set)) {
        EXPECT_EQ(m.texture->glName(), 0u) << m.what;
    }
    EXPECT_EQ(test::liveTextureCount(), before);
    EXPECT_EQ(set.font.glyphsFound(), BitmapFont::kGlyphCount) << "the glyph table stays";
}

TEST(ResourceSet, MissingOrDamagedPicturesLeaveOnlyTheirMemberEmpty) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    test::TempDir dir;
    writeDataSet(dir);
    GameParams params(dir.path());
    ResourceSet set(&params.m_archive);
    set.loadAll();
    ASSERT_NE(set.upButton.glName(), 0u);

    std::filesystem::remove(dir.file("mui/up_btn.tga"));
    std::filesystem::remove(dir.file("mui/tex/010.jpg"));
    dir.write("mui/main.jpg", std::string(300, 'x'));
    dir.write("dat/flag.spr", "file_name mui/nothing.tga");
    set.loadAll();
    EXPECT_EQ(set.upButton.glName(), 0u);
    EXPECT_EQ(set.fieldTextures[9].glName(), 0u);
    EXPECT_EQ(set.mainBackground.glName(), 0u);
    EXPECT_EQ(set.flagSprite.texture()->glName(), 0u);
    EXPECT_NE(set.downButton.glName(), 0u);
    EXPECT_NE(set.fieldTextures[8].glName(), 0u);
    EXPECT_NE(set.gameBackground.glName(), 0u);
    EXPECT_EQ(test::liveTextureCount(), static_cast<int>(members(set).size()) - 4);
    // Each damaged or missing picture is named once, with what is wrong.
    EXPECT_EQ(set.problems(), (std::vector<std::string>{
                                  "mui/up_btn.tga: missing or empty",
                                  "mui/nothing.tga (named by dat/flag.spr): missing or empty",
                                  "mui/main.jpg: Not a JPEG file: starts with 0x78 0x78",
                                  "mui/tex/010.jpg: missing or empty",
                              }));

    // A font picture without its markers, a TGA cut short and a JPEG cut
    // short (which still loads) are named too.
    auto text = [&](const char* path) {
        const auto bytes = dir.read(path);
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string font = text("mui/font.tga");
    dir.write("mui/font.tga", std::string(font.size(), '\0').replace(0, 18, font.substr(0, 18)));
    const std::string down = text("mui/down_btn.tga");
    dir.write("mui/down_btn.tga", down.substr(0, down.size() / 2));
    const std::string field = text("mui/tex/001.jpg");
    dir.write("mui/tex/001.jpg", field.substr(0, field.size() - 4));
    set.loadAll();
    EXPECT_NE(set.fieldTextures[0].glName(), 0u);
    auto named = [&](const std::string& start) {
        return std::count_if(set.problems().begin(), set.problems().end(),
                             [&](const std::string& p) { return p.rfind(start, 0) == 0; });
    };
    EXPECT_EQ(named("mui/font.tga: not a font the game can use (0 of 94"), 1);
    EXPECT_EQ(named("mui/down_btn.tga: cut short"), 1);
    EXPECT_EQ(named("mui/tex/001.jpg: Premature end of JPEG file"), 1);
    set.releaseAll();
}

TEST(ResourceSet, ShippedDataSetLoadsCompletely) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    GameParams params(std::string(BREVORA_BUILD_DIR) + "/game");
    if (!params.m_archive.contains("mui/font.tga")) {
        GTEST_SKIP() << "the data set of this build has no pictures";
    }
    ResourceSet set(&params.m_archive);
    set.loadAll();
    EXPECT_EQ(set.font.glyphsFound(), BitmapFont::kGlyphCount) << "glyph scan of mui/font.tga";
    EXPECT_EQ(set.problems(), std::vector<std::string>{});
    for (const Member& m : members(set)) {
        ASSERT_NE(m.texture, nullptr) << m.what;
        EXPECT_NE(m.texture->glName(), 0u) << m.what;
    }
    EXPECT_GT(set.flagSprite.cellWidth(), 0);
    EXPECT_GT(set.lifeSourceSprite.cellWidth(), 0);
    set.releaseAll();
}

}  // namespace
}  // namespace brv
