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
// exist only between a load and releaseAll: the window code calls releaseAll
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

    // What the game starts with: the font and the menu's buttons are loaded
    // now (so start-up names their problems), every other picture (the
    // backgrounds, the dialogs' art, the sprites, the field backdrops) is
    // read from the archive when first drawn. A picture that no screen shows
    // is never decoded, and the menu's background is made only after the
    // intro's picture has gone. A picture that cannot be used when first
    // drawn joins problems() and is named on stderr then, once.
    void loadAsDrawn();

    // Deletes every GL texture, made or still waiting to be drawn, keeping the
    // member objects (and the font's glyph table) for the next load.
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

    // Draws `picture` (the menu's picture, a field backdrop) over the whole
    // logical area through the backdrop cache. Once the cache holds it as
    // drawn, a picture made when first drawn is set aside: its texture is
    // needed only to draw it anew, when the view or the picture changes.
    void drawBackdrop(Texture& picture, float width, float height);

    // One line per picture the last load could not use or used with damage,
    // naming the entry and what is wrong ("mui/main.jpg: Not a JPEG file:
    // ..."); empty when everything loaded as it is. After loadAsDrawn it
    // grows as pictures are first drawn.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    static constexpr const char* kFontPath = "mui/font.tga";

    // When a picture is read: at the load, or when it is first drawn.
    enum class When { Now, Drawn };

    // The font and the menu's buttons are always read now.
    void load(When others);
    void loadFont();
    void loadButtons(When dialogs);
    void loadSprite(Sprite& sprite, const char* path, When when);
    void loadTexture(Texture& texture, const std::string& path, bool repeat, bool mipmap,
                     When when);
    void noteProblem(const std::string& path, const Texture& texture);
    // Notes the problem of a picture made when first drawn, and names it.
    void noteLateProblem(const std::string& name, const Texture& texture);

    const PackFile* archive_;
    std::vector<std::string> problems_;
};

}  // namespace brv
