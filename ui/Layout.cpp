#include "ui/Layout.h"

#include <algorithm>
#include <cmath>

#include "config/GameParams.h"
#include "config/KeyValueFile.h"

namespace brv {

int layoutInt(const char* key) {
    return std::clamp(toInt(gameParams().m_layout.get(key, "0")), -kLayoutLimit, kLayoutLimit);
}

float layoutFloat(const char* key) {
    const float value = toFloat(gameParams().m_layout.get(key, "0"));
    if (std::isnan(value)) {
        return 0;
    }
    return std::clamp(value, -static_cast<float>(kLayoutLimit), static_cast<float>(kLayoutLimit));
}

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
