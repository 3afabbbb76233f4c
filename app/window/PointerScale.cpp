#include "app/window/PointerScale.h"

#include <cmath>

namespace brv {

int toLogical(int windowPixel, int windowSize, int logicalSize) {
    if (windowSize <= 0 || logicalSize <= 0) {
        return windowPixel;
    }
    const float scale = static_cast<float>(windowSize) / static_cast<float>(logicalSize);
    const float logical = std::trunc(static_cast<float>(windowPixel) / scale);
    // A tiny window under a large logical area scales far; keep the result an int.
    if (!(std::fabs(logical) < static_cast<float>(kLogicalLimit))) {
        return logical < 0 ? -kLogicalLimit : kLogicalLimit;
    }
    return static_cast<int>(logical);
}

}  // namespace brv
