#pragma once

#include <cstddef>
#include <string>

namespace brv {

// The clock of an animated picture laid out as a grid (each column a frame,
// each row a group): which cell shows and how long the current cycle has run.
// Plain data, so flags and life sources animate by the same rules with or
// without a window; the art draws the cell a clock names.
class SpriteAnimation {
public:
    // No picture of the game is cut into more cells than this in either
    // direction; a larger count is damage and is cut to it, which also keeps
    // a whole cycle's milliseconds far inside an int.
    static constexpr int kMaxCells = 256;

    // Reads "groups" and "frames" from a sprite description and shows the
    // first cell; the clock keeps running. Counts below 1 count as 1, counts
    // above kMaxCells as kMaxCells. Returns
    // the picture's name ("file_name", "0" when missing).
    std::string readDescription(const void* data, std::size_t size);

    // One animation step of `step` milliseconds (the simulation passes 30). A
    // step that runs past the last frame starts the cycle over once.
    void advance(unsigned int step);

    int groups() const { return groups_; }
    int frames() const { return frames_; }
    int frame() const { return frame_; }
    int group() const { return group_; }
    void setGroup(int group) { group_ = group; }
    void setFrame(int frame) { frame_ = frame; }
    unsigned int elapsed() const { return elapsed_; }
    int frameDuration() const { return frameDuration_; }

private:
    int groups_ = 1;
    int frames_ = 1;
    int frame_ = 0;
    int group_ = 0;
    unsigned int elapsed_ = 0;
    int frameDuration_ = 50;
};

}  // namespace brv
