#include "gfx/ResourceSet.h"

#include <cstdio>
#include <string>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"

namespace brv {

// Reads one picture and loads it; the buffer goes as soon as the texture has it.
void ResourceSet::loadTexture(Texture& texture, const std::string& path, bool repeat, bool mipmap) {
    DataBlob picture = archive_->readEntry(path);
    texture.loadMemory(picture.bytes(), picture.size, repeat, mipmap);
    noteProblem(path, texture);
}

void ResourceSet::noteProblem(const std::string& path, const Texture& texture) {
    if (!texture.problem().empty()) {
        problems_.push_back(path + ": " + texture.problem());
    }
}

void ResourceSet::loadAll() {
    releaseAll();
    problems_.clear();
    {
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
    loadButtons();
    loadSprite(lifeSourceSprite, "dat/life_src.spr");
    loadSprite(flagSprite, "dat/flag.spr");
    loadTexture(mainBackground, "mui/main.jpg", false, false);
    loadTexture(gameBackground, "mui/main_game.jpg", false, false);
    loadTexture(dialogFrame, "mui/dialogbox.tga", true, false);
    for (int i = 0; i < kFieldTextureCount; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "mui/tex/%03d.jpg", i + 1);
        loadTexture(fieldTextures[i], path, false, false);
    }
}

void ResourceSet::loadButtons() {
    KeyValueFile layout;
    DataBlob layoutText = archive_->readEntry("mui/menu.txt");
    layout.loadFromMemory(layoutText.bytes(), layoutText.size, true);
    // A missing key names the picture "0", which the archive does not hold.
    auto fromLayout = [&](TgaTexture& texture, const char* key, bool repeat) {
        loadTexture(texture, layout.get(key, "0"), repeat, true);
    };
    auto fixed = [&](TgaTexture& texture, const char* path) {
        loadTexture(texture, path, false, true);
    };
    fromLayout(singleGameButton, "m_single_game_btn", false);
    fromLayout(continueButton, "m_continue_single_game_btn", true);
    fromLayout(quitGameButton, "m_quit_game_btn", true);
    fromLayout(okButton, "m_ok_btn", false);
    fromLayout(cancelButton, "m_cancel_btn", true);
    fromLayout(radioButton, "m_radio_btn", true);
    fixed(upButton, "mui/up_btn.tga");
    fixed(downButton, "mui/down_btn.tga");
    fromLayout(nameEditBox, "m_enter_name_editbox", false);
    fromLayout(helpButton, "m_help_btn", false);
    fromLayout(closeButton, "m_close_btn", false);
    fromLayout(top7Button, "m_top7_btn", false);
    fromLayout(fullScreenButton, "m_fullscreen_btn", false);
    fixed(minimizeButton, "mui/min_btn.tga");
    fixed(smallHelpButton, "mui/help_sml_btn.tga");
    fixed(smallQuitButton, "mui/quit_sml_btn.tga");
}

void ResourceSet::loadSprite(Sprite& sprite, const char* path) {
    DataBlob description = archive_->readEntry(path);
    if (description.empty()) {
        problems_.push_back(std::string(path) + ": missing or empty");
    }
    sprite.load(*archive_, description.bytes(), description.size, false, true);
    if (sprite.texture() != nullptr) {
        noteProblem(sprite.fileName() + " (named by " + path + ")", *sprite.texture());
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
