#include "config/GameParams.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "platform/Clock.h"

namespace brv {

namespace {

bool readTextEntry(const PackFile& archive, const std::string& path, KeyValueFile& into) {
    DataBlob blob = archive.readEntry(path);
    std::error_code ec;
    const bool found =
        archive.contains(path) || std::filesystem::is_regular_file(archive.resolve(path), ec);
    into.loadFromMemory(blob.bytes(), blob.size, true);
    return found;
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

// A replay names the rules it was recorded under by these bytes.
void keepRuleFiles(const PackFile& archive, GameRules& rules) {
    for (std::size_t i = 0; i < GameRules::kRuleFiles.size(); ++i) {
        const DataBlob blob = archive.readEntry(GameRules::kRuleFiles[i]);
        rules.m_rule_files[i].assign(blob.bytes(), blob.bytes() + blob.size);
    }
}

}  // namespace

GameParams::GameParams(std::string baseDir)
    : GameParams(GameLocation{.dir = std::move(baseDir), .installed = false, .searched = {}}) {}

GameParams::GameParams(const GameLocation& location)
    : SaveFiles(location, SaveFolder::userDataDir()),
      m_archive(location.dir),
      m_base_dir(location.dir),
      m_searched(location.searched) {
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
    keepRuleFiles(m_archive, *this);
}

void GameParams::readRules(const KeyValueFile& rules) {
    GameRules::readRules(rules);
    m_time_before_demo = toInt(rules.get("m_time_before_demo", "0"));
    m_time_demo = scaleDemoTime(toInt(rules.get("m_time_demo", "0")));
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
