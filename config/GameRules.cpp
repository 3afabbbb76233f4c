#include "config/GameRules.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

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

// The most each strictly read key allows; 0 is their designed rule.
int strictRuleMost(const std::string& key) {
    return key == "m_ai_flag_per_count"   ? 100000
           : key == "m_ai_think_ms"       ? 3600000
           : key == "m_ai_attack_percent" ? 1000
                                          : INT_MAX;
}

// What a strictly read key's values must be.
std::string strictRule(const std::string& key) {
    if (key == "m_max_virus_life") {
        return "every value must be 0 (no bound) or a life from 1 to " +
               std::to_string(strictRuleMost(key));
    }
    return "every value must be 0 (as designed) or lie from 1 to " +
           std::to_string(strictRuleMost(key));
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

// Reads a triple of whole numbers in decimal digits, each inside the int
// range, into `slots` (a slot without a piece keeps its contents). Any other
// piece (a fraction, an exponent, hexadecimal, a leading zero that the other
// keys read as octal, a word, a number past the int range, a fourth value)
// makes the whole triple unreadable: false, and every slot 0, the designed
// rule.
bool readWholeTriple(const std::string& text, int* slots) {
    int read[3] = {slots[0], slots[1], slots[2]};
    std::size_t pos = 0;
    for (int slot = 0; pos < text.size(); ++slot) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        const std::string piece = text.substr(pos, end - pos);
        pos = end + 1;
        if (piece.empty()) {
            --slot;  // a run of spaces separates like one
            continue;
        }
        const std::size_t digits = piece[0] == '-' ? 1 : 0;
        long long value = 0;
        bool whole = slot < 3 && piece.size() > digits && piece.size() - digits <= 10 &&
                     (piece[digits] != '0' || piece.size() == digits + 1);
        for (std::size_t i = digits; whole && i < piece.size(); ++i) {
            whole = piece[i] >= '0' && piece[i] <= '9';
            value = value * 10 + (piece[i] - '0');
        }
        value = digits == 1 ? -value : value;
        if (!whole || value < INT_MIN || value > INT_MAX) {
            slots[0] = slots[1] = slots[2] = 0;
            return false;
        }
        read[slot] = static_cast<int>(value);
    }
    std::copy(read, read + 3, slots);
    return true;
}

}  // namespace

void GameRules::readRules(const KeyValueFile& rules) {
    auto get = [&rules](const char* key) { return rules.get(key, "0"); };
    m_dalpha = toFloat(get("m_dalpha"));
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
    // The life bound and the handicaps are read strictly: a value read by its
    // leading digits ("1.9" as 1, "lots" as 0) would change the game without
    // a word, so an unreadable one is kept for ruleProblems to name.
    unreadable_.clear();
    for (const auto& [key, triple] : {std::pair{"m_max_virus_life", m_max_virus_life},
                                      std::pair{"m_ai_flag_per_count", m_ai_flag_per_count},
                                      std::pair{"m_ai_think_ms", m_ai_think_ms},
                                      std::pair{"m_ai_attack_percent", m_ai_attack_percent}}) {
        if (const std::string text = get(key); !readWholeTriple(text, triple)) {
            unreadable_.emplace_back(key, text);
        }
    }
}

std::vector<std::string> GameRules::ruleProblems() const {
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
        for (const auto& [key, triple] : {std::pair{"m_ai_flag_per_count", m_ai_flag_per_count},
                                          std::pair{"m_ai_think_ms", m_ai_think_ms},
                                          std::pair{"m_ai_attack_percent", m_ai_attack_percent},
                                          std::pair{"m_max_virus_life", m_max_virus_life}}) {
            if (triple[d] < 0 || triple[d] > strictRuleMost(key)) {
                bad(describeTriple(key, triple), strictRule(key).c_str());
            }
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
    for (const auto& [key, text] : unreadable_) {
        // Cut so that a damaged file's one huge value does not fill the screen.
        bad(key + " " + text.substr(0, 60), (strictRule(key) + ", in decimal digits").c_str());
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

}  // namespace brv
