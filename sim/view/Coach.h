#pragma once

#include <array>
#include <deque>
#include <optional>

#include "sim/World.h"

namespace brv {

class LifeSource;

// The short lines that tell a newcomer what is happening in a game, one at a
// time at the bottom of the field: each at most once a game, shown for a few
// seconds and then fading; one that comes up while another shows waits for
// it. The coach only reads the world, so a game coached plays exactly as one
// that is not.
class Coach {
public:
    enum class Line {
        Start,
        SourceDry,
        Shrinking,
        FlagLimit,
        FirstKill,
        EnemyWiped,
        NextSourceDry,
        EnemyAtSource,
        BareFlag,
        Count
    };

    static constexpr int kShowMs = 6000;
    static constexpr int kStartShowMs = 10000;
    static constexpr int kFadeMs = 1500;
    // The colony shrinks fast when it has lost a third of its viruses within
    // this much game time, from a size where that is more than a skirmish.
    static constexpr int kShrinkWindowMs = 10000;
    static constexpr int kShrinkFromCount = 30;
    // Enemies hold a source by the player's flag when at least this many of
    // theirs are within its reach and they outnumber the player's there.
    static constexpr int kHoldingCount = 10;

    // A coach that is off says nothing.
    explicit Coach(bool on) : on_(on) {}

    // Starts watching a world just set up, its first colony the player's,
    // and shows the opening line.
    void begin(const World& world);
    // After each world update of `updateMs`: notes what the world shows now.
    void watch(const World& world, int updateMs);
    // Queues a line unless it was already shown or queued this game.
    void note(Line line);
    // The line's own clock runs in play time (not while paused).
    void advance(int elapsedMs);

    // The line on screen now; none between lines.
    std::optional<Line> current() const;
    // 1 while shown, falling to 0 over the last kFadeMs.
    float opacity() const;
    bool noted(Line line) const { return noted_[index(line)]; }
    // The words of a line; the player's colour is named as it is drawn.
    static const char* text(Line line, bool colourBlind);

private:
    static std::size_t index(Line line) { return static_cast<std::size_t>(line); }
    bool homeRunningDry(const World& world);
    bool shrinkingFast(int count, int updateMs);
    void watchEnemies(const World& world);
    void watchFlaggedSources(const World& world, const Colony& player);
    void showNext();

    bool on_;
    std::array<bool, static_cast<std::size_t>(Line::Count)> noted_{};
    std::deque<Line> waiting_;
    std::optional<Line> current_;
    int shownMs_ = 0;
    int showFor_ = 0;
    // The life source the player's colony started on, known by its address
    // and its cell; its reserve only falls, so one taking its memory is told
    // apart by a higher reserve.
    const LifeSource* home_ = nullptr;
    int homeColumn_ = 0;
    int homeRow_ = 0;
    int homeStartReserve_ = 0;
    int homeLastReserve_ = 0;
    // The player's virus count once a second of game time, newest last,
    // covering the shrink window.
    std::deque<int> counts_;
    int sinceCountMs_ = 0;
    int sinceSourcesMs_ = 0;
    std::array<bool, World::kMaxColonies> enemyAlive_{};
};

}  // namespace brv
