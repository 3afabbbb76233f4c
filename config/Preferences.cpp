#include "config/Preferences.h"

#include <algorithm>

#include "config/KeyValueFile.h"
#include "config/SaveFolder.h"

namespace brv {

namespace {

// A value that is not one of the expected ones keeps the default.
bool readFlag(const KeyValueFile& file, const char* key, bool fallback) {
    const std::string value = file.get(key, "");
    return value == "1" ? true : value == "0" ? false : fallback;
}

bool isSpeed(int speed) {
    return std::find(std::begin(Preferences::kSpeeds), std::end(Preferences::kSpeeds), speed) !=
           std::end(Preferences::kSpeeds);
}

}  // namespace

bool Preferences::load(const SaveFolder& folder) {
    KeyValueFile file;
    if (!file.loadFromFile(folder.readPath(kFileName), true)) {
        return false;
    }
    firstRun = false;
    muted = readFlag(file, "mute", false);
    const std::string volumeText = file.get("volume", "");
    const int storedVolume = toInt(volumeText);
    volume = !volumeText.empty() && storedVolume >= 0 && storedVolume <= 100 ? storedVolume
                                                                             : kDefaultVolume;
    colourBlindPalette = file.get("palette", "") == "colour-blind";
    const int storedSpeed = toInt(file.get("speed", "1"));
    speed = isSpeed(storedSpeed) ? storedSpeed : 1;
    alwaysShowFlagCount = readFlag(file, "show_flag_count", false);
    return true;
}

bool Preferences::save(SaveFolder& folder) const {
    KeyValueFile file;
    file.set("mute", muted ? "1" : "0");
    file.set("volume", std::to_string(volume));
    file.set("palette", colourBlindPalette ? "colour-blind" : "normal");
    file.set("speed", std::to_string(speed));
    file.set("show_flag_count", alwaysShowFlagCount ? "1" : "0");
    return folder.save(kFileName,
                       [&file](const std::string& path) { return file.saveToFile(path); });
}

int Preferences::fasterThan(int speed) {
    return speed >= 2 ? 4 : 2;
}

int Preferences::slowerThan(int speed) {
    return speed <= 2 ? 1 : 2;
}

}  // namespace brv
