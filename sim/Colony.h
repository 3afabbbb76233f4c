#pragma once

#include <memory>
#include <vector>

#include "sim/Flag.h"

namespace brv {

class GameRules;
class RulesState;

// One side of a game: a colour, the count of its living viruses, the enemies
// it killed, a one-second trend mark and its flags. A plain Colony is the
// player's; the computer kinds derive from it and steer by flags alone.
class Colony {
public:
    Colony(float red, float green, float blue, const GameRules& params);
    virtual ~Colony();
    Colony(const Colony&) = delete;
    Colony& operator=(const Colony&) = delete;

    // Once per tick, with the colony's position in the world's list. The player's
    // colony renews its trend mark and animates its flags.
    virtual void update(int elapsedMs, int index);

    // A click closer than this many logical pixels to a flag on both axes
    // reaches it.
    static constexpr float kFlagReach = 25.0f;

    // Flags, at logical pixel positions. A click within kFlagReach (strictly) of
    // a flag on both axes removes the first such flag.
    bool removeFlagNear(int x, int y);
    // Replaces a flag near the place, then adds one while the limit allows.
    void addFlagAt(int x, int y);
    // The flag nearest to a cell; the earlier flag wins a tie. Null without flags.
    const Flag* nearestFlag(int column, int row) const;
    // Every colony may hold one flag, and one more per m_flag_per_count viruses.
    int flagLimit() const;
    const std::vector<std::unique_ptr<Flag>>& flags() const { return flags_; }

    float red() const { return red_; }
    float green() const { return green_; }
    float blue() const { return blue_; }
    int virusCount() const { return virusCount_; }
    int killCounter() const { return killCounter_; }
    int previousCount() const { return previousCount_; }
    char trendMark() const { return trendMark_; }
    bool isComputer() const { return isComputer_ != 0; }

    // The rules state the colony's draws go to and the difficulty it plays
    // at: its world's, set when the world takes the colony in. A colony
    // outside a world draws nothing and plays at Easy.
    void joinWorld(RulesState& rules, int difficulty) {
        rules_ = &rules;
        difficulty_ = difficulty;
    }
    RulesState& rules() const { return *rules_; }

    // Kept by the viruses: born, destroyed, and enemies driven below zero life.
    void virusBorn() { ++virusCount_; }
    void virusGone() { --virusCount_; }
    void addKill() { ++killCounter_; }

protected:
    // Renews the trend mark once more than a second has passed.
    void updateTrend(int elapsedMs);
    // Destroys every flag standing on the cell; true if there was one.
    bool removeFlagsOn(int column, int row);
    bool hasFlagOn(int column, int row) const;
    void setComputer() { isComputer_ = 1; }
    const GameRules& params() const { return params_; }
    float pitch() const;

    std::vector<std::unique_ptr<Flag>> flags_;

private:
    float red_;
    float green_;
    float blue_;
    int virusCount_ = 0;
    int killCounter_ = 0;
    int previousCount_ = 0;
    int trendTime_ = 0;
    char trendMark_ = '+';
    int isComputer_ = 0;
    const GameRules& params_;
    RulesState* rules_ = nullptr;
    int difficulty_ = 0;
};

}  // namespace brv
