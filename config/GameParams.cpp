#include "config/GameParams.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <tuple>

#include "platform/Clock.h"

namespace brv {

namespace {

constexpr float kMinSpeed = 0.01f;

GameParams* g_current = nullptr;

bool readTextEntry(const PackFile& archive, const std::string& path, KeyValueFile& into) {
    DataBlob blob = archive.readEntry(path);
    std::error_code ec;
    const bool found =
        archive.contains(path) || std::filesystem::is_regular_file(archive.resolve(path), ec);
    into.loadFromMemory(blob.bytes(), blob.size, true);
    return found;
}

std::string describeTriple(const char* key, const int* triple) {
    char text[160];
    std::snprintf(text, sizeof text, "%s %d %d %d", key, triple[0], triple[1], triple[2]);
    return text;
}

// Counts below 1 would cut no cells: they count as 1, and the description is
// named as damaged, as is one that is missing or one with absurdly many cells.
void readAnimation(const PackFile& archive, const std::string& path, SpriteAnimation& into,
                   std::vector<std::string>& damage) {
    DataBlob description = archive.readEntry(path);
    into.readDescription(description.bytes(), description.size);
    if (description.empty()) {
        damage.push_back(path + ": missing or empty, so it shows one frame");
        return;
    }
    KeyValueFile counts;
    counts.loadFromMemory(description.bytes(), description.size, true);
    for (const char* key : {"groups", "frames"}) {
        const std::string value = counts.get(key, "1");
        if (toInt(value) < 1) {
            damage.push_back(path + ": " + key + " " + value + " counts as 1");
        } else if (toInt(value) > SpriteAnimation::kMaxCells) {
            damage.push_back(path + ": " + key + " " + value + " counts as " +
                             std::to_string(SpriteAnimation::kMaxCells));
        }
    }
}

std::string absoluteFolder(const std::string& dir) {
    std::error_code ec;
    std::string where = std::filesystem::absolute(dir, ec).lexically_normal().string();
    if (where.size() > 1 && where.back() == '/') {
        where.pop_back();  // "." normalises to "dir/"
    }
    return where;
}

// The file gives the demonstration time in ticks; it is kept in milliseconds.
// Saturates rather than overflowing on absurd values.
int scaleDemoTime(int ticks) {
    const long long ms = static_cast<long long>(ticks) * kTickMs;
    return static_cast<int>(std::clamp<long long>(ms, INT_MIN, INT_MAX));
}

}  // namespace

GameParams::GameParams(std::string baseDir)
    : GameParams(GameLocation{.dir = std::move(baseDir), .installed = false, .searched = {}}) {}

GameParams::GameParams(const GameLocation& location)
    : m_archive(location.dir),
      m_save_folder(location, SaveFolder::userDataDir()),
      m_base_dir(location.dir),
      m_searched(location.searched) {
    m_window_width = 800;
    m_window_height = 600;
    m_window_x = 0;
    m_window_y = 0;
    m_screen_width = 800;
    m_screen_height = 600;
    m_key_cancel = 27;
    m_key_confirm = 13;
    m_autosave = false;
    m_last_players_count = 0;
    m_last_difficult = 0;
    // Without an archive every read falls back to loose files.
    m_archive.open("data/data.pk");
    KeyValueFile rules;
    m_rules_found = readTextEntry(m_archive, "dat/param.txt", rules);
    m_layout_found = readTextEntry(m_archive, "mui/menu.txt", m_layout);
    readRules(rules);
    readAnimation(m_archive, "dat/flag.spr", m_flag_animation, m_data_damage);
    readAnimation(m_archive, "dat/life_src.spr", m_life_src_animation, m_data_damage);
    m_difficult = 0;
}

void GameParams::readRules(const KeyValueFile& rules) {
    auto get = [&rules](const char* key) { return rules.get(key, "0"); };
    m_dalpha = toFloat(get("m_dalpha"));
    m_time_before_demo = toInt(get("m_time_before_demo"));
    m_time_demo = scaleDemoTime(toInt(get("m_time_demo")));
    m_virus_size = toFloat(get("m_virus_size"));
    m_distance_beween_viruses = toFloat(get("m_distance_beween_viruses"));
    toIntArray(get("m_flag_per_count"), m_flag_per_count, 3);
    m_speed = toFloat(get("m_speed"));
    toIntArray(get("m_min_life_reserve"), m_min_life_reserve, 3);
    toIntArray(get("m_max_life_reserve"), m_max_life_reserve, 3);
    m_virus_visible = toInt(get("m_virus_visible"));
    toIntArray(get("m_viruses_on_start"), m_viruses_on_start, 3);
    m_life_src_visible = toInt(get("m_life_src_visible"));
    toIntArray(get("m_life_src_add_prob"), m_life_src_add_prob, 3);
    toIntArray(get("m_life_src_min_life_reserve"), m_life_src_min_life_reserve, 3);
    toIntArray(get("m_life_src_max_life_reserve"), m_life_src_max_life_reserve, 3);
    toIntArray(get("m_life_distribute"), m_life_distribute, 3);
    m_life_src_dist = toFloat(get("m_life_src_dist"));
    m_max_population = toInt(get("m_max_population"));
    toIntArray(get("m_max_virus_life"), m_max_virus_life, 3);
}

std::vector<std::string> GameParams::ruleProblems() const {
    std::vector<std::string> problems;
    char text[200];
    auto bad = [&](const std::string& what, const char* rule) {
        problems.push_back(what + " (" + rule + ")");
    };
    if (!(std::floor(m_distance_beween_viruses) >= 4.0f) ||
        !(m_distance_beween_viruses < 1000.0f)) {
        std::snprintf(text, sizeof text, "m_distance_beween_viruses %g",
                      static_cast<double>(m_distance_beween_viruses));
        bad(text, "its whole part must be at least 4 so the start squares lie inside the field");
    }
    // A move's step count is its length over the speed, and a speed near zero
    // overflows it (viruses would never arrive). A hundredth of a unit per
    // step keeps the longest move within a few million steps.
    if (!(m_speed >= kMinSpeed) || !std::isfinite(m_speed)) {
        std::snprintf(text, sizeof text, "m_speed %g", static_cast<double>(m_speed));
        bad(text, "must be at least 0.01");
    }
    if (m_virus_visible < 2 || m_virus_visible > 9) {
        bad("m_virus_visible " + std::to_string(m_virus_visible), "must lie from 2 to 9");
    }
    if (m_life_src_visible < 0 || m_life_src_visible > 53) {
        bad("m_life_src_visible " + std::to_string(m_life_src_visible), "must lie from 0 to 53");
    }
    for (int d = 0; d < 3; ++d) {
        if (m_max_life_reserve[d] <= m_min_life_reserve[d]) {
            bad(describeTriple("m_max_life_reserve", m_max_life_reserve) + " against " +
                    describeTriple("m_min_life_reserve", m_min_life_reserve),
                "each maximum must be greater than its minimum");
        }
        if (m_life_src_max_life_reserve[d] <= m_life_src_min_life_reserve[d]) {
            bad(describeTriple("m_life_src_max_life_reserve", m_life_src_max_life_reserve) +
                    " against " +
                    describeTriple("m_life_src_min_life_reserve", m_life_src_min_life_reserve),
                "each maximum must be greater than its minimum");
        }
        if (m_life_src_add_prob[d] < 1) {
            bad(describeTriple("m_life_src_add_prob", m_life_src_add_prob),
                "every value must be at least 1");
        }
        if (m_max_virus_life[d] < 0) {
            bad(describeTriple("m_max_virus_life", m_max_virus_life),
                "every value must be 0 (no bound) or a life above 0");
        }
        if (m_flag_per_count[d] < 1) {
            bad(describeTriple("m_flag_per_count", m_flag_per_count),
                "every value must be at least 1");
        }
        // Bounds that keep every life and reserve sum of a tick inside an int.
        auto outside = [](int value, int bound) { return value < -bound || value > bound; };
        constexpr int kLifeBound = 100000000;
        // Half the int range, so that a maximum less its minimum fits too.
        constexpr int kReserveBound = 500000000;
        constexpr int kDistributeBound = 100000;
        for (const auto& [key, triple, bound] :
             {std::tuple{"m_min_life_reserve", m_min_life_reserve, kLifeBound},
              std::tuple{"m_max_life_reserve", m_max_life_reserve, kLifeBound},
              std::tuple{"m_life_src_min_life_reserve", m_life_src_min_life_reserve, kReserveBound},
              std::tuple{"m_life_src_max_life_reserve", m_life_src_max_life_reserve, kReserveBound},
              std::tuple{"m_life_distribute", m_life_distribute, kDistributeBound}}) {
            if (outside(triple[d], bound)) {
                bad(describeTriple(key, triple),
                    ("every value must lie from -" + std::to_string(bound) + " to " +
                     std::to_string(bound))
                        .c_str());
            }
        }
    }
    // A triple is reported once even when several of its slots are bad.
    std::vector<std::string> unique;
    for (auto& p : problems) {
        bool seen = false;
        for (auto& u : unique) {
            seen = seen || u == p;
        }
        if (!seen) {
            unique.push_back(p);
        }
    }
    return unique;
}

std::vector<std::string> GameParams::startupProblems() const {
    std::vector<std::string> problems;
    const std::string where = absoluteFolder(m_base_dir);
    auto missing = [&](const char* path) {
        problems.push_back(std::string("\"") + path + "\" was found neither in the archive \"" +
                           where + "/data/data.pk\" nor as a loose file under \"" + where + "\"");
    };
    // A damaged archive is named before the files it no longer yields.
    if (!m_archive.damage().empty() && (!m_rules_found || !m_layout_found)) {
        problems.push_back("the archive \"" + where +
                           "/data/data.pk\" is damaged: " + m_archive.damage());
    }
    if (!m_rules_found) {
        missing("dat/param.txt");
    }
    if (!m_layout_found) {
        missing("mui/menu.txt");
    }
    if (!m_searched.empty()) {
        std::string folders;
        for (const std::string& dir : m_searched) {
            // The working folder may be the executable's folder too.
            std::string named = "\"";
            named += absoluteFolder(dir);
            named += '"';
            if (folders.find(named) != std::string::npos) {
                continue;
            }
            if (!folders.empty()) {
                folders += ", ";
            }
            folders += named;
        }
        problems.push_back("no data set (data/data.pk) was found in " + folders);
    }
    if (m_rules_found) {
        for (auto& p : ruleProblems()) {
            problems.push_back("dat/param.txt: " + p);
        }
    }
    return problems;
}

GameParams& gameParams() {
    if (g_current == nullptr) {
        static GameParams programParams{locateGame()};
        g_current = &programParams;
    }
    return *g_current;
}

GameParams* setGameParams(GameParams* params) {
    GameParams* previous = g_current;
    g_current = params;
    return previous;
}

}  // namespace brv
