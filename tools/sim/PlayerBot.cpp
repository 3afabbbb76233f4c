#include "tools/sim/PlayerBot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/PlayerClick.h"
#include "sim/Virus.h"
#include "sim/World.h"
#include "tools/sim/NewcomerBot.h"
#include "tools/sim/NoviceBot.h"

namespace brv {

namespace {

class IdleBot : public PlayerBot {
public:
    using PlayerBot::PlayerBot;
    void play(World&, int) override {}
};

struct Point {
    float column = 0;
    float row = 0;
};

float distance(Point a, Point b) {
    return std::hypot(a.column - b.column, a.row - b.row);
}

// A plain strategy of a reasonable new player, looked at about three times a
// second: one flag on the life source nearest the colony's centre, moved when
// that source is spent or another is nearer; while the allowance has room,
// one flag on the centre of the nearest enemy smaller than the colony, moved
// when that enemy has wandered off.
class ForagerBot : public PlayerBot {
public:
    using PlayerBot::PlayerBot;
    void play(World& world, int update) override {
        if (update < kInputPauseUpdates || update % kLookEvery != 0) {
            return;
        }
        Colony* me = steered(world);
        if (me == nullptr || me->virusCount() == 0) {
            return;
        }
        findCentres(world);
        pitch_ = std::max(world.params().m_distance_beween_viruses, 1.0f);
        keepFoodFlag(world, *me);
        keepAttackFlag(world, *me);
    }

private:
    static constexpr int kLookEvery = 10;
    // An attack flag further than this from its enemy's centre is moved.
    static constexpr float kDriftCells = 12;

    void findCentres(const World& world) {
        const std::size_t count = world.colonies().size();
        // Per colony: the sum of its viruses' columns, of their rows, and
        // their number.
        std::vector<std::array<double, 3>> sums(count, {0, 0, 0});
        for (int c = 0; c < world.columnCount(); ++c) {
            for (int r = 0; r < world.rowCount(); ++r) {
                const Virus* virus = world.virusAt(c, r);
                if (virus == nullptr) {
                    continue;
                }
                const int k = world.indexOf(virus->colony());
                if (k >= 0) {
                    auto& sum = sums[static_cast<std::size_t>(k)];
                    sum[0] += c;
                    sum[1] += r;
                    sum[2] += 1;
                }
            }
        }
        centres_.assign(count, Point{});
        for (std::size_t k = 0; k < count; ++k) {
            if (sums[k][2] > 0) {
                centres_[k] = {static_cast<float>(sums[k][0] / sums[k][2]),
                               static_cast<float>(sums[k][1] / sums[k][2])};
            }
        }
    }

    // A click on a cell, as the game screen turns a press into one.
    ClickResult click(Colony& me, Point cell) const {
        return press(me, static_cast<int>(std::lround(cell.column * pitch_)),
                     static_cast<int>(std::lround(cell.row * pitch_)));
    }

    const Flag* flagOn(const Colony& me, Point cell) const {
        for (const auto& flag : me.flags()) {
            const Point at{static_cast<float>(flag->column()), static_cast<float>(flag->row())};
            if (distance(at, cell) < 1) {
                return flag.get();
            }
        }
        return nullptr;
    }

    void keepFoodFlag(const World& world, Colony& me) {
        const Point centre = centres_[static_cast<std::size_t>(colony())];
        const LifeSource* nearest = nullptr;
        float best = std::numeric_limits<float>::max();
        for (const auto& source : world.lifeSources()) {
            const float d = distance(centre, cellOf(*source));
            if (d < best) {
                best = d;
                nearest = source.get();
            }
        }
        if (nearest == nullptr) {
            return;
        }
        const Point target = cellOf(*nearest);
        if (hasFood_ && distance(food_, target) < 1 && flagOn(me, food_) != nullptr) {
            return;
        }
        // The old food flag goes first (a click on it), so the allowance has
        // room for the new one; the start flag counts as the first food flag.
        if (!hasFood_ && !me.flags().empty()) {
            food_ = {static_cast<float>(me.flags().front()->column()),
                     static_cast<float>(me.flags().front()->row())};
            hasFood_ = true;
            if (distance(food_, target) < 1) {
                return;
            }
        }
        if (hasFood_ && flagOn(me, food_) != nullptr) {
            click(me, food_);
        }
        hasFood_ = false;
        if (click(me, target) == ClickResult::FlagSet) {
            food_ = target;
            hasFood_ = true;
        }
    }

    void keepAttackFlag(const World& world, Colony& me) {
        const auto& colonies = world.colonies();
        int enemy = -1;
        float best = std::numeric_limits<float>::max();
        const Point centre = centres_[static_cast<std::size_t>(colony())];
        for (std::size_t k = 0; k < colonies.size(); ++k) {
            const int count = colonies[k]->virusCount();
            const float d = distance(centre, centres_[k]);
            if (static_cast<int>(k) != colony() && count > 0 && count < me.virusCount() &&
                d < best) {
                best = d;
                enemy = static_cast<int>(k);
            }
        }
        const bool placed = hasAttack_ && flagOn(me, attack_) != nullptr;
        if (enemy < 0) {
            if (placed) {
                click(me, attack_);  // no weaker enemy: everyone back to the food
            }
            hasAttack_ = false;
            return;
        }
        const Point target = centres_[static_cast<std::size_t>(enemy)];
        if (placed && distance(attack_, target) < kDriftCells) {
            return;
        }
        if (placed) {
            click(me, attack_);
        } else if (static_cast<int>(me.flags().size()) >= me.flagLimit()) {
            hasAttack_ = false;
            return;  // the allowance has not grown yet
        }
        // Never onto the food flag: a click there would take it away.
        if (hasFood_ && distance(target, food_) * pitch_ < 30) {
            hasAttack_ = false;
            return;
        }
        hasAttack_ = click(me, target) == ClickResult::FlagSet;
        attack_ = target;
    }

    static Point cellOf(const LifeSource& source) {
        return {static_cast<float>(source.column()), static_cast<float>(source.row())};
    }

    std::vector<Point> centres_;
    float pitch_ = 4;
    Point food_;
    bool hasFood_ = false;
    Point attack_;
    bool hasAttack_ = false;
};

}  // namespace

void PlayerBot::act(World& world, int update) {
    now_ = update;
    play(world, update);
}

ClickResult PlayerBot::press(Colony& colony, int x, int y) const {
    return click(colony, now_, x, y);
}

const std::vector<std::string>& playerBotNames() {
    static const std::vector<std::string> names = {"idle", "forager", "novice", "newcomer"};
    return names;
}

std::unique_ptr<PlayerBot> makePlayerBot(const std::string& name, int colony, std::uint32_t seed) {
    if (name == "idle") {
        return std::make_unique<IdleBot>(colony);
    }
    if (name == "forager") {
        return std::make_unique<ForagerBot>(colony);
    }
    if (name == "novice") {
        return std::make_unique<NoviceBot>(colony);
    }
    if (name == "newcomer") {
        return std::make_unique<NewcomerBot>(colony, seed);
    }
    return nullptr;
}

}  // namespace brv
