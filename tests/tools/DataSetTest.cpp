// The shipped data set as the game loads it: every picture the resource set
// reads is in the archive and decodes, follows the picture rules, and loads
// into a real GL context; the generator is reproducible and refuses inputs it
// cannot serve.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "gfx/BitmapFont.h"
#include "gfx/Image.h"
#include "gfx/JpegDecoder.h"
#include "gfx/ResourceSet.h"
#include "gfx/TgaDecoder.h"
#include "platform/OffscreenGl.h"
#include "tests/support/TempDir.h"
#include "tools/mkdata/DataSetArt.h"
#include "ui/EditBox.h"
#include "ui/GameOverDialog.h"

namespace brv {
namespace {

const std::string kBuild = BREVORA_BUILD_DIR;
const std::string kSource = BREVORA_SOURCE_DIR;

bool powerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

struct Picture {
    std::string path;
    int bands;    // equal horizontal bands (1 for a plain picture)
    bool mipmap;  // without mipmaps the sides must be powers of two
};

// Every picture ResourceSet::loadAll reads, with what the game expects of it.
std::vector<Picture> loadedPictures(const KeyValueFile& layout) {
    std::vector<Picture> list = {
        {"mui/font.tga", 1, false},        {"mui/up_btn.tga", 3, true},
        {"mui/down_btn.tga", 3, true},     {"mui/min_btn.tga", 3, true},
        {"mui/help_sml_btn.tga", 3, true}, {"mui/quit_sml_btn.tga", 3, true},
        {"mui/main.jpg", 1, false},        {"mui/main_game.jpg", 1, false},
        {"mui/intro.jpg", 1, false},       {"mui/dialogbox.tga", 1, false}};
    for (const char* key :
         {"m_single_game_btn", "m_continue_single_game_btn", "m_quit_game_btn", "m_ok_btn",
          "m_cancel_btn", "m_help_btn", "m_close_btn", "m_top7_btn", "m_fullscreen_btn"}) {
        list.push_back({layout.get(key, "0"), 3, true});
    }
    list.push_back({layout.get("m_radio_btn", "0"), 4, true});
    list.push_back({layout.get("m_enter_name_editbox", "0"), 2, true});
    for (int i = 1; i <= 10; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "mui/tex/%03d.jpg", i);
        list.push_back({name, 1, false});
    }
    return list;
}

bool decode(const PackFile& pack, const std::string& path, Image& img) {
    DataBlob blob = pack.readEntry(path);
    const bool tga = !path.empty() && path.back() == 'a';
    return tga ? decodeTga(blob.bytes(), blob.size, img) : decodeJpeg(blob.bytes(), blob.size, img);
}

class ShippedDataSet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pack.open(kBuild + "/game/data/data.pk"));
        DataBlob text = pack.readEntry("mui/menu.txt");
        ASSERT_FALSE(text.empty());
        layout.loadFromMemory(text.bytes(), text.size, true);
    }
    PackFile pack{"/nonexistent"};  // no loose files: only the archive counts
    KeyValueFile layout;
};

TEST_F(ShippedDataSet, EveryPictureTheLoaderReadsIsThereAndFollowsThePictureRules) {
    for (const Picture& p : loadedPictures(layout)) {
        ASSERT_TRUE(pack.contains(p.path)) << p.path;
        Image img;
        ASSERT_TRUE(decode(pack, p.path, img)) << p.path;
        if (!p.mipmap) {
            EXPECT_TRUE(powerOfTwo(img.width) && powerOfTwo(img.height))
                << p.path << " is " << img.width << " x " << img.height;
        }
        EXPECT_EQ(img.height % p.bands, 0) << p.path;
        if (p.path.back() == 'g') {
            EXPECT_EQ(img.components, 3) << p.path;
        }
    }
    // Sprite sheets: a whole number of cells, with the counts the simulation's
    // recorded runs depend on.
    for (const auto& [spr, frames] : {std::pair<std::string, int>{"dat/life_src.spr", 8},
                                      std::pair<std::string, int>{"dat/flag.spr", 4}}) {
        DataBlob text = pack.readEntry(spr);
        KeyValueFile desc;
        desc.loadFromMemory(text.bytes(), text.size, true);
        EXPECT_EQ(toInt(desc.get("frames", "1")), frames) << spr;
        EXPECT_EQ(toInt(desc.get("groups", "1")), 1) << spr;
        Image img;
        ASSERT_TRUE(decode(pack, desc.get("file_name", "0"), img)) << spr;
        EXPECT_EQ(img.width % frames, 0) << spr;
        EXPECT_TRUE(powerOfTwo(img.width) && powerOfTwo(img.height)) << spr;
        EXPECT_EQ(img.components, 4) << spr;
    }
    Image icon;
    ASSERT_TRUE(decode(pack, "mui/icon.tga", icon));
    EXPECT_EQ(icon.components, 4);
}

TEST_F(ShippedDataSet, FontScansTo94PlausibleGlyphs) {
    DataBlob picture = pack.readEntry("mui/font.tga");
    BitmapFont font;
    ASSERT_TRUE(font.build(picture.bytes(), picture.size, nullptr));
    ASSERT_EQ(font.glyphsFound(), BitmapFont::kGlyphCount);
    const float lineRows = font.glyphHeight() * static_cast<float>(font.pictureHeight());
    EXPECT_GE(lineRows, 30.0f);  // enough rows to stay sharp at size 50
    EXPECT_LE(lineRows, 48.0f);  // few enough to stay legible at size 15
    for (int i = 0; i < BitmapFont::kGlyphCount; ++i) {
        const BitmapFont::Glyph& g = font.glyph(i);
        const float columns = (g.right - g.left) * static_cast<float>(font.pictureWidth());
        // Between a '.' (ink plus the two margin columns) and a 'W' or '@'.
        EXPECT_GE(columns, 4.0f) << "glyph " << static_cast<char>(i + 33);
        EXPECT_LE(columns, lineRows * 1.1f) << "glyph " << static_cast<char>(i + 33);
    }
    // A colony's status line at size 15 fits the 120 units each colony gets.
    EXPECT_LT(font.textWidth("+    57/    3", 15), 118.0f);
    EXPECT_LT(font.textWidth("- 2999/ 2999", 15), 118.0f);
}

TEST_F(ShippedDataSet, NameBoxHoldsTheLongestNameCentredAboveTheCloseButton) {
    DataBlob picture = pack.readEntry("mui/font.tga");
    BitmapFont font;
    ASSERT_TRUE(font.build(picture.bytes(), picture.size, nullptr));
    float longest = 0;  // fifteen of the widest letter, the caret after them
    for (char c = '!'; c <= '~'; ++c) {
        const std::string name(GameOverDialog::kNameLength, c);
        longest = std::max(longest, font.textWidth(name.c_str(), GameOverDialog::kNameSize) +
                                        EditBox::kCaretWidth);
    }
    Image box;
    ASSERT_TRUE(decode(pack, layout.get("m_enter_name_editbox", "0"), box));
    EXPECT_LE(longest + 2 * GameOverDialog::kNameInset, static_cast<float>(box.width));
    // Centred on the 800 units the dialog covers, its close button below it.
    EXPECT_EQ(toInt(layout.get("m_end_editx", "0")) + box.width / 2, 400);
    EXPECT_LE(toInt(layout.get("m_end_edity", "0")) + box.height / 2,
              toInt(layout.get("m_end_close_btny", "0")));
    Image close;
    ASSERT_TRUE(decode(pack, layout.get("m_close_btn", "0"), close));
    EXPECT_EQ(toInt(layout.get("m_end_close_btnx", "0")) + close.width / 2, 400);
}

TEST_F(ShippedDataSet, LoadsIntoARealContextWithEveryMemberFilled) {
    OffscreenGl gl(64, 64);
    ASSERT_TRUE(gl.ok()) << gl.error();
    PackFile archive("/nonexistent");
    ASSERT_TRUE(archive.open(kBuild + "/game/data/data.pk"));
    ResourceSet art(&archive);
    art.loadAll();
    const Texture* textures[] = {
        &art.fontTexture, &art.singleGameButton, &art.continueButton,   &art.quitGameButton,
        &art.okButton,    &art.cancelButton,     &art.radioButton,      &art.helpButton,
        &art.closeButton, &art.top7Button,       &art.fullScreenButton, &art.upButton,
        &art.downButton,  &art.minimizeButton,   &art.smallHelpButton,  &art.smallQuitButton,
        &art.nameEditBox, &art.mainBackground,   &art.gameBackground,   &art.dialogFrame};
    for (const Texture* t : textures) {
        EXPECT_NE(t->glName(), 0u) << "member " << (t - textures[0]);
    }
    for (const JpegTexture& t : art.fieldTextures) {
        EXPECT_NE(t.glName(), 0u);
    }
    EXPECT_EQ(art.font.glyphsFound(), 94);
    // Cell size in pixels is the drawn size in logical units.
    EXPECT_EQ(art.lifeSourceSprite.cellWidth(), 32.0f);
    EXPECT_EQ(art.flagSprite.cellWidth(), 64.0f);
    EXPECT_EQ(glGetError(), static_cast<unsigned>(GL_NO_ERROR));
    art.releaseAll();
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int run(const std::string& command) {
    return WEXITSTATUS(std::system((command + " >/dev/null 2>&1").c_str()));
}

TEST(DataSetBuild, TwoBuildsGiveIdenticalArchives) {
    test::TempDir dir;
    for (const char* name : {"one", "two"}) {
        const std::string stage = dir.file(name);
        ASSERT_EQ(run("cp -r " + kSource + "/assets " + stage), 0);
        ASSERT_EQ(
            run(kBuild + "/bin/brevora-mkdata --assets " + kSource + "/assets --out " + stage), 0);
        ASSERT_EQ(run(kBuild + "/bin/brevora-pack create " + stage + ".pk " + stage), 0);
    }
    const std::string one = slurp(dir.file("one.pk"));
    EXPECT_GT(one.size(), 1000000u);
    EXPECT_TRUE(one == slurp(dir.file("two.pk")));
    EXPECT_TRUE(one == slurp(kBuild + "/game/data/data.pk"));
}

TEST(DataSetBuild, RefusesInputsItCannotServe) {
    test::TempDir dir;
    const std::string spr = "file_name mui/flag.tga\ngroups 1\nframes 4\n";
    const std::string life = "file_name mui/life_src.tga\ngroups 1\nframes 8\n";
    const std::string menu = slurp(kSource + "/assets/mui/menu.txt");
    auto attempt = [&](const std::string& layout, const std::string& flag,
                       const std::string& fonts) {
        dir.write("a/mui/menu.txt", layout);
        dir.write("a/dat/flag.spr", flag);
        dir.write("a/dat/life_src.spr", life);
        art::ArtOptions o;
        o.assetsDir = dir.file("a");
        o.fontDir = fonts;
        std::vector<art::ArtFile> files;
        std::string error;
        const bool ok = art::drawDataSet(o, files, error);
        return ok ? std::string() : error;
    };
    const std::string fonts = "/usr/share/fonts/truetype/dejavu";
    EXPECT_NE(attempt(menu, spr, "/nonexistent").find("font"), std::string::npos);
    // A layout without the OK button's key would make the game look for "0".
    std::string noOk = menu;
    noOk.replace(noOk.find("m_ok_btn "), 9, "m_xx_btn ");
    EXPECT_NE(attempt(noOk, spr, fonts).find("\"0\""), std::string::npos);
    // Two keys naming one file would overwrite one picture with another.
    std::string shared = menu;
    shared.replace(shared.find("mui/btn_cancel.tga"), 18, "mui/btn_ok.tga");
    EXPECT_NE(attempt(shared, spr, fonts).find("share"), std::string::npos);
    EXPECT_NE(attempt(menu, "file_name mui/flag.tga\nframes 0\n", fonts).find("frames"),
              std::string::npos);
    EXPECT_NE(attempt(menu, "file_name mui/flag.jpg\nframes 4\n", fonts).find("TGA"),
              std::string::npos);
    EXPECT_NE(attempt(menu, "file_name ../flag.tga\nframes 4\n", fonts).find("unusable"),
              std::string::npos);
}

}  // namespace
}  // namespace brv
