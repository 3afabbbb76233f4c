#include "config/Preferences.h"

#include <cstdio>
#include <initializer_list>

#include "config/KeyValueFile.h"
#include "config/SaveFolder.h"

namespace brv {

namespace {

// Reads the file's values, keeping the default for a missing one and naming
// every damaged one, so a value that cannot be used never changes silently.
class ValueReader {
public:
    explicit ValueReader(const KeyValueFile& file) : file_(file) {}

    // The value when it is one of `allowed`, else the fallback.
    std::string choice(const char* key, std::initializer_list<const char*> allowed,
                       const char* fallback) {
        const std::string value = file_.get(key, fallback);
        for (const char* one : allowed) {
            if (value == one) {
                return value;
            }
        }
        damaged(key, value);
        return fallback;
    }

    // A whole number in decimal digits within [low, high], else the fallback.
    int number(const char* key, int low, int high, int fallback) {
        const std::string value = file_.get(key, std::to_string(fallback));
        const bool digits = !value.empty() && value.size() <= 9 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        const int number = digits ? toInt(value) : -1;
        if (number < low || number > high) {
            damaged(key, value);
            return fallback;
        }
        return number;
    }

    // "volume 1e30, speed 3": empty when every value could be used.
    const std::string& damage() const { return damage_; }

private:
    void damaged(const char* key, const std::string& value) {
        damage_ += (damage_.empty() ? "" : ", ") + std::string(key) + " \"" + value + "\"";
    }

    const KeyValueFile& file_;
    std::string damage_;
};

}  // namespace

bool Preferences::load(const SaveFolder& folder) {
    KeyValueFile file;
    const std::string path = folder.readPath(kFileName);
    ReadProblem why;
    if (!file.loadFromFile(path, true, nullptr, 0, &why)) {
        // A file there that cannot be read is no first run: it is named, and
        // the save at shutdown leaves it alone.
        if (why.unreadable()) {
            folder.reportUnreadable(path, why);
            firstRun = false;
        }
        return false;
    }
    firstRun = false;
    ValueReader read(file);
    muted = read.choice("mute", {"0", "1"}, "0") == "1";
    volume = read.number("volume", 0, 100, kDefaultVolume);
    colourBlindPalette =
        read.choice("palette", {"normal", "colour-blind"}, "normal") == "colour-blind";
    speed = toInt(read.choice("speed", {"1", "2", "4"}, "1"));
    alwaysShowFlagCount = read.choice("show_flag_count", {"0", "1"}, "0") == "1";
    coach = read.choice("coach", {"0", "1"}, "1") == "1";
    gamesWon = read.number("games_won", 0, 999999999, 0);
    if (!read.damage().empty()) {
        std::fprintf(stderr, "brevora: \"%s\": damaged values read as their defaults: %s\n",
                     path.c_str(), read.damage().c_str());
    }
    return true;
}

bool Preferences::save(SaveFolder& folder) const {
    KeyValueFile file;
    file.set("mute", muted ? "1" : "0");
    file.set("volume", std::to_string(volume));
    file.set("palette", colourBlindPalette ? "colour-blind" : "normal");
    file.set("speed", std::to_string(speed));
    file.set("show_flag_count", alwaysShowFlagCount ? "1" : "0");
    file.set("coach", coach ? "1" : "0");
    file.set("games_won", std::to_string(gamesWon));
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
