// The least a window like the game's must do each tick: clear, draw one
// textured quad over the whole window and swap, every 30 ms.
//   ref_quad [full]   ("full": full screen at the desktop's size)
// Runs until closed. With BREVORA_TICK_LOG naming a file, every frame writes
// a line "<start> <cost> 0 <drawing> <swap>" there in µs, the columns of the
// game's tick log with no world to update, so bench/run reads both alike.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "bench/ref/RefWindow.h"

namespace {

constexpr long long kTickUs = 30000;

std::FILE* openLog() {
    const char* path = std::getenv("BREVORA_TICK_LOG");
    std::FILE* file = path != nullptr && *path != '\0' ? std::fopen(path, "w") : nullptr;
    if (file != nullptr) {
        std::setvbuf(file, nullptr, _IOLBF, 256);
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    brv::RefWindow window("ref_quad", argc > 1 && std::string_view(argv[1]) == "full");
    if (!window.ready()) {
        return 1;
    }
    window.uploadTexture();
    std::FILE* log = openLog();
    long long due = brv::microsecondsNow();
    while (window.pollEvents()) {
        const long long start = brv::microsecondsNow();
        window.drawQuad();
        const long long drawn = brv::microsecondsNow();
        window.swap();
        const long long end = brv::microsecondsNow();
        if (log != nullptr) {
            std::fprintf(log, "%lld %lld 0 %lld %lld\n", start, end - start, drawn - start,
                         end - drawn);
        }
        // Like the game's timer: frames falling due during a slow one are dropped.
        due += kTickUs;
        while (due <= end) {
            due += kTickUs;
        }
        SDL_Delay(static_cast<Uint32>((due - end + 999) / 1000));
    }
    if (log != nullptr) {
        std::fclose(log);
    }
    return 0;
}
