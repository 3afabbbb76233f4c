// Opens the game's window on the real desktop through the SDL backend, runs
// the frame timer with a view that clears to one colour, and checks that the
// colour reached the window. Used to check a display stack (for example under
// Xvfb) and to take screenshots of a plain window.

#include <GL/gl.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "app/window/WindowProcedure.h"
#include "platform/SdlPlatform.h"

namespace brv {
namespace {

struct Colour {
    float r, g, b;
};

// Clears the window to one colour every frame, reads the centre pixel back
// once the check time has passed and closes the window after the hold time.
// Answers Alt+F4 as the game's menu does: by asking for the close again, so
// the program ends once F4 is let go.
class ClearView : public View {
public:
    ClearView(GlWindow& window, Colour colour, int checkMs, int holdMs)
        : window_(window), colour_(colour), checkMs_(checkMs), holdMs_(holdMs) {}

    void onCloseRequest() override {
        ++closeRequests;
        Message close;
        close.kind = MessageKind::Close;
        window_.platform().post(close);
    }

    void activate() override {
        ++activations;
        View::activate();
    }

    void onTick(int elapsedMs) override {
        if (minimiseAtMs > 0 && gameMs == minimiseAtMs) {
            window_.minimize();
        }
        if (ticks == 0 && fullScreen) {
            switched = window_.enterFullScreen();
        }
        gameMs += elapsedMs;
        ++ticks;
        if (gameMs >= checkMs_ + holdMs_ && !closing_) {
            closing_ = true;
            Message close;
            close.kind = MessageKind::Close;
            window_.platform().post(close);
        }
    }

    void draw() override {
        const ScreenPoint size = window_.platform().drawableSize();
        glViewport(0, 0, size.x, size.y);
        glClearColor(colour_.r, colour_.g, colour_.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (gameMs >= checkMs_ && !checked) {
            glFinish();
            glReadPixels(size.x / 2, size.y / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
            checked = true;
            checkedAtMs = window_.platform().milliseconds();
        }
    }

    bool fullScreen = false;
    bool switched = false;
    int closeRequests = 0;
    int minimiseAtMs = 0;
    int activations = 0;
    int gameMs = 0;
    int ticks = 0;
    bool checked = false;
    unsigned char pixel[3] = {};
    std::uint32_t checkedAtMs = 0;

private:
    GlWindow& window_;
    Colour colour_;
    int checkMs_;
    int holdMs_;
    bool closing_ = false;
};

bool near(unsigned char got, float want) {
    return std::abs(static_cast<int>(got) - static_cast<int>(want * 255.0f + 0.5f)) <= 8;
}

struct Options {
    int x = 100;
    int y = 80;
    int width = 640;
    int height = 480;
    int checkMs = 1000;
    int holdMs = 0;
    std::vector<float> colour{0.1f, 0.6f, 0.3f};
    bool fullScreen = false;
    int minimiseAtMs = 0;
};

void report(const GlWindow& window, const ClearView& view, int exitCode, std::uint32_t start) {
    const Platform& platform = window.platform();
    const WindowRect r = platform.windowRect();
    const ScreenPoint drawable = platform.drawableSize();
    std::printf("window at (%d, %d) size %dx%d, drawable %dx%d, full screen %s\n", r.left, r.top,
                r.right - r.left, r.bottom - r.top, drawable.x, drawable.y,
                window.fullScreen() ? "yes" : "no");
    if (view.fullScreen) {
        std::printf("full-screen switch returned %s\n", view.switched ? "true" : "false");
    }
    std::printf("%d ticks; colour read back after %u ms of wall time\n", view.ticks,
                view.checkedAtMs > start ? view.checkedAtMs - start : 0u);
    std::printf("centre pixel %d %d %d; close requests %d; activations %d; exit code %d\n",
                view.pixel[0], view.pixel[1], view.pixel[2], view.closeRequests, view.activations,
                exitCode);
}

int run(const Options& o) {
    const Colour colour{o.colour[0], o.colour[1], o.colour[2]};
    SdlPlatform platform;
    if (!platform.ok()) {
        std::fprintf(stderr, "windowcheck: %s\n", platform.error().c_str());
        return 2;
    }
    GlWindow window(platform);
    const ScreenPoint desktop = platform.desktopSize();
    std::printf("desktop %dx%d, %zu display mode(s)\n", desktop.x, desktop.y,
                platform.displayModes().size());
    if (!window.create("Brevora", o.x, o.y, o.width, o.height)) {
        std::fprintf(stderr, "windowcheck: no window: %s\n", platform.error().c_str());
        return 2;
    }
    auto owned = std::make_unique<ClearView>(window, colour, o.checkMs, o.holdMs);
    ClearView& view = *owned;
    view.fullScreen = o.fullScreen;
    view.minimiseAtMs = o.minimiseAtMs;
    window.pushScreen(std::move(owned));
    const std::uint32_t start = platform.milliseconds();
    const int exitCode = runMessageLoop(window);
    report(window, view, exitCode, start);
    const bool colourOk = view.checked && near(view.pixel[0], colour.r) &&
                          near(view.pixel[1], colour.g) && near(view.pixel[2], colour.b);
    const bool passed = colourOk && exitCode == 0 && view.ticks > 0;
    window.clearViews();
    window.destroy();
    return passed ? 0 : 1;
}

}  // namespace
}  // namespace brv

int main(int argc, char** argv) {
    CLI::App app{"Opens the game window, clears it to a colour on every tick and checks it."};
    brv::Options o;
    app.add_option("--x", o.x, "window left edge");
    app.add_option("--y", o.y, "window top edge");
    app.add_option("--width", o.width, "window width")->check(CLI::Range(1, 16384));
    app.add_option("--height", o.height, "window height")->check(CLI::Range(1, 16384));
    app.add_option("--check-ms", o.checkMs, "game time before the colour is read back");
    app.add_option("--hold-ms", o.holdMs, "game time the window stays up afterwards");
    app.add_option("--colour", o.colour, "red green blue, 0 to 1")->expected(3);
    app.add_flag("--full-screen", o.fullScreen, "switch to full screen at the first tick");
    app.add_option("--minimise-at-ms", o.minimiseAtMs, "game time at which to minimise");
    CLI11_PARSE(app, argc, argv);
    return brv::run(o);
}
