#include "sim/view/PlayScreen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/window/GlWindow.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/MuteMark.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "platform/VirtualKeys.h"
#include "sim/Colony.h"
#include "sim/view/ColonyPalette.h"
#include "sim/view/PopulationGraph.h"
#include "sim/view/WorldDraw.h"

namespace brv {

namespace {

constexpr float kStatusSize = 15;
constexpr float kStatusLeft = 10;
constexpr float kStatusSpacing = 120;
constexpr float kStatusTop = 20;
constexpr float kStatusDepth = 10;
constexpr int kStatusDigits = 5;
// Behind each line, over the viruses: dark enough that a crowd of viruses in
// the colony's own colour stays behind the text, faint enough that the
// viruses in the corner still show through as a dimmer crowd. A black shade
// under each letter keeps its edge where a virus of its colour touches it.
constexpr Colour kStatusBand = {0, 0, 0, 0.8f};
constexpr Colour kLetterShade = {0, 0, 0, 1};
constexpr float kStatusBandMargin = 3;
constexpr float kSpeedSize = 30;
constexpr float kSpeedMargin = 8;

float widestDigit(const BitmapFont& font) {
    float widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        const char text[2] = {digit, '\0'};
        widest = std::max(widest, font.textWidth(text, kStatusSize));
    }
    return widest;
}

float numberWidth(const BitmapFont& font, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    return font.textWidth(text, kStatusSize);
}

}  // namespace

PlayScreen::PlayScreen(GameContext& context, const GameRules& rules, RulesState& state,
                       int difficulty)
    : context_(context),
      world_(rules, state, difficulty),
      speed_(context.params.m_preferences.speed) {
    buildFont();
}

void PlayScreen::buildFont() {
    const GameParams& params = context_.params;
    const DataBlob font = params.m_archive.readEntry("mui/font.tga");
    // A missing or damaged font picture leaves the status lines undrawn.
    text_.build(font.bytes(), font.size, &context_.art.fontTexture);
}

PlayScreen::~PlayScreen() = default;

std::string PlayScreen::statusLine(const Colony& colony) {
    char line[48];
    std::snprintf(line, sizeof line, "%c %5i/%5i", colony.trendMark(), colony.virusCount(),
                  colony.killCounter());
    return line;
}

// The font's digits are narrower than its blank, so numbers padded with
// blanks neither line up nor keep off the slash: the columns are measured in
// the widest digit instead, and the slash gets a margin of a third of a blank
// on each side, three times the gap the font leaves between glyphs.
PlayScreen::StatusParts PlayScreen::statusParts(const BitmapFont& font, int count, int kills) {
    const float column = widestDigit(font) * kStatusDigits;
    const float blank = font.textWidth(" ", kStatusSize);
    const float margin = blank / 3;
    const float countStart =
        std::max(font.textWidth("+", kStatusSize), font.textWidth("-", kStatusSize)) + blank;
    const float countWidth = numberWidth(font, count);
    const float killsWidth = numberWidth(font, kills);
    StatusParts parts;
    parts.count = std::max(countStart, countStart + column - countWidth);
    parts.slash = parts.count + countWidth + margin;
    const float killsStart = parts.slash + font.textWidth("/", kStatusSize) + margin;
    parts.kills = std::max(killsStart, killsStart + column - killsWidth);
    parts.width = parts.kills + killsWidth;
    return parts;
}

void PlayScreen::close() {
    closeAsked_ = true;
    if (GlWindow* window = context_.window; window != nullptr) {
        window->closeTop();
    }
}

// A paused screen counts no time at all: no update, no timer, no draw of the
// generator. At 2x and 4x the world takes the same 30 ms steps, only more of
// them per tick, and the timers run with it.
void PlayScreen::onTick(int elapsedMs) {
    const int before = worldUpdates_;
    if (!paused_) {
        for (int i = 0; i < speed_ && !closeAsked_ && worldRuns(); ++i) {
            advance(elapsedMs);
        }
    }
    updatesInLastTick_ = worldUpdates_ - before;
    View::onTick(elapsedMs);
}

void PlayScreen::updateWorld(int elapsedMs) {
    world_.update(elapsedMs);
    ++worldUpdates_;
    onWorldUpdated();
}

void PlayScreen::advance(int elapsedMs) {
    if (finished_) {
        // The last moves stay visible for the end delay.
        updateWorld(elapsedMs);
        endDelay_ -= elapsedMs;
        if (endDelay_ < 0) {
            onClosingFinished();
            close();
        }
        return;
    }
    if (inputPause_ > 0) {
        inputPause_ -= elapsedMs;
    }
    updateWorld(elapsedMs);
    if (endReached()) {
        finished_ = true;
        onEndReached();
    }
}

void PlayScreen::draw() {
    // Every layer comes in back-to-front order, without a depth test: field,
    // viruses, life sources, flags, status lines on their bands.
    glPushMatrix();
    drawWorld(world_, context_.params, context_.art, points_);
    for (const auto& colony : world_.colonies()) {
        drawFlags(*colony, context_.params, context_.art);
    }
    drawStatus();
    if (tabHeld()) {
        const GameParams& params = context_.params;
        drawPopulationGraph(text_, populationGraph(world_, params), params.m_screen_width,
                            params.m_screen_height);
    }
    if (paused_) {
        drawPaused();
    }
    View::draw();
    glPopMatrix();
}

void PlayScreen::drawStatus() const {
    const auto style = [](const ColonyColour& c) {
        return TextStyle{
            .size = kStatusSize, .colour = {c.red, c.green, c.blue}, .depth = kStatusDepth};
    };
    const auto& colonies = world_.colonies();
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        drawStatusLine(*colonies[k], kStatusLeft + kStatusSpacing * static_cast<float>(k),
                       style(drawnColour(*colonies[k], k, context_.params)));
    }
    const GameParams& params = context_.params;
    drawSpeed();
    if (const Colony* player = playerColony(); player != nullptr) {
        drawFlagCount(*player, style(drawnColour(*player, 0, context_.params)));
    }
    const FieldLine line = fieldLine();
    if (!line.text.empty() && line.opacity > 0) {
        TextStyle faded = style({1, 1, 1});
        faded.colour.alpha = line.opacity;
        text_.drawText(line.text.c_str(), kStatusLeft,
                       static_cast<float>(params.m_screen_height) - kStatusTop - kStatusSize,
                       faded);
    }
    drawMuteMark(text_, params);
}

// Shown on request, and on its own once the player has fewer than two flags
// left to set, before a click at the limit comes as a surprise.
void PlayScreen::drawFlagCount(const Colony& player, const TextStyle& style) const {
    const int set = static_cast<int>(player.flags().size());
    const bool nearLimit = player.flagLimit() - set < 2;
    if (!nearLimit && !tabHeld() && !context_.params.m_preferences.alwaysShowFlagCount) {
        return;
    }
    char line[32];
    std::snprintf(line, sizeof line, "flags %i/%i", set, player.flagLimit());
    const float y = kStatusTop + kStatusSize + 2 * kStatusBandMargin + 2;
    const float width = text_.textWidth(line, kStatusSize);
    drawShade(kStatusLeft - kStatusBandMargin, y - kStatusSize - kStatusBandMargin,
              width + 2 * kStatusBandMargin, kStatusSize + 2 * kStatusBandMargin, kStatusDepth,
              kStatusBand);
    TextStyle shade = style;
    shade.colour = kLetterShade;
    text_.drawText(line, kStatusLeft + 1, y + 1, shade);
    text_.drawText(line, kStatusLeft, y, style);
}

// Drawn after the field, the viruses and the flags, so nothing of the board
// covers the band or the text on it.
void PlayScreen::drawStatusLine(const Colony& colony, float x, const TextStyle& style) const {
    const StatusParts parts = statusParts(text_, colony.virusCount(), colony.killCounter());
    if (parts.width <= 0) {
        return;  // no font: no text, and no band for it
    }
    drawShade(x - kStatusBandMargin, kStatusTop - kStatusSize - kStatusBandMargin,
              parts.width + 2 * kStatusBandMargin, kStatusSize + 2 * kStatusBandMargin,
              kStatusDepth, kStatusBand);
    const char mark[2] = {colony.trendMark(), '\0'};
    TextStyle shade = style;
    shade.colour = kLetterShade;
    for (const auto& [shift, ink] : {std::pair{1.0f, shade}, std::pair{0.0f, style}}) {
        const float y = kStatusTop + shift;
        text_.drawText(mark, x + shift, y, ink);
        text_.drawNumber(colony.virusCount(), x + parts.count + shift, y, ink);
        text_.drawText("/", x + parts.slash + shift, y, ink);
        text_.drawNumber(colony.killCounter(), x + parts.kills + shift, y, ink);
    }
}

bool PlayScreen::tabHeld() const {
    const GlWindow* window = context_.window;
    return window != nullptr && window->platform().isKeyHeld(kVkTab);
}

// The field stays in view, dimmed, with the word in the middle.
void PlayScreen::drawPaused() const {
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    drawShade(0, 0, w, h, 20, {0, 0, 0, 0.55f});
    constexpr float kSize = 48;
    text_.drawText("Paused", (w - text_.textWidth("Paused", kSize)) / 2, (h - kSize) / 2,
                   {.size = kSize, .colour = {1, 1, 1}, .depth = 30});
    const std::string more = pausedText();
    if (!more.empty()) {
        constexpr float kMoreSize = 20;
        text_.drawText(more.c_str(), (w - text_.textWidth(more.c_str(), kMoreSize)) / 2,
                       (h + kSize) / 2 + 10, {.size = kMoreSize, .colour = {1, 1, 1}, .depth = 30});
    }
}

// In the top-right corner, clear of four colonies' status lines: a faster
// world is easy to misread as a stronger enemy, so the speed must be seen at
// a glance, on its band over any viruses there.
void PlayScreen::drawSpeed() const {
    if (speed_ == 1 || text_.textWidth("4x", kSpeedSize) <= 0) {
        return;
    }
    const std::string text = std::to_string(speed_) + "x";
    const float width = text_.textWidth(text.c_str(), kSpeedSize);
    const float x = static_cast<float>(context_.params.m_screen_width) - width - kSpeedMargin;
    const float y = kSpeedMargin + kSpeedSize;
    drawShade(x - kStatusBandMargin, y - kSpeedSize - kStatusBandMargin,
              width + 2 * kStatusBandMargin, kSpeedSize + 2 * kStatusBandMargin, kStatusDepth,
              kStatusBand);
    text_.drawText(text.c_str(), x + 2, y + 2,
                   {.size = kSpeedSize, .colour = {0, 0, 0}, .depth = kStatusDepth});
    text_.drawText(text.c_str(), x, y,
                   {.size = kSpeedSize, .colour = {1, 0.85f, 0.2f}, .depth = kStatusDepth});
}

// A kept game comes back here when continued; one the player paused before
// leaving waits for P, so nothing happens to it unseen.
void PlayScreen::activate() {
    inputPause_ = kInputPauseMs;
    closeAsked_ = false;
}

void PlayScreen::changeSpeed(int speed) {
    speed_ = speed;
    GameParams& params = context_.params;
    if (setsGameSpeed() && params.m_preferences.speed != speed) {
        params.m_preferences.speed = speed;
        params.m_preferences.save(params.m_save_folder);
    }
}

void PlayScreen::onKeyDown(int virtualKey) {
    GameParams& params = context_.params;
    Preferences& prefs = params.m_preferences;
    if (virtualKey == params.m_key_cancel) {
        if (finished_) {
            onClosingFinished();
        }
        close();
    } else if (virtualKey == params.m_key_confirm) {
        if (finished_) {
            onClosingFinished();
        }
        if (GlWindow* window = context_.window; window != nullptr) {
            window->minimize();
        }
        close();
    } else if (virtualKey == 'P' || virtualKey == kVkPause) {
        paused_ = !paused_;
    } else if (virtualKey == kVkOemPlus || virtualKey == kVkAdd) {
        changeSpeed(Preferences::fasterThan(speed_));
    } else if (virtualKey == kVkOemMinus || virtualKey == kVkSubtract) {
        changeSpeed(Preferences::slowerThan(speed_));
    } else if (virtualKey == 'M') {
        context_.sounds.toggleMuted(prefs, params.m_save_folder);
    } else if (virtualKey == 'C') {
        prefs.colourBlindPalette = !prefs.colourBlindPalette;
        prefs.save(params.m_save_folder);
    }
    View::onKeyDown(virtualKey);
}

void PlayScreen::onCloseRequest() {
    result = kResultQuit;
    if (finished_) {
        onClosingFinished();
    }
    close();
}

}  // namespace brv
