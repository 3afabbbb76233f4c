#pragma once

#include <string>

#include "app/window/GameContext.h"
#include "app/window/View.h"
#include "gfx/BitmapFont.h"
#include "sim/World.h"
#include "sim/view/WorldDraw.h"

namespace brv {

class Colony;

// What a running game and a demonstration share: the world advanced on every
// tick, the board drawn with one status line per colony, the pause after each
// activation during which clicks do nothing, the two seconds the world keeps
// running after the end, and the keys and close request that leave the screen.
// Added to that: P (or Pause) freezes the world and every timer of the screen,
// + and - run 1, 2 or 4 world updates per tick (the same updates, so the same
// game), C switches the colour-blind palette and M the sound. Every screen
// starts at the player's game speed; only a game keeps a change of it for the
// games after it, so watching a replay or the demonstration faster never
// speeds up the next game. Tab held shows
// the population of every colony over the game so far as a graph.
// The screens are large (the world's grid) and always live on the heap.
class PlayScreen : public View {
public:
    static constexpr int kInputPauseMs = 500;
    static constexpr int kEndDelayMs = 2000;

    ~PlayScreen() override;

    void onTick(int elapsedMs) override;
    int worldUpdatesInLastTick() const override { return updatesInLastTick_; }
    void draw() override;
    // Starts the input pause; a screen paused when it was left stays paused.
    void activate() override;
    // Escape leaves the screen; Enter minimises the window first. P, Pause,
    // +, - and C as above.
    void onKeyDown(int virtualKey) override;
    // The window is closing: result 2 tells the main screen to end the program.
    void onCloseRequest() override;

    // "%c %5i/%5i": trend mark, virus count and kill counter, the line's
    // content as text.
    static std::string statusLine(const Colony& colony);

    // Where the parts of a status line are drawn, from the line's left edge:
    // the trend mark at 0, each number's left edge and the slash's, and the
    // line's whole width.
    struct StatusParts {
        float count = 0;
        float slash = 0;
        float kills = 0;
        float width = 0;
    };
    // The counts stand right-aligned in columns five of the font's widest
    // digit wide, the slash between them with a clear margin on each side;
    // wider numbers push the parts after them right.
    static StatusParts statusParts(const BitmapFont& font, int count, int kills);

    // The end condition held once; the world runs on for the end delay.
    bool finished() const { return finished_; }
    int inputPause() const { return inputPause_; }
    bool paused() const { return paused_; }
    void setPaused(bool paused) { paused_ = paused; }
    int endDelay() const { return endDelay_; }
    // World updates per tick on this screen: 1, 2 or 4.
    int speed() const { return speed_; }
    World& world() { return world_; }
    const World& world() const { return world_; }
    // The settings the screen draws by (the palette among them).
    const GameParams& params() const { return context_.params; }

protected:
    // Builds the world, which plays by `rules` at `difficulty` on `state`
    // (both kept by the screen's maker for the screen's life), and the
    // status-line font. The concrete screen adds the colonies and then calls
    // world().setUp().
    PlayScreen(GameContext& context, const GameRules& rules, RulesState& state, int difficulty);

    // The game's params, art, sounds and window, kept for the screen's life.
    GameContext& context_;

    // Whether the game has come to its end after this tick's update.
    virtual bool endReached() const = 0;
    // Right after the update on which endReached() first held, before the
    // end delay runs.
    virtual void onEndReached() {}
    // Called on every path that closes the screen once the end was reached,
    // right before the close is asked for.
    virtual void onClosingFinished() {}
    // Asks the window to close this screen (at the next tick).
    void close();
    bool inputPaused() const { return inputPause_ > 0; }
    // World updates played since the screen was built.
    int worldUpdates() const { return worldUpdates_; }
    // Right after each world update.
    virtual void onWorldUpdated() {}
    // Whether the world is to take its next update; a replay stops at the
    // end of its record.
    virtual bool worldRuns() const { return true; }
    // Whether + and - change the player's game speed, kept in the
    // preferences; a replay or the demonstration runs at a speed of its own.
    virtual bool setsGameSpeed() const { return false; }
    // The status lines' font, for what a concrete screen writes on the field.
    const BitmapFont& font() const { return text_; }
    // The player's colony, whose flag count the screen shows; none in a
    // demonstration.
    virtual const Colony* playerColony() const { return nullptr; }
    // A line at the bottom of the field, drawn with its opacity; none by
    // default.
    struct FieldLine {
        std::string text;
        float opacity = 0;
    };
    virtual FieldLine fieldLine() const { return {}; }
    // A line under "Paused" naming what the screen offers while paused; none
    // by default.
    virtual std::string pausedText() const { return {}; }

private:
    // The status lines' font, from the archive.
    void buildFont();
    // One world update and the timers that run with it.
    void advance(int elapsedMs);
    void updateWorld(int elapsedMs);
    void drawStatus() const;
    void drawStatusLine(const Colony& colony, float x, const TextStyle& style) const;
    void drawPaused() const;
    // "2x" or "4x" in the top-right corner, large and shaded; nothing at 1x.
    void drawSpeed() const;
    // Tab shows the flag count and the graph of the game so far while held.
    bool tabHeld() const;
    void drawFlagCount(const Colony& player, const TextStyle& style) const;
    void changeSpeed(int speed);

    bool finished_ = false;
    bool paused_ = false;
    bool closeAsked_ = false;
    int worldUpdates_ = 0;
    int updatesInLastTick_ = 0;
    World world_;
    WorldPoints points_;
    BitmapFont text_;
    int inputPause_ = 0;
    int endDelay_ = kEndDelayMs;
    int speed_ = 1;
};

}  // namespace brv
