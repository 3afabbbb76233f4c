#include "gfx/ResourceSet.h"

#include <cstdio>
#include <string>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"

namespace brv {

// Reads one picture and loads it; the buffer goes as soon as the texture has
// it. A picture left for its first draw is read then, from the same archive.
void ResourceSet::loadTexture(Texture& texture, const std::string& path, bool repeat, bool mipmap,
                              When when) {
    if (when == When::Drawn) {
        texture.loadWhenFirstUsed(*archive_, path, repeat, mipmap,
                                  [this](const std::string& entry, const Texture& made) {
                                      noteLateProblem(entry, made);
                                  });
        return;
    }
    DataBlob picture = archive_->readEntry(path);
    texture.loadMemory(picture.bytes(), picture.size, repeat, mipmap);
    noteProblem(path, texture);
}

void ResourceSet::noteProblem(const std::string& path, const Texture& texture) {
    if (!texture.problem().empty()) {
        problems_.push_back(path + ": " + texture.problem());
    }
}

// Start-up has named its problems already; one found during play is named
// when it is found, as the start-up report names the others.
void ResourceSet::noteLateProblem(const std::string& name, const Texture& texture) {
    if (!texture.problem().empty()) {
        noteProblem(name, texture);
        std::fprintf(stderr, "brevora: %s\n", problems_.back().c_str());
    }
}

void ResourceSet::loadAll() {
    load(When::Now);
}

void ResourceSet::loadAsDrawn() {
    load(When::Drawn);
}

void ResourceSet::load(When others) {
    releaseAll();
    problems_.clear();
    loadFont();
    loadButtons(others);
    loadSprite(lifeSourceSprite, "dat/life_src.spr", others);
    loadSprite(flagSprite, "dat/flag.spr", others);
    loadTexture(mainBackground, "mui/main.jpg", false, false, others);
    loadTexture(gameBackground, "mui/main_game.jpg", false, false, others);
    loadTexture(dialogFrame, "mui/dialogbox.tga", true, false, others);
    for (int i = 0; i < kFieldTextureCount; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "mui/tex/%03d.jpg", i + 1);
        loadTexture(fieldTextures[i], path, false, false, others);
    }
}

void ResourceSet::loadFont() {
    DataBlob fontPicture = archive_->readEntry(kFontPath);
    fontTexture.loadMemory(fontPicture.bytes(), fontPicture.size, false, false);
    noteProblem(kFontPath, fontTexture);
    // The glyph table depends only on the picture, but a changed data set
    // must not keep a stale table, so it is scanned on every load.
    const bool complete = font.build(fontPicture.bytes(), fontPicture.size, &fontTexture);
    if (!complete && fontTexture.problem().empty()) {
        problems_.push_back(std::string(kFontPath) + ": not a font the game can use (" +
                            std::to_string(font.glyphsFound()) + " of " +
                            std::to_string(BitmapFont::kGlyphCount) + " glyphs found)");
    }
}

// The menu's buttons are read at once: the menu is the first screen. Those
// of the dialogs follow `dialogs`.
void ResourceSet::loadButtons(When dialogs) {
    KeyValueFile layout;
    DataBlob layoutText = archive_->readEntry("mui/menu.txt");
    layout.loadFromMemory(layoutText.bytes(), layoutText.size, true);
    // A missing key names the picture "0", which the archive does not hold.
    auto fromLayout = [&](TgaTexture& texture, const char* key, bool repeat, When when) {
        loadTexture(texture, layout.get(key, "0"), repeat, true, when);
    };
    auto fixed = [&](TgaTexture& texture, const char* path, When when) {
        loadTexture(texture, path, false, true, when);
    };
    const When menu = When::Now;
    fromLayout(singleGameButton, "m_single_game_btn", false, menu);
    fromLayout(continueButton, "m_continue_single_game_btn", true, menu);
    fromLayout(quitGameButton, "m_quit_game_btn", true, menu);
    fromLayout(okButton, "m_ok_btn", false, dialogs);
    fromLayout(cancelButton, "m_cancel_btn", true, dialogs);
    fromLayout(radioButton, "m_radio_btn", true, dialogs);
    fixed(upButton, "mui/up_btn.tga", dialogs);
    fixed(downButton, "mui/down_btn.tga", dialogs);
    fromLayout(nameEditBox, "m_enter_name_editbox", false, dialogs);
    fromLayout(helpButton, "m_help_btn", false, menu);
    fromLayout(closeButton, "m_close_btn", false, dialogs);
    fromLayout(top7Button, "m_top7_btn", false, menu);
    fromLayout(fullScreenButton, "m_fullscreen_btn", false, menu);
    fixed(minimizeButton, "mui/min_btn.tga", menu);
    fixed(smallHelpButton, "mui/help_sml_btn.tga", menu);
    fixed(smallQuitButton, "mui/quit_sml_btn.tga", menu);
}

void ResourceSet::loadSprite(Sprite& sprite, const char* path, When when) {
    DataBlob description = archive_->readEntry(path);
    if (description.empty()) {
        problems_.push_back(std::string(path) + ": missing or empty");
    }
    const std::string namedBy = std::string(" (named by ") + path + ")";
    if (when == When::Drawn) {
        sprite.loadWhenFirstDrawn(*archive_, description.bytes(), description.size, false, true,
                                  [this, namedBy](const std::string& file, const Texture& made) {
                                      noteLateProblem(file + namedBy, made);
                                  });
        return;
    }
    sprite.load(*archive_, description.bytes(), description.size, false, true);
    if (sprite.texture() != nullptr) {
        noteProblem(sprite.fileName() + namedBy, *sprite.texture());
    }
}

void ResourceSet::drawBackdrop(Texture& picture, float width, float height) {
    backdrop.draw(picture, width, height);
    if (backdrop.holds(picture)) {
        picture.setAside();
    }
}

void ResourceSet::releaseAll() {
    Texture* textures[] = {&fontTexture, &singleGameButton, &continueButton,   &quitGameButton,
                           &okButton,    &cancelButton,     &radioButton,      &helpButton,
                           &closeButton, &top7Button,       &fullScreenButton, &upButton,
                           &downButton,  &minimizeButton,   &smallHelpButton,  &smallQuitButton,
                           &nameEditBox, &mainBackground,   &gameBackground,   &dialogFrame};
    for (Texture* texture : textures) {
        texture->release();
    }
    for (JpegTexture& texture : fieldTextures) {
        texture.release();
    }
    lifeSourceSprite.release();
    flagSprite.release();
    backdrop.release();
}

}  // namespace brv
