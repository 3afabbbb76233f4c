#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brv::art {

// Where the generator takes its inputs from.
struct ArtOptions {
    std::string assetsDir;    // the text sources: mui/menu.txt names the button pictures,
                              // dat/*.spr the sprite sheets
    std::string fontDir;      // the DejaVu fonts
    int fontLineHeight = 40;  // pixels per line of the font picture
};

struct ArtFile {
    std::string path;  // archive path, '/' separated
    std::vector<std::uint8_t> bytes;
};

// Every picture and sound effect of the data set, sorted by path. The layout
// and sprite descriptions decide the names of the pictures, so a picture
// always lands where the game looks for it. False (with a reason) when an
// input is missing or unusable.
bool drawDataSet(const ArtOptions& options, std::vector<ArtFile>& files, std::string& error);

// Fixed sizes of the pictures, shared with the layout file and the checks.
inline constexpr int kMainButtonWidth = 256;
inline constexpr int kDialogButtonWidth = 128;
inline constexpr int kButtonBand = 43;
inline constexpr int kSmallButtonWidth = 32;
inline constexpr int kSmallButtonBand = 21;
inline constexpr int kArrowButtonBand = 43;
inline constexpr int kRadioSize = 32;
// Fifteen of the font's widest letters at the name box's size 35, the caret
// and the inset either side need 480; a power of two keeps it unscaled.
inline constexpr int kNameBoxWidth = 512;
inline constexpr int kNameBoxBand = 64;
inline constexpr int kDialogBoxSize = 512;
inline constexpr int kBackgroundSize = 1024;
inline constexpr int kFieldSize = 512;
inline constexpr int kIconSize = 64;

}  // namespace brv::art
