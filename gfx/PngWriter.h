#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brv {

// A PNG file from RGBA bytes, top row first: the player's screenshots and the
// pictures the data-set tools render. False, with the reason in `error`, when
// the pixels do not fill the size or the encoder fails.
bool encodePng(int width, int height, const std::vector<std::uint8_t>& rgba,
               std::vector<std::uint8_t>& out, std::string& error);

}  // namespace brv
