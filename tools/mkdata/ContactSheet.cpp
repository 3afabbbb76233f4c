#include "tools/mkdata/ContactSheet.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "gfx/FrameState.h"
#include "gfx/PngWriter.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "platform/FileIo.h"
#include "platform/OffscreenGl.h"
#include "tools/mkdata/Scenes.h"
#include "ui/ControlArt.h"

namespace brv::art {

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 2220;

struct Sheet {
    ResourceSet& art;
    KeyValueFile layout;

    float key(const char* name) const { return static_cast<float>(toInt(layout.get(name, "0"))); }
    float keyF(const char* name) const { return toFloat(layout.get(name, "0")); }
};

// A picture stretched over a rectangle, upright as the game shows backgrounds.
void picture(const Texture& t, float x, float y, float w, float h) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawStretchedPicture(t, x, y, w, h);
    glDisable(GL_BLEND);
}

// One state of a control, drawn by the widgets' own band routine so the sheet
// shows exactly what the game shows.
void band(const Texture& t, int state, int bands, float x, float y) {
    glColor4f(1, 1, 1, 1);
    drawBand(&t, x, y, static_cast<float>(t.width()), static_cast<float>(t.height() / bands), state,
             bands);
}

void title(const Sheet& s, const char* text, float x, float y) {
    s.art.font.drawText(text, x + 2, y + 2, {.size = 50, .colour = {0, 0, 0}, .depth = 10});
    s.art.font.drawText(text, x, y, {.size = 50, .colour = {1, 0.3f, 0}, .depth = 10});
}

void label(const Sheet& s, const char* text, float size, float x, float y, float r, float g,
           float b) {
    s.art.font.drawText(text, x, y, {.size = size, .colour = {r, g, b}, .depth = 10});
}

void mainMenu(const Sheet& s) {
    ResourceSet& a = s.art;
    picture(a.mainBackground, 0, 0, 800, 600);
    band(a.singleGameButton, 2, 3, s.key("m_single_game_btnx"), s.key("m_single_game_btny"));
    band(a.continueButton, 1, 3, s.key("m_continue_single_game_btnx"),
         s.key("m_continue_single_game_btny"));
    band(a.helpButton, 1, 3, s.key("m_help_btnx"), s.key("m_help_btny"));
    band(a.top7Button, 3, 3, s.key("m_mm_top7_btnx"), s.key("m_mm_top7_btny"));
    band(a.fullScreenButton, 1, 3, s.key("m_mm_fullscreen_btnx"), s.key("m_mm_fullscreen_btny"));
    band(a.quitGameButton, 1, 3, s.key("m_quit_game_btnx"), s.key("m_quit_game_btny"));
    band(a.minimizeButton, 1, 3, s.key("m_min_sml_btnx"), s.key("m_min_sml_btny"));
    band(a.smallHelpButton, 2, 3, s.key("m_help_sml_btnx"), s.key("m_help_sml_btny"));
    band(a.smallQuitButton, 1, 3, s.key("m_quit_sml_btnx"), s.key("m_quit_sml_btny"));
    a.font.drawText("www.brevora.example", 32, 62, {.size = 50, .colour = {0, 0, 0}, .depth = -10});
    a.font.drawText("www.brevora.example", 30, 60, {.size = 50, .colour = {1, 1, 0}, .depth = -10});
    a.font.drawText("ver. 1.20", 602, 472, {.size = 30, .colour = {0, 0, 0}, .depth = -10});
}

void points(float x0, float y0, float cx, float cy, int count, const Rgba& c, unsigned seed) {
    glDisable(GL_TEXTURE_2D);
    glPointSize(4);
    glColor4f(c.r, c.g, c.b, 1);
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i) {
        seed = seed * 214013u + 2531011u;
        const int dx = static_cast<int>((seed >> 16) % 17) - 8;
        seed = seed * 214013u + 2531011u;
        const int dy = static_cast<int>((seed >> 16) % 17) - 8;
        glVertex2f(x0 + cx + static_cast<float>(dx * 4) + 1,
                   y0 + cy + static_cast<float>(dy * 4) + 1);
    }
    glEnd();
    glPointSize(1);
    glColor4f(1, 1, 1, 1);
}

void sprite(Sprite& sp, int frame, float x, float y) {
    sp.setFrame(frame);
    sp.x = x;
    sp.y = y;
    sp.z = 10;
    sp.draw(true);
}

// A game in progress on field texture `index`, drawn at (x0, y0).
void game(const Sheet& s, int index, float x0, float y0) {
    ResourceSet& a = s.art;
    picture(a.fieldTextures[index], x0, y0, 800, 600);
    const float at[4][2] = {{100, 80}, {700, 80}, {100, 520}, {700, 520}};
    for (int c = 0; c < 4; ++c) {
        points(x0, y0, at[c][0], at[c][1], 160, kColonyColours[c], 17u + static_cast<unsigned>(c));
        sprite(a.lifeSourceSprite, c * 2, x0 + at[c][0] + 1, y0 + at[c][1] + 1);
        sprite(a.flagSprite, c, x0 + 400 + static_cast<float>(c - 2) * 90, y0 + 300);
        char line[32];
        std::snprintf(line, sizeof line, "%c %5i/%5i", c == 1 ? '-' : '+', 57 + c * 700,
                      3 + c * 11);
        const Rgba& k = kColonyColours[c];
        label(s, line, 15, x0 + 10 + 120 * static_cast<float>(c), y0 + 20, k.r, k.g, k.b);
    }
    points(x0, y0, 400, 340, 40, kColonyColours[0], 5u);
    points(x0, y0, 430, 330, 40, kColonyColours[1], 6u);
}

void newGameDialog(const Sheet& s, float x0, float y0) {
    ResourceSet& a = s.art;
    picture(a.mainBackground, x0, y0, 800, 600);
    const float w = s.key("m_nd_width"), h = s.key("m_nd_height");
    const float x = x0 + static_cast<float>(static_cast<int>(800 - w) / 2);
    const float y = y0 + static_cast<float>(static_cast<int>(600 - h) / 2);
    picture(a.dialogFrame, x, y, w, h);
    title(s, "Start new game", x + 100, y + 120);
    const char* keys[6][3] = {{"m_2player_radio_x", "m_2player_radio_y", "2 colonies"},
                              {"m_3player_radio_x", "m_3player_radio_y", "3 colonies"},
                              {"m_4player_radio_x", "m_4player_radio_y", "4 colonies"},
                              {"m_easy_radio_x", "m_easy_radio_y", "Easy"},
                              {"m_medium_radio_x", "m_medium_radio_y", "Medium"},
                              {"m_hard_radio_x", "m_hard_radio_y", "Hard"}};
    const int states[6] = {3, 2, 1, 1, 4, 1};
    for (int i = 0; i < 6; ++i) {
        const float rx = x + s.keyF(keys[i][0]), ry = y + s.keyF(keys[i][1]);
        band(a.radioButton, states[i], 4, rx, ry);
        label(s, keys[i][2], 40, rx + 35, ry + 40, 0, 0, 0);
    }
    band(a.okButton, 1, 3, x + s.key("m_nd_ok_btnx"), y + s.key("m_nd_ok_btny"));
    band(a.cancelButton, 2, 3, x + s.key("m_nd_cancel_btnx"), y + s.key("m_nd_cancel_btny"));
}

void top7(const Sheet& s, float x0, float y0) {
    ResourceSet& a = s.art;
    picture(a.gameBackground, x0, y0, 800, 600);
    title(s, "Top 7", x0 + 350, y0 + 60);
    const char* names[7] = {"Anonymous", "Mira", "Jo 'the virus'", "Xq_42", "Lee", "Ana", "Bo"};
    for (int i = 0; i < 7; ++i) {
        const float y = y0 + 150 + 60 * static_cast<float>(i);
        a.font.drawText(names[i], x0 + 101, y + 1, {.size = 40, .colour = {0, 0, 0}, .depth = 10});
        a.font.drawNumber(9000 - i * 1234, x0 + 561, y + 1,
                          {.size = 40, .colour = {0, 0, 0}, .depth = 10});
        a.font.drawText(names[i], x0 + 100, y, {.size = 40, .colour = {1, 1, 0}, .depth = 10});
        a.font.drawNumber(9000 - i * 1234, x0 + 560, y,
                          {.size = 40, .colour = {1, 1, 0}, .depth = 10});
    }
    band(a.closeButton, 1, 3, x0 + s.key("m_t7d_close_btnx"), y0 + s.key("m_t7d_close_btny"));
}

void fontSamples(const Sheet& s, float x0, float y0) {
    const float sizes[4] = {15, 25, 40, 50};
    const char* sample = "The quick brown fox jumps: \"0123456789\" {[(|)]} @#$%&*+-/=<>?!~^_`';,.";
    float y = y0;
    for (float size : sizes) {
        y += size + 8;
        label(s, sample, size, x0, y, 1, 1, 1);
    }
    // Dark text on the dialog box, as the help and new-game dialogs draw it.
    picture(s.art.dialogFrame, x0 + 650, y0 + 790, 580, 220);
    label(s, "Viruses follow their colony's nearest flag.", 25, x0 + 680, y0 + 850, 0, 0.2f, 0);
    label(s, "2 colonies   Medium", 40, x0 + 680, y0 + 910, 0, 0, 0);
    title(s, "Do you really", x0 + 680, y0 + 980);
}

// Every control in every state, side by side.
void controls(const Sheet& s, float x0, float y0) {
    ResourceSet& a = s.art;
    const Texture* buttons[] = {&a.singleGameButton, &a.continueButton, &a.quitGameButton,
                                &a.helpButton,       &a.top7Button,     &a.fullScreenButton};
    float y = y0;
    for (const Texture* t : buttons) {
        for (int st = 1; st <= 3; ++st) {
            band(*t, st, 3, x0 + static_cast<float>(st - 1) * 262, y);
        }
        y += 48;
    }
    const Texture* small[] = {&a.okButton, &a.cancelButton, &a.closeButton};
    for (const Texture* t : small) {
        for (int st = 1; st <= 3; ++st) {
            band(*t, st, 3, x0 + static_cast<float>(st - 1) * 134, y);
        }
        y += 48;
    }
    const Texture* symbols[] = {&a.upButton, &a.downButton, &a.minimizeButton, &a.smallHelpButton,
                                &a.smallQuitButton};
    float x = x0 + 420;
    for (const Texture* t : symbols) {
        for (int st = 1; st <= 3; ++st) {
            band(*t, st, 3, x, y - 144 + static_cast<float>(st - 1) * 48);
        }
        x += 38;
    }
    for (int st = 1; st <= 4; ++st) {
        band(a.radioButton, st, 4, x0 + static_cast<float>(st - 1) * 38, y);
    }
    // The name box's two states one above the other, each with a name of the
    // most letters it takes.
    for (int st = 1; st <= 2; ++st) {
        const float top = y + static_cast<float>(st - 1) * 70;
        band(a.nameEditBox, st, 2, x0 + 160, top);
        label(s, "Tester n 123456", 35, x0 + 160 + 12, top + 64 - 14.5f, 1, 1, 0);
    }
}

void sprites(const Sheet& s, float x0, float y0) {
    ResourceSet& a = s.art;
    for (int f = 0; f < a.lifeSourceSprite.frames(); ++f) {
        sprite(a.lifeSourceSprite, f, x0 + 20 + static_cast<float>(f) * 40, y0 + 20);
    }
    for (int f = 0; f < a.flagSprite.frames(); ++f) {
        sprite(a.flagSprite, f, x0 + 40 + static_cast<float>(f) * 70, y0 + 90);
    }
}

void fieldThumbnails(const Sheet& s, float x0, float y0) {
    for (int i = 0; i < ResourceSet::kFieldTextureCount; ++i) {
        const float x = x0 + static_cast<float>(i % 5) * 162;
        const float y = y0 + static_cast<float>(i / 5) * 122;
        picture(s.art.fieldTextures[i], x, y, 160, 120);
    }
}

void drawAll(Sheet& s, const Texture& intro, const Texture& icon) {
    mainMenu(s);
    game(s, 0, 800, 0);
    newGameDialog(s, 0, 600);
    top7(s, 800, 600);
    fontSamples(s, 10, 1200);
    controls(s, 810, 1400);
    sprites(s, 1250, 2020);
    picture(icon, 1500, 2030, 64, 64);
    fieldThumbnails(s, 0, 1400);
    picture(intro, 0, 1660, 640, 480);
}

bool savePng(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> png;
    if (!encodePng(kWidth, kHeight, readFrame(kWidth, kHeight), png, error)) {
        return false;
    }
    if (!writeFileAtomically(path, png.data(), png.size())) {
        error = "cannot write \"" + path + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool renderContactSheet(const std::string& dataDir, const std::string& pngPath, SheetReport& report,
                        std::string& error) {
    PackFile pack(dataDir);
    pack.open("data/data.pk");  // loose files stand in without it
    if (pack.directory().empty() && pack.readEntry("mui/font.tga").empty()) {
        error = "no data set under \"" + dataDir + "\": neither data/data.pk nor loose files";
        return false;
    }
    OffscreenGl gl(kWidth, kHeight);
    if (!gl.ok()) {
        error = "no GL context: " + gl.error();
        return false;
    }
    ResourceSet art(&pack);
    const auto start = std::chrono::steady_clock::now();
    art.loadAll();
    report.loadAllMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    report.glyphsFound = art.font.glyphsFound();
    JpegTexture intro;
    TgaTexture icon;
    DataBlob introBytes = pack.readEntry("mui/intro.jpg");
    intro.loadMemory(introBytes.bytes(), introBytes.size, false, false);
    DataBlob iconBytes = pack.readEntry("mui/icon.tga");
    icon.loadMemory(iconBytes.bytes(), iconBytes.size, false, true);

    Sheet sheet{art, {}};
    DataBlob layout = pack.readEntry("mui/menu.txt");
    sheet.layout.loadFromMemory(layout.bytes(), layout.size, true);
    beginFrame({kWidth, kHeight, kWidth, kHeight});
    glClearColor(0.12f, 0.12f, 0.13f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawAll(sheet, intro, icon);
    glFinish();
    const bool saved = savePng(pngPath, error);
    intro.release();
    icon.release();
    art.releaseAll();
    return saved;
}

}  // namespace brv::art
