#include "ui/TextPanel.h"

#include <algorithm>

#include "gfx/BitmapFont.h"

namespace brv {

float TextPanel::width(const std::string& text) const {
    return font_ != nullptr ? font_->textWidth(text.c_str(), textSize_) : 0.0f;
}

void TextPanel::setText(const void* bytes, std::size_t count) {
    const char* text = static_cast<const char*>(bytes);
    std::string line;
    std::string word;
    // The closing carriage return ends the last paragraph like any other.
    for (std::size_t i = 0; i <= count; ++i) {
        const char c = i < count && text != nullptr ? text[i] : '\r';
        if (c == '\n') {
            continue;
        }
        if (c != ' ' && c != '\r') {
            word.push_back(c);
            continue;
        }
        if (width(line) + width(word) < maxWidth_) {
            line += word;
        } else {
            lines_.push_back(line);
            line = word;
        }
        line.push_back(' ');
        word.clear();
        if (c == '\r') {
            lines_.push_back(line);
            line.clear();
        }
    }
}

void TextPanel::scrollUp() {
    scrollBy(-scrollStep_);
}

void TextPanel::scrollDown() {
    scrollBy(scrollStep_);
}

void TextPanel::scrollBy(int lines) {
    // In wide arithmetic: a wheel may report any number of notches.
    const long long last = std::max(static_cast<long long>(lines_.size()) - visibleLines_, 0LL);
    firstLine_ =
        static_cast<int>(std::clamp(static_cast<long long>(firstLine_) + lines, 0LL, last));
}

void TextPanel::draw(float x, float y, const Colour& colour) const {
    if (font_ == nullptr) {
        return;
    }
    const int count = static_cast<int>(lines_.size());
    for (int i = firstLine_; i < count && i < firstLine_ + visibleLines_; ++i) {
        font_->drawText(lines_[i].c_str(), x, y,
                        {.size = textSize_, .colour = colour, .depth = 10});
        y += textSize_;
    }
}

}  // namespace brv
