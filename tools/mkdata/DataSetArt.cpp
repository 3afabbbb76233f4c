#include "tools/mkdata/DataSetArt.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "tools/mkdata/ButtonArt.h"
#include "tools/mkdata/FontPicture.h"
#include "tools/mkdata/ImageFiles.h"
#include "tools/mkdata/Scenes.h"
#include "tools/mkdata/SoundEffects.h"

namespace brv::art {

namespace {

struct Fonts {
    Lettering bold;
    Lettering regular;
    Lettering text;  // the game's own font picture
};

// The label and width of each push button named by a layout key.
struct LabelledButton {
    const char* key;
    const char* label;
    int width;
};

constexpr LabelledButton kLabelled[] = {
    {"m_single_game_btn", "New game", kMainButtonWidth},
    {"m_continue_single_game_btn", "Continue", kMainButtonWidth},
    {"m_quit_game_btn", "Quit", kMainButtonWidth},
    {"m_help_btn", "Help", kMainButtonWidth},
    {"m_top7_btn", "Top 7", kMainButtonWidth},
    {"m_fullscreen_btn", "Full screen", kMainButtonWidth},
    {"m_ok_btn", "OK", kDialogButtonWidth},
    {"m_cancel_btn", "Cancel", kDialogButtonWidth},
    {"m_close_btn", "Close", kDialogButtonWidth},
};

class Collector {
public:
    explicit Collector(std::vector<ArtFile>& files) : files_(files) {}

    // Refuses a name the archive cannot carry or a second picture for one name.
    bool add(const std::string& path, std::vector<std::uint8_t> bytes, std::string& error) {
        if (path.empty() || path.size() > PackFile::kMaxNameLength ||
            path.find("..") != std::string::npos || path.front() == '/') {
            error = "unusable picture name \"" + path + "\"";
            return false;
        }
        if (!names_.insert(path).second) {
            error = "two pictures share the name \"" + path + "\"";
            return false;
        }
        files_.push_back({path, std::move(bytes)});
        return true;
    }
    bool addTga(const std::string& path, const Canvas& c, std::string& error) {
        if (path.size() < 4 || (path.back() != 'a' && path.back() != 'A')) {
            error = "\"" + path + "\" must name a TGA picture";
            return false;
        }
        return add(path, encodeTga(c.width(), c.height(), c.toRgba8(), 32), error);
    }
    bool addJpeg(const std::string& path, const Canvas& c, std::string& error) {
        std::vector<std::uint8_t> bytes;
        return encodeJpeg(c.width(), c.height(), c.toRgb8(), 92, bytes, error) &&
               add(path, std::move(bytes), error);
    }

private:
    std::vector<ArtFile>& files_;
    std::set<std::string> names_;
};

bool readText(const std::string& path, KeyValueFile& out, std::string& error) {
    if (!out.loadFromFile(path, true)) {
        error = "cannot read \"" + path + "\"";
        return false;
    }
    return true;
}

bool openFonts(const ArtOptions& o, Fonts& fonts, std::string& error) {
    return fonts.bold.open(o.fontDir + "/DejaVuSans-Bold.ttf", error) &&
           fonts.regular.open(o.fontDir + "/DejaVuSans.ttf", error) &&
           fonts.text.open(o.fontDir + "/DejaVuSansCondensed-Bold.ttf", error);
}

bool drawControls(const KeyValueFile& layout, Fonts& fonts, Collector& out, std::string& error) {
    for (const LabelledButton& b : kLabelled) {
        const Canvas c = drawLabelButton(fonts.bold, b.label, b.width, kButtonBand);
        if (!out.addTga(layout.get(b.key, "0"), c, error)) {
            return false;
        }
    }
    const struct {
        const char* path;
        Symbol symbol;
        int band;
    } fixed[] = {{"mui/up_btn.tga", Symbol::Up, kArrowButtonBand},
                 {"mui/down_btn.tga", Symbol::Down, kArrowButtonBand},
                 {"mui/min_btn.tga", Symbol::Minimise, kSmallButtonBand},
                 {"mui/help_sml_btn.tga", Symbol::Help, kSmallButtonBand},
                 {"mui/quit_sml_btn.tga", Symbol::Quit, kSmallButtonBand}};
    for (const auto& f : fixed) {
        if (!out.addTga(f.path, drawSymbolButton(fonts.bold, f.symbol, kSmallButtonWidth, f.band),
                        error)) {
            return false;
        }
    }
    return out.addTga(layout.get("m_radio_btn", "0"), drawRadioButton(kRadioSize), error) &&
           out.addTga(layout.get("m_enter_name_editbox", "0"),
                      drawNameBox(kNameBoxWidth, kNameBoxBand), error) &&
           out.addTga("mui/dialogbox.tga", drawDialogBox(kDialogBoxSize), error);
}

bool drawSprite(const ArtOptions& o, const std::string& description, bool flag, Collector& out,
                std::string& error) {
    KeyValueFile spr;
    if (!readText(o.assetsDir + "/" + description, spr, error)) {
        return false;
    }
    const int frames = toInt(spr.get("frames", "1"));
    const int groups = toInt(spr.get("groups", "1"));
    if (frames < 1 || frames > 64 || groups < 1 || groups > 64) {
        error = description + ": frames and groups must lie in 1..64";
        return false;
    }
    const int cell = flag ? 64 : 32;
    const Canvas row = flag ? paintFlag(frames, cell) : paintLifeSource(frames, cell);
    // Every group shows the same animation; the game only ever uses group 0.
    Canvas sheet(row.width(), cell * groups);
    for (int g = 0; g < groups; ++g) {
        sheet.draw(row, 0, g * cell);
    }
    return out.addTga(spr.get("file_name", "0"), sheet, error);
}

bool drawBackgrounds(Fonts& fonts, Collector& out, std::string& error) {
    const SceneFonts sf{&fonts.bold, &fonts.regular};
    const int scale = 2;
    if (!out.addJpeg("mui/intro.jpg",
                     paintIntro(sf, scale).resampled(kBackgroundSize, kBackgroundSize), error) ||
        !out.addJpeg("mui/main.jpg",
                     paintMainMenu(sf, scale).resampled(kBackgroundSize, kBackgroundSize), error) ||
        !out.addJpeg("mui/main_game.jpg",
                     paintTableBackground(scale).resampled(kBackgroundSize, kBackgroundSize),
                     error)) {
        return false;
    }
    for (int i = 0; i < 10; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "mui/tex/%03d.jpg", i + 1);
        if (!out.addJpeg(name, paintField(i, 1).resampled(kFieldSize, kFieldSize), error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool drawDataSet(const ArtOptions& options, std::vector<ArtFile>& files, std::string& error) {
    files.clear();
    Fonts fonts;
    KeyValueFile layout;
    if (!openFonts(options, fonts, error) ||
        !readText(options.assetsDir + "/mui/menu.txt", layout, error)) {
        return false;
    }
    Collector out(files);
    FontPicture font;
    if (!drawFontPicture(fonts.text, options.fontLineHeight, font, error) ||
        !out.add("mui/font.tga", font.toTga(), error) || !drawControls(layout, fonts, out, error) ||
        !drawSprite(options, "dat/life_src.spr", false, out, error) ||
        !drawSprite(options, "dat/flag.spr", true, out, error) ||
        !out.addTga("mui/icon.tga", paintIcon(kIconSize), error) ||
        !drawBackgrounds(fonts, out, error)) {
        return false;
    }
    for (ArtFile& sound : synthesiseSoundEffects()) {
        if (!out.add(sound.path, std::move(sound.bytes), error)) {
            return false;
        }
    }
    std::sort(files.begin(), files.end(),
              [](const ArtFile& a, const ArtFile& b) { return a.path < b.path; });
    return true;
}

}  // namespace brv::art
