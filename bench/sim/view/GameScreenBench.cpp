// Cost of one frame of a running game: the screen's tick (the world update),
// its drawing finished with glFinish, and the two together, at the peak
// population of a four-colony Hard game on the built data set, drawn into an
// offscreen context of 800 × 600 (and twice that) on whatever GL the machine
// has. A frame must fit well inside the 30 ms tick. Three fields: a game
// screen whose player never clicks (the three computer sides overrun it), the
// demonstration's four computer sides, and a demonstration crowded with 12000
// viruses, far more than the rules let grow, for the cost of the points; the
// first two also at 4x, where a tick runs four world updates.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/window/GameContext.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/FrameState.h"
#include "gfx/ResourceSet.h"
#include "platform/OffscreenGl.h"
#include "sim/Colony.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/view/DemoScreen.h"
#include "sim/view/GameScreen.h"

namespace brv {
namespace {

constexpr std::uint32_t kSeed = 12345;
constexpr int kMeasuredTicks = 200;
constexpr int kPeakSearchTicks = 20000;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double percentile90(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() * 9 / 10];
}

// The built data set, read once; its art needs a current context.
GameParams& shippedGame() {
    static GameParams params(std::string(BREVORA_BUILD_DIR) + "/game");
    return params;
}

// The built data set's art and a silent sound set: what the screens work with.
GameContext& shippedContext() {
    static ResourceSet art(&shippedGame().m_archive);
    static SoundSet sounds;
    static GameContext context{shippedGame(), art, sounds, nullptr};
    return context;
}

enum class Kind { Game = 0, Demo = 1, Crowded = 2 };
constexpr int kCrowd = 12000;

// The colonies hold the four quarters of the field, so they meet along two
// lines and fight there. The world plays on the shipped game's rules, whose
// population bound is lifted while the crowd is placed.
void crowd(World& world) {
    GameParams& params = shippedGame();
    const int maxPopulation = params.m_max_population;
    params.m_max_population = kCrowd;
    for (int c = 0; c < World::kColumns; ++c) {
        for (int r = 0; r < World::kRows; ++r) {
            world.takeVirus(c, r);
        }
    }
    int placed = 0;
    while (placed < kCrowd) {
        const int c = world.rules().rand() % World::kColumns;
        const int r = world.rules().rand() % World::kRows;
        if (world.virusAt(c, r) == nullptr) {
            Colony* colony = world.colonies()[(c < 100 ? 0 : 1) + (r < 75 ? 0 : 2)].get();
            world.placeVirus(c, r, std::make_unique<Virus>(world, c, r, colony));
            ++placed;
        }
    }
    params.m_max_population = maxPopulation;
}

// A Hard game's screen and the rules state it plays on, seeded with kSeed.
struct HardScreen {
    RulesState rules{kSeed};
    std::unique_ptr<PlayScreen> screen;
};

std::unique_ptr<HardScreen> hardGame(Kind kind, int ticks) {
    auto game = std::make_unique<HardScreen>();
    if (kind == Kind::Game) {
        game->screen = std::make_unique<GameScreen>(shippedContext(), game->rules, 4, 2);
    } else {
        game->screen = std::make_unique<DemoScreen>(shippedContext(), game->rules, 2);
    }
    if (kind == Kind::Crowded) {
        crowd(game->screen->world());
    }
    for (int t = 0; t < ticks; ++t) {
        game->screen->onTick(30);
    }
    return game;
}

// The tick with the most viruses in the game above, found once per kind.
int peakTick(Kind kind) {
    static int peaks[3] = {-1, -1, 0};
    int& peak = peaks[static_cast<int>(kind)];
    if (peak < 0) {
        auto game = hardGame(kind, 0);
        PlayScreen* screen = game->screen.get();
        int most = 0;
        for (int t = 1; t <= kPeakSearchTicks && screen->world().aliveColonyCount() > 1; ++t) {
            screen->onTick(30);
            if (screen->world().virusTotal() > most) {
                most = screen->world().virusTotal();
                peak = t;
            }
        }
    }
    return peak;
}

void BM_GameScreenFrame(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const Kind kind = static_cast<Kind>(state.range(1));
    const int speed = static_cast<int>(state.range(2));
    OffscreenGl gl(800 * scale, 600 * scale);
    if (!gl.ok()) {
        state.SkipWithError(("no GL context: " + gl.error()).c_str());
        return;
    }
    GameParams& params = shippedGame();
    shippedContext().art.loadAll();
    // Start a little before the peak so the measured ticks straddle it.
    const int peak = peakTick(kind);
    auto game = hardGame(kind, std::max(peak - kMeasuredTicks / 2, 0));
    PlayScreen* screen = game->screen.get();
    // At 2x and 4x a tick runs that many world updates before its one frame.
    params.m_preferences.speed = speed;
    std::vector<double> update;
    std::vector<double> draw;
    std::vector<double> total;
    long long viruses = 0;
    for (auto _ : state) {
        for (int t = 0; t < kMeasuredTicks; ++t) {
            const auto start = Clock::now();
            screen->onTick(30);
            update.push_back(msSince(start));
            const auto drawStart = Clock::now();
            // As the window draws a frame: its GL state first, then the screen.
            beginFrame({800 * scale, 600 * scale, 800, 600});
            screen->draw();
            glFinish();
            draw.push_back(msSince(drawStart));
            total.push_back(msSince(start));
            viruses += screen->world().virusTotal();
            gl.swap();
        }
    }
    state.counters["update_ms_median"] = median(update);
    state.counters["draw_ms_median"] = median(draw);
    state.counters["total_ms_median"] = median(total);
    state.counters["total_ms_p90"] = percentile90(total);
    state.counters["viruses"] = static_cast<double>(viruses) / static_cast<double>(total.size());
    state.counters["peak_tick"] = peak;
    game.reset();
    params.m_preferences.speed = 1;
    shippedContext().art.releaseAll();
}
// Arguments: window scale (1 is 800 × 600), game (0), demonstration (1) or
// crowded field (2), and the game speed (world updates per tick).
BENCHMARK(BM_GameScreenFrame)
    ->ArgNames({"scale", "field", "speed"})
    ->Args({1, 0, 1})
    ->Args({1, 1, 1})
    ->Args({1, 2, 1})
    ->Args({2, 1, 1})
    ->Args({1, 0, 4})
    ->Args({1, 1, 4})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brv
