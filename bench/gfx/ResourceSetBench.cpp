// How long the start-up art load takes: the intro screen is shown while
// ResourceSet::loadAll runs, so this is time the player waits.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "platform/OffscreenGl.h"
#include "platform/Random.h"
#include "tests/gfx/TestPictures.h"

namespace brv {
namespace {

using test::Rgba;

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Smooth shading with grain, so the JPEGs carry about as much detail as
// painted art (pure gradients would decode unrealistically fast).
std::function<Rgba(int, int)> textured(std::uint32_t seed) {
    auto random = std::make_shared<LcgRandom>(seed);
    return [random](int x, int y) {
        const int grain = random->next() % 48;
        return Rgba{static_cast<std::uint8_t>((x / 3 + grain) & 0xFF),
                    static_cast<std::uint8_t>((y / 2 + grain) & 0xFF),
                    static_cast<std::uint8_t>(((x + y) / 5) & 0xFF),
                    static_cast<std::uint8_t>((x * y) & 0xFF)};
    };
}

// Loose pictures of the shipped sizes: a 512 x 512 font, 256 x 192 buttons,
// two 1024 x 1024 backgrounds, a 512 x 512 dialog frame, ten 512 x 512 field
// textures and two sprite sheets.
std::string writeShippedSizes() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brevora-gfx-bench";
    std::filesystem::remove_all(dir);
    std::vector<std::vector<int>> glyphs(4, std::vector<int>(24, 12));
    writeBytes(dir / "mui/font.tga", test::makeFontPicture(512, 512, 40, glyphs, true));
    const char* keys[] = {"m_single_game_btn",   "m_continue_single_game_btn",
                          "m_quit_game_btn",     "m_ok_btn",
                          "m_cancel_btn",        "m_radio_btn",
                          "m_help_btn",          "m_close_btn",
                          "m_top7_btn",          "m_fullscreen_btn",
                          "m_enter_name_editbox"};
    std::string layout;
    int seed = 1;
    for (const char* key : keys) {
        const std::string path = std::string("mui/") + key + ".tga";
        layout += std::string(key) + " " + path + "\n";
        writeBytes(dir / path, test::makeTga(256, 192, 32, textured(seed++)));
    }
    writeText(dir / "mui/menu.txt", layout);
    for (const char* name : {"up_btn", "down_btn", "min_btn", "help_sml_btn", "quit_sml_btn"}) {
        writeBytes(dir / "mui" / (std::string(name) + ".tga"),
                   test::makeTga(64, 192, 32, textured(seed++)));
    }
    writeBytes(dir / "mui/main.jpg", test::encodeJpeg(1024, 1024, 3, textured(seed++)));
    writeBytes(dir / "mui/main_game.jpg", test::encodeJpeg(1024, 1024, 3, textured(seed++)));
    writeBytes(dir / "mui/dialogbox.tga", test::makeTga(512, 512, 32, textured(seed++)));
    writeText(dir / "dat/life_src.spr", "file_name mui/life_src.tga frames 8");
    writeBytes(dir / "mui/life_src.tga", test::makeTga(512, 64, 32, textured(seed++)));
    writeText(dir / "dat/flag.spr", "file_name mui/flag.tga frames 4");
    writeBytes(dir / "mui/flag.tga", test::makeTga(256, 64, 32, textured(seed++)));
    for (int i = 1; i <= 10; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "mui/tex/%03d.jpg", i);
        writeBytes(dir / path, test::encodeJpeg(512, 512, 3, textured(seed++)));
    }
    return dir.string();
}

void loadAll(benchmark::State& state, const std::string& dir) {
    OffscreenGl gl(64, 64);
    if (!gl.ok()) {
        state.SkipWithError(gl.error().c_str());
        return;
    }
    GameParams params(dir);
    ResourceSet set(&params.m_archive);
    for (auto _ : state) {
        set.loadAll();
        glFinish();
    }
    if (set.font.glyphsFound() == 0 || set.fieldTextures[9].glName() == 0) {
        state.SkipWithError("the data set lacks pictures");
    }
    set.releaseAll();
}

void BM_LoadAllShippedSizes(benchmark::State& state) {
    static const std::string dir = writeShippedSizes();
    loadAll(state, dir);
}
BENCHMARK(BM_LoadAllShippedSizes)->Unit(benchmark::kMillisecond)->Iterations(5);

// The data set of this build, once the art generator has drawn it.
void BM_LoadAllBuiltDataSet(benchmark::State& state) {
    loadAll(state, std::string(BREVORA_BUILD_DIR) + "/game");
}
BENCHMARK(BM_LoadAllBuiltDataSet)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace brv
