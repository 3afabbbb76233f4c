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

// The field as the rules lay it out (World): 200 × 150 cells; set-up puts
// the start cells near the corners of the 800 × 600 area, at (100, 80),
// (700, 80), (100, 520) and (700, 520) over the whole pitch, and seeds the
// square from 70 / pitch cells before each to one less after it.
constexpr int kFieldColumns = 200;
constexpr int kFieldRows = 150;
constexpr int kStartReach = 70;

// Cells to either side of a start cell that set-up seeds at whole pitch `a`.
int startReach(int a) {
    return kStartReach / a;
}

// Whether every start square at whole pitch `a` has cells and lies inside the
// field: otherwise a colony starts with no virus, or with viruses outside it.
bool startSquaresFit(int a) {
    if (a < 1 || startReach(a) < 1) {
        return false;
    }
    const int t = startReach(a);
    return 100 / a - t >= 0 && 80 / a - t >= 0 && 700 / a + t <= kFieldColumns &&
           520 / a + t <= kFieldRows;
}

// The whole pitch, or 0 for one that no cast can carry.
int wholePitch(float pitch) {
    return pitch >= 1.0f && pitch < static_cast<float>(kFieldColumns) ? static_cast<int>(pitch) : 0;
}

// The longest move a virus can make: across the field's diagonal, in the
// logical units the speed divides.
float longestMove(float pitch) {
    const float dx = static_cast<float>(kFieldColumns - 1) * pitch;
    const float dy = static_cast<float>(kFieldRows - 1) * pitch;
    return std::sqrt(dx * dx + dy * dy);
}

// The first float past the int range; a step count must stay below it.
constexpr float kIntRangeEnd = 2147483648.0f;

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

std::string floatText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// Each difficulty's start viruses: at least one, or the colony starts dead,
// and no more than the start square at the pitch holds, or the seeding
// passes run out of cells. Empty when all three fit.
std::string startVirusProblem(const int* triple, int pitch) {
    const int side = startSquaresFit(pitch) ? 2 * startReach(pitch) : 0;
    const int room = side > 0 ? side * side : INT_MAX;
    for (int d = 0; d < 3; ++d) {
        if (triple[d] < 1 || triple[d] > room) {
            return describeTriple("m_viruses_on_start", triple) +
                   (side > 0 ? " (every value must lie from 1 to " + std::to_string(room) +
                                   ", the cells of a start square at this pitch)"
                             : std::string(" (every value must be at least 1)"));
        }
    }
    return {};
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
    if (!m_archive.open("data/data.pk") && m_archive.openProblem().unreadable()) {
        // Loose files may still carry the game, but an archive that is there
        // and cannot be read is named rather than taken as absent.
        m_data_damage.push_back(archiveRefusal());
    }
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
    toIntArray(get("m_ai_flag_per_count"), m_ai_flag_per_count, 3);
    toIntArray(get("m_ai_think_ms"), m_ai_think_ms, 3);
    toIntArray(get("m_ai_attack_percent"), m_ai_attack_percent, 3);
}

std::vector<std::string> GameParams::ruleProblems() const {
    std::vector<std::string> problems;
    char text[200];
    auto bad = [&](const std::string& what, const char* rule) {
        problems.push_back(what + " (" + rule + ")");
    };
    const int pitch = wholePitch(m_distance_beween_viruses);
    if (!startSquaresFit(pitch)) {
        int low = 1;
        while (low < kFieldColumns && !startSquaresFit(low)) {
            ++low;
        }
        int high = low;
        while (high < kFieldColumns && startSquaresFit(high + 1)) {
            ++high;
        }
        std::snprintf(text, sizeof text,
                      "its whole part must lie from %d to %d so that every colony's start square "
                      "has cells and lies inside the field",
                      low, high);
        bad("m_distance_beween_viruses " + floatText(m_distance_beween_viruses), text);
    }
    // A move's step count is its length over the speed, kept in an int, and
    // no move is longer than the field's diagonal: a speed that keeps that
    // many steps in the int range keeps every move's. With a pitch no cast
    // can carry the length is unknown, and only a speed that cannot move is
    // named.
    if (!(m_speed > 0.0f) || !std::isfinite(m_speed)) {
        bad("m_speed " + floatText(m_speed), "must be above 0");
    } else if (pitch > 0 && !(longestMove(m_distance_beween_viruses) / m_speed < kIntRangeEnd)) {
        std::snprintf(text, sizeof text,
                      "must be at least about %.3g at this pitch, or a move across the field "
                      "takes more steps than an int counts",
                      static_cast<double>(longestMove(m_distance_beween_viruses) / kIntRangeEnd));
        bad("m_speed " + floatText(m_speed), text);
    }
    if (std::string problem = startVirusProblem(m_viruses_on_start, pitch); !problem.empty()) {
        problems.push_back(problem);
    }
    if (m_max_population < 1) {
        bad("m_max_population " + std::to_string(m_max_population),
            "must be at least 1, or every virus is born dead");
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
        for (const auto& [key, triple, most] :
             {std::tuple{"m_ai_flag_per_count", m_ai_flag_per_count, 100000},
              std::tuple{"m_ai_think_ms", m_ai_think_ms, 3600000},
              std::tuple{"m_ai_attack_percent", m_ai_attack_percent, 1000}}) {
            if (triple[d] < 0 || triple[d] > most) {
                bad(describeTriple(key, triple),
                    ("every value must be 0 (as designed) or lie from 1 to " + std::to_string(most))
                        .c_str());
            }
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

std::string GameParams::archiveRefusal() const {
    return "the archive \"" + absoluteFolder(m_base_dir) +
           "/data/data.pk\" cannot be read: " + m_archive.openProblem().text();
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
    if (m_archive.openProblem().unreadable() && (!m_rules_found || !m_layout_found)) {
        problems.push_back(archiveRefusal());
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

}  // namespace brv
