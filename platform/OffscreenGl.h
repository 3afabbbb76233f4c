#pragma once

#include <memory>
#include <string>

namespace brv {

// A real OpenGL context without a screen, for drawing tests and tools that
// render pictures: a hidden window of SDL's offscreen video driver (or, when a
// display is set, a hidden window there). Only one may exist at a time.
class OffscreenGl {
public:
    // Creates the context and makes it current; check ok() afterwards.
    OffscreenGl(int width, int height);
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void swap();

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    bool ok_ = false;
    std::string error_;
    int width_;
    int height_;
};

}  // namespace brv
