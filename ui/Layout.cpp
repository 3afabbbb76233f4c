#include "ui/Layout.h"

#include <algorithm>
#include <cmath>

#include "config/KeyValueFile.h"

namespace brv {

int layoutInt(const KeyValueFile& layout, const char* key) {
    return std::clamp(toInt(layout.get(key, "0")), -kLayoutLimit, kLayoutLimit);
}

float layoutFloat(const KeyValueFile& layout, const char* key) {
    const float value = toFloat(layout.get(key, "0"));
    if (std::isnan(value)) {
        return 0;
    }
    return std::clamp(value, -static_cast<float>(kLayoutLimit), static_cast<float>(kLayoutLimit));
}

}  // namespace brv
