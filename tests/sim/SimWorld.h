#pragma once

#include <memory>
#include <string>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/World.h"
#include "tests/support/TempDir.h"

namespace brv::test {

// Small rules for hand-built worlds: pitch 4, speed 1, r = 2, R = 4, every
// life value from 100 to 199, sources handing out 40 with probability 1/3.
// Tests override single keys by appending lines (a later line wins).
inline const char* kSmallRules =
    "m_distance_beween_viruses 4\n"
    "m_speed 1\n"
    "m_min_life_reserve \"100 100 100\"\n"
    "m_max_life_reserve \"200 200 200\"\n"
    "m_viruses_on_start \"40 40 40\"\n"
    "m_max_population 100000\n"
    "m_virus_visible 4\n"
    "m_flag_per_count \"50 50 50\"\n"
    "m_life_src_visible 8\n"
    "m_life_src_add_prob \"3 3 3\"\n"
    "m_life_src_min_life_reserve \"1000 1000 1000\"\n"
    "m_life_src_max_life_reserve \"2000 2000 2000\"\n"
    "m_life_distribute \"40 40 40\"\n"
    "m_life_src_dist 30\n";

// Rules from a temporary folder, read into parameters of their own, with the
// shipped sprite descriptions (4 flag frames, 8 life-source frames), the
// difficulty the test's worlds play at and a rules state for them, its
// generator seeded with 1 and its counters at 0.
class SimRules {
public:
    explicit SimRules(const std::string& extraRules = "", int difficulty = 0)
        : difficulty_(difficulty) {
        dir_.write("dat/param.txt", std::string(kSmallRules) + extraRules);
        dir_.write("dat/flag.spr", "file_name mui/flag.tga\ngroups 1\nframes 4\n");
        dir_.write("dat/life_src.spr", "file_name mui/life_src.tga\ngroups 1\nframes 8\n");
        params_ = std::make_unique<GameParams>(dir_.path());
    }
    GameParams& params() { return *params_; }
    RulesState& state() { return state_; }
    int difficulty() const { return difficulty_; }

private:
    TempDir dir_;
    std::unique_ptr<GameParams> params_;
    RulesState state_{1};
    int difficulty_;
};

// Places a virus of `colony` and, when asked, sets its life.
inline Virus& put(World& world, Colony* colony, int column, int row, int life = -1000000) {
    world.placeVirus(column, row, std::make_unique<Virus>(world, column, row, colony));
    Virus& v = *world.virusAt(column, row);
    if (life != -1000000) {
        v.addLife(life - v.life());
    }
    return v;
}

}  // namespace brv::test
