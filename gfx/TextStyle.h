#pragma once

namespace brv {

// A colour with its opacity, each part from 0 to 1.
struct Colour {
    float red = 1;
    float green = 1;
    float blue = 1;
    float alpha = 1;
};

// How a text is drawn: the height of a line in drawing units, its colour and
// the depth it stands at.
struct TextStyle {
    float size = 0;
    Colour colour;
    float depth = 0;
};

}  // namespace brv
