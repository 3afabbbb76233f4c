#include "tools/mkdata/FontPicture.h"

#include <algorithm>

#include "tools/mkdata/ImageFiles.h"

namespace brv::art {

namespace {

constexpr char kFirst = 33;
constexpr char kLast = 126;

// A glyph trimmed to its ink, with its top relative to the baseline.
struct Ink {
    int width = 0;
    int rows = 0;
    int top = 0;  // rows above the baseline of the first inked row
    std::vector<std::uint8_t> coverage;
};

bool trim(const Lettering::Glyph& g, Ink& ink) {
    int left = g.width, right = -1, top = g.rows, bottom = -1;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.width; ++c) {
            if (g.coverage[static_cast<std::size_t>(r) * g.width + c] != 0) {
                left = std::min(left, c);
                right = std::max(right, c);
                top = std::min(top, r);
                bottom = std::max(bottom, r);
            }
        }
    }
    if (right < 0) {
        return false;
    }
    ink.width = right - left + 1;
    ink.rows = bottom - top + 1;
    ink.top = g.top - top;
    ink.coverage.assign(static_cast<std::size_t>(ink.width) * ink.rows, 0);
    for (int r = 0; r < ink.rows; ++r) {
        for (int c = 0; c < ink.width; ++c) {
            ink.coverage[static_cast<std::size_t>(r) * ink.width + c] =
                g.coverage[static_cast<std::size_t>(r + top) * g.width + c + left];
        }
    }
    return true;
}

bool renderAll(Lettering& face, float size, std::vector<Ink>& inks, std::string& error) {
    inks.clear();
    for (char code = kFirst; code <= kLast; ++code) {
        Lettering::Glyph g;
        Ink ink;
        if (!face.glyph(code, size * FontPicture::kSqueeze, size, g) || !trim(g, ink)) {
            error = std::string("the font has no ink for '") + code + "'";
            return false;
        }
        inks.push_back(std::move(ink));
    }
    return true;
}

void verticalExtent(const std::vector<Ink>& inks, int& ascent, int& descent) {
    ascent = 0;
    descent = 0;
    for (const Ink& ink : inks) {
        ascent = std::max(ascent, ink.top);
        descent = std::max(descent, ink.rows - ink.top);
    }
}

// Where each glyph goes for a picture `width` wide; returns the rows needed.
int layout(const std::vector<Ink>& inks, int width, int lineSpan, std::vector<int>& xs,
           std::vector<int>& lines) {
    const int start = FontPicture::kMargin + FontPicture::kMarkerWidth + FontPicture::kGlyphGap;
    int x = start;
    int line = 0;
    xs.clear();
    lines.clear();
    for (const Ink& ink : inks) {
        if (x + ink.width + FontPicture::kMargin > width) {
            ++line;
            x = start;
        }
        xs.push_back(x);
        lines.push_back(line);
        x += ink.width + FontPicture::kGlyphGap;
    }
    return 2 * FontPicture::kMargin + (line + 1) * lineSpan + line * FontPicture::kLineGap;
}

int powerOfTwoAtLeast(int v) {
    int p = 1;
    while (p < v) {
        p *= 2;
    }
    return p;
}

// Fills every column of a glyph that holds no ink with one invisible pixel,
// so that the scan sees one glyph, not two.
void bridgeGaps(FontPicture& pic, int x0, int width, int rowTop, int rows, int bridgeRow) {
    for (int c = x0; c < x0 + width; ++c) {
        bool inked = false;
        for (int r = rowTop; r < rowTop + rows && !inked; ++r) {
            inked = pic.alpha[static_cast<std::size_t>(r) * pic.width + c] != 0;
        }
        if (!inked) {
            pic.alpha[static_cast<std::size_t>(bridgeRow) * pic.width + c] = 1;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> FontPicture::toTga() const {
    std::vector<std::uint8_t> rgba(alpha.size() * 4, 255);
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        rgba[i * 4 + 3] = alpha[i];
    }
    return encodeTga(width, height, rgba, 32);
}

bool drawFontPicture(Lettering& face, int lineHeight, FontPicture& out, std::string& error) {
    // Measure at a large size first, then pick the size that gives the line height.
    std::vector<Ink> inks;
    const float probe = 100.0f;
    if (!renderAll(face, probe, inks, error)) {
        return false;
    }
    int ascent = 0, descent = 0;
    verticalExtent(inks, ascent, descent);
    const float size =
        probe * static_cast<float>(lineHeight) / static_cast<float>(ascent + descent);
    if (!renderAll(face, size, inks, error)) {
        return false;
    }
    verticalExtent(inks, ascent, descent);
    const int lineSpan = ascent + descent + 1;  // the marker's extra top row

    // The power-of-two picture of least area, the squarer one when two tie.
    std::vector<int> xs, lines;
    int bestWidth = 0, bestArea = 0, bestSide = 0;
    for (int width = 128; width <= 2048; width *= 2) {
        const int h = powerOfTwoAtLeast(layout(inks, width, lineSpan, xs, lines));
        const int side = std::max(width, h);
        if (bestWidth == 0 || width * h < bestArea || (width * h == bestArea && side < bestSide)) {
            bestWidth = width;
            bestArea = width * h;
            bestSide = side;
        }
    }
    out.width = bestWidth;
    out.height = powerOfTwoAtLeast(layout(inks, bestWidth, lineSpan, xs, lines));
    out.lineHeight = lineSpan;
    out.alpha.assign(static_cast<std::size_t>(out.width) * out.height, 0);

    const int lineCount = lines.back() + 1;
    for (int line = 0; line < lineCount; ++line) {
        const int top = FontPicture::kMargin + line * (lineSpan + FontPicture::kLineGap);
        for (int r = top; r < top + lineSpan; ++r) {
            for (int c = FontPicture::kMargin; c < FontPicture::kMargin + FontPicture::kMarkerWidth;
                 ++c) {
                out.alpha[static_cast<std::size_t>(r) * out.width + c] = 255;
            }
        }
    }
    for (std::size_t i = 0; i < inks.size(); ++i) {
        const Ink& ink = inks[i];
        const int lineTop = FontPicture::kMargin + lines[i] * (lineSpan + FontPicture::kLineGap);
        const int baseline = lineTop + 1 + ascent;  // first row below the baseline
        const int y0 = baseline - ink.top;
        for (int r = 0; r < ink.rows; ++r) {
            for (int c = 0; c < ink.width; ++c) {
                out.alpha[static_cast<std::size_t>(y0 + r) * out.width + xs[i] + c] =
                    ink.coverage[static_cast<std::size_t>(r) * ink.width + c];
            }
        }
        bridgeGaps(out, xs[i], ink.width, lineTop, lineSpan, baseline - 1);
    }
    return true;
}

}  // namespace brv::art
