#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "platform/HeadlessPlatform.h"

namespace brv::test {

// A view that writes every call it receives into a shared journal, so a test
// can check which view was told what, and in which order.
class JournalView : public View {
public:
    JournalView(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(journal) {}

    void onTick(int elapsedMs) override {
        note("tick " + std::to_string(elapsedMs));
        View::onTick(elapsedMs);
    }
    void draw() override { note("draw"); }
    void activate() override {
        note("activate");
        View::activate();
    }
    void onKeyDown(int key) override { note("key " + std::to_string(key)); }
    void onChar(int c, int repeat) override {
        note("char " + std::to_string(c) + "x" + std::to_string(repeat));
    }
    void onMouseMove(int x, int y, int flags) override {
        note("move " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(flags));
        View::onMouseMove(x, y, flags);
    }
    void onLButtonDown(int x, int y, int) override {
        note("ldown " + std::to_string(x) + "," + std::to_string(y));
    }
    void onLButtonUp(int x, int y, int) override {
        note("lup " + std::to_string(x) + "," + std::to_string(y));
    }
    void onRButtonUp(int x, int y, int) override {
        note("rup " + std::to_string(x) + "," + std::to_string(y));
    }
    void onMouseWheel(int x, int y, int steps) override {
        note("wheel " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(steps));
    }
    void onDialogClosed(int result, std::unique_ptr<View> dialog) override {
        note("closed " + std::to_string(result) + " " +
             (dialog != nullptr ? static_cast<JournalView*>(dialog.get())->name_ : "?"));
    }
    // Keeps every screen that comes back, as the main menu keeps a game.
    void onScreenClosed(std::unique_ptr<View> screen) override {
        returned.push_back(std::move(screen));
    }
    void onCloseRequest() override { note("closeRequest"); }

    const std::string& name() const { return name_; }
    std::vector<std::unique_ptr<View>> returned;

private:
    void note(const std::string& what) { journal_.push_back(name_ + ": " + what); }

    std::string name_;
    std::vector<std::string>& journal_;
};

// Pushes a view the window then owns and returns it for the test to watch.
template <class V>
V& pushScreen(GlWindow& window, std::unique_ptr<V> view) {
    V& watched = *view;
    window.pushScreen(std::move(view));
    return watched;
}
template <class V>
V& pushDialog(GlWindow& window, std::unique_ptr<V> view) {
    V& watched = *view;
    window.pushDialog(std::move(view));
    return watched;
}

// A headless window for the test's lifetime; with `withGl` it draws on a real
// GL context.
class WindowFixture {
public:
    explicit WindowFixture(bool withGl = false) : platform(withGl), window(platform) {}
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    HeadlessPlatform platform;
    GlWindow window;
};

}  // namespace brv::test
