#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gfx/TextStyle.h"

namespace brv {

class BitmapFont;

// A column of text word-wrapped to a width and scrolled a few lines at a time.
// Paragraphs end at carriage returns (line feeds are ignored), so a text with
// CR LF line ends wraps paragraph by paragraph and a blank line stays blank.
class TextPanel {
public:
    // `font` measures and draws; it may be null (every word then measures 0).
    TextPanel(const BitmapFont* font, float maxWidth, float textSize, int visibleLines,
              int scrollStep)
        : font_(font),
          maxWidth_(maxWidth),
          textSize_(textSize),
          visibleLines_(visibleLines),
          scrollStep_(scrollStep) {}
    virtual ~TextPanel() = default;

    // Appends the wrapped lines of `count` bytes. Every stored line ends with
    // the space that followed its last word.
    void setText(const void* bytes, std::size_t count);
    // One step of scrollStep lines towards the start or the end.
    void scrollUp();
    void scrollDown();
    // Moves by `lines` (towards the end when positive), stopping where the
    // first line or the last full page shows.
    void scrollBy(int lines);
    // Draws the visible lines, the first with its baseline at y, one line
    // every textSize further down.
    void draw(float x, float y, const Colour& colour) const;

    const std::vector<std::string>& lines() const { return lines_; }
    int firstLine() const { return firstLine_; }
    int visibleLines() const { return visibleLines_; }
    int scrollStep() const { return scrollStep_; }

private:
    float width(const std::string& text) const;

    const BitmapFont* font_;
    std::vector<std::string> lines_;
    float maxWidth_;
    float textSize_;
    int firstLine_ = 0;
    int visibleLines_;
    int scrollStep_;
};

}  // namespace brv
