#pragma once

#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "sim/World.h"

namespace brv {

class Colony;
class LifeSource;

// The short lines that tell a newcomer what is happening in a game, one at a
// time at the bottom of the field, shown for a few seconds and then fading;
// one that comes up while another shows waits for it. Each line says
// something about the world that can stop being true (the player moves the
// flag off a spent source, the enemy leaves): the coach asks the world again
// when a line comes up and on every tick while it shows, and drops a line that
// no longer holds. What happened (the start, a kill, a colony wiped out) stays
// true for its show. A line about a source is told once for each source, the
// others once a game. The coach only reads the world, so a game coached plays
// exactly as one that is not.
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
    // The sources by the flags change slowly: they are looked at once a
    // second, and at once when the player's flags change.
    static constexpr int kSourceLookMs = 1000;

    // A coach that is off says nothing.
    explicit Coach(bool on) : on_(on) {}

    // Starts watching a world just set up, its first colony the player's,
    // and shows the opening line.
    void begin(const World& world);
    // After each world update of `updateMs`: notes what the world shows now,
    // drops the line shown if it no longer holds and brings up the next one
    // that does.
    void watch(const World& world, int updateMs);
    // Queues a line unless it was already told this game; it comes up at the
    // next watch if the world still shows it then.
    void note(Line line);
    // The line's own clock runs in play time (not while paused).
    void advance(int elapsedMs);

    // The line on screen now; none between lines.
    std::optional<Line> current() const;
    // 1 while shown, falling to 0 over the last kFadeMs.
    float opacity() const;
    // Whether the line was queued this game, for any source.
    bool noted(Line line) const { return noted_[index(line)]; }
    // The words of a line; the player's colour is named as it is drawn.
    static const char* text(Line line, bool colourBlind);

private:
    // A life source as the coach knows it: its cell and the reserve it was
    // given. A spent source's memory may go to the next one, so its address
    // does not tell them apart. Lines about no source carry the empty one.
    struct SourceKey {
        int column = -1;
        int row = -1;
        int startingReserve = 0;
        bool operator==(const SourceKey&) const = default;
    };
    struct Told {
        Line line;
        SourceKey source;
        bool operator==(const Told&) const = default;
    };

    static std::size_t index(Line line) { return static_cast<std::size_t>(line); }
    static SourceKey keyOf(const LifeSource& source);
    // Whether what the line says is true of the world now: the one test both
    // for noting a line and for keeping it.
    bool holds(const Told& told, const World& world) const;
    bool shrinkingFast(int count) const;
    void countViruses(int count, int updateMs);
    bool flagsChanged(const Colony& player);
    void watchEnemies(const World& world);
    void lookAtSources(const World& world, bool fullLook);
    void tell(Told told, const World& world);
    void settle(const World& world);
    void show(Told told);

    bool on_;
    std::array<bool, static_cast<std::size_t>(Line::Count)> noted_{};
    // Every line queued or shown this game; one dropped before it came up is
    // taken off again, so that it may be told when it is true once more.
    std::vector<Told> told_;
    std::deque<Told> waiting_;
    std::optional<Told> current_;
    int shownMs_ = 0;
    int showFor_ = 0;
    // The life source the player's colony started on.
    SourceKey home_;
    // The player's virus count once a second of game time, newest last,
    // covering the shrink window.
    std::deque<int> counts_;
    int sinceCountMs_ = 0;
    int sinceSourcesMs_ = 0;
    // The cells of the player's flags at the last look.
    std::vector<std::pair<int, int>> flagCells_;
    std::array<bool, World::kMaxColonies> enemyAlive_{};
};

}  // namespace brv
