#pragma once

#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "gfx/JpegTexture.h"
#include "gfx/PictureCache.h"
#include "gfx/Sprite.h"
#include "gfx/TgaTexture.h"

namespace brv {

class PackFile;

// Owns every piece of art the game draws; every view reads the members
// directly. The flag and life-source sprites are the one picture of every
// flag and source: each object keeps its own animation clock in the rules and
// is drawn with the shared sprite at the cell that clock shows. GL objects
// exist only between loadAll and releaseAll: the window code calls releaseAll
// before it destroys a rendering context, so the set (owned by the program) is
// destroyed without GL calls.
class ResourceSet {
public:
    static constexpr int kFieldTextureCount = 10;

    explicit ResourceSet(const PackFile* archive) : archive_(archive) {}
    ResourceSet(const ResourceSet&) = delete;
    ResourceSet& operator=(const ResourceSet&) = delete;

    // Loads every picture from the archive, image names of the standard
    // buttons taken from "mui/menu.txt". Needs a current rendering context. A
    // missing or damaged picture leaves its member without a GL texture; the
    // rest loads as usual.
    void loadAll();

    // Deletes every GL texture, keeping the member objects (and the font's
    // glyph table) for the next loadAll.
    void releaseAll();

    TgaTexture fontTexture;
    TgaTexture singleGameButton;
    TgaTexture continueButton;
    TgaTexture quitGameButton;
    TgaTexture okButton;
    TgaTexture cancelButton;
    TgaTexture radioButton;
    TgaTexture helpButton;
    TgaTexture closeButton;
    TgaTexture top7Button;
    TgaTexture fullScreenButton;
    TgaTexture upButton;
    TgaTexture downButton;
    TgaTexture minimizeButton;
    TgaTexture smallHelpButton;
    TgaTexture smallQuitButton;
    Sprite lifeSourceSprite;
    TgaTexture nameEditBox;
    JpegTexture mainBackground;
    JpegTexture gameBackground;
    TgaTexture dialogFrame;
    Sprite flagSprite;
    BitmapFont font;
    JpegTexture fieldTextures[kFieldTextureCount];
    // The picture under the top screen (the field of a game, the menu's
    // picture) as last drawn, drawn again from its pixels while nothing about
    // it changes.
    PictureCache backdrop;

    // One line per picture the last loadAll could not use or used with
    // damage, naming the entry and what is wrong ("mui/main.jpg: Not a JPEG
    // file: ..."); empty when everything loaded as it is.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    static constexpr const char* kFontPath = "mui/font.tga";

    void loadButtons();
    void loadSprite(Sprite& sprite, const char* path);
    void loadTexture(Texture& texture, const std::string& path, bool repeat, bool mipmap);
    void noteProblem(const std::string& path, const Texture& texture);

    const PackFile* archive_;
    std::vector<std::string> problems_;
};

}  // namespace brv
