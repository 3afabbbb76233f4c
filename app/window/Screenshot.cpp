#include "app/window/Screenshot.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "config/SaveFolder.h"
#include "gfx/BitmapFont.h"
#include "gfx/FrameState.h"
#include "gfx/PngWriter.h"
#include "platform/FileIo.h"

namespace brv {

namespace {

// The caption's line: its text size, and the smallest it shrinks to before a
// long path loses its front.
constexpr float kCaptionSize = 22;
constexpr float kSmallestCaption = 14;
constexpr float kCaptionMargin = 10;

// Writes the picture into the screenshot folder of the save folder; the path
// it went to, or the reason in `why`.
std::string savePicture(const SaveFolder* saves, const std::vector<std::uint8_t>& rgba, int width,
                        int height, std::string& why) {
    if (saves == nullptr || saves->dir().empty()) {
        why = saves == nullptr || saves->problem().empty() ? "there is no folder for saved files"
                                                           : saves->problem();
        return {};
    }
    if (rgba.empty()) {
        why = "the frame could not be read";
        return {};
    }
    std::vector<std::uint8_t> png;
    if (!encodePng(width, height, rgba, png, why)) {
        return {};
    }
    const std::string dir = saves->shownDir() + "/" + Screenshot::kFolder;
    const std::string path = freeDatedName(dir, "brevora", ".png", std::time(nullptr));
    if (path.empty()) {
        why = "too many pictures in one second";
        return {};
    }
    if (!writeFileAtomically(path, png.data(), png.size())) {
        const int error = errno;
        why = folderWriteProblem(dir).value_or(error != 0 ? std::strerror(error)
                                                          : "the file could not be written");
        return {};
    }
    return path;
}

}  // namespace

void Screenshot::takeIfRequested(int drawableWidth, int drawableHeight) {
    if (!requested_) {
        return;
    }
    requested_ = false;
    std::string why;
    savedPath_ = savePicture(folder_, readFrame(drawableWidth, drawableHeight), drawableWidth,
                             drawableHeight, why);
    if (savedPath_.empty()) {
        refuse(why);
    } else {
        announce("Screenshot saved: " + savedPath_, true);
    }
}

void Screenshot::refuse(const std::string& reason) {
    requested_ = false;
    savedPath_.clear();
    std::fprintf(stderr, "brevora: screenshot not saved: %s\n", reason.c_str());
    announce("Screenshot not saved: " + reason, false);
}

void Screenshot::announce(std::string caption, bool saved) {
    caption_ = std::move(caption);
    saved_ = saved;
    captionLeftMs_ = kCaptionMs;
}

void Screenshot::tick(int elapsedMs) {
    if (caption_.empty()) {
        return;
    }
    captionLeftMs_ -= elapsedMs;
    if (captionLeftMs_ <= 0) {
        caption_.clear();
    }
}

// One line on a dark band along the bottom of the screen, over everything:
// smaller for a long path, and beyond that the path's front gives way (its
// end names the picture).
void Screenshot::drawCaption(int logicalWidth, int logicalHeight) const {
    if (caption_.empty() || font_ == nullptr) {
        return;
    }
    const BitmapFont& font = *font_;
    const float w = static_cast<float>(logicalWidth);
    const float h = static_cast<float>(logicalHeight);
    const float room = w - 2 * kCaptionMargin;
    float size = kCaptionSize;
    while (size > kSmallestCaption && font.textWidth(caption_.c_str(), size) > room) {
        size -= 1;
    }
    std::string shown = caption_;
    const std::size_t label = caption_.find(": ") + 2;
    while (shown.size() > label + 4 && font.textWidth(shown.c_str(), size) > room) {
        shown = shown.substr(0, label) + "..." + shown.substr(label + 4);
    }
    const float top = h - kCaptionSize - 2 * kCaptionMargin;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.7f);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(0, top);
    glVertex2f(0, h);
    glVertex2f(w, top);
    glVertex2f(w, h);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    const Colour colour = saved_ ? Colour{1, 1, 1} : Colour{1, 0.45f, 0.3f};
    font.drawText(shown.c_str(), kCaptionMargin, h - kCaptionMargin - (kCaptionSize - size) / 2,
                  {.size = size, .colour = colour, .depth = 0});
    if (texturing) {
        glEnable(GL_TEXTURE_2D);
    }
    glPopMatrix();
}

}  // namespace brv
