#include "tools/arena/Participant.h"

#include <algorithm>

#include "tools/sim/Match.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

namespace {

// A bot's name shows in tables and replay file names: letters, digits, '-'
// and '_' only, and short.
bool plainName(const std::string& name) {
    constexpr std::size_t kMaxName = 32;
    return !name.empty() && name.size() <= kMaxName &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_';
           });
}

std::optional<Participant> parseProgram(const std::string& word, std::string& why) {
    const auto equals = word.find('=');
    Participant bot;
    bot.kind = Participant::Kind::Program;
    bot.name = word.substr(0, equals);
    bot.command = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (!plainName(bot.name.substr(4)) || bot.command.empty()) {
        why = "\"" + word + "\": give bot:NAME=COMMAND, NAME of letters, digits, - and _";
        return std::nullopt;
    }
    return bot;
}

}  // namespace

std::optional<Participant> parseParticipant(const std::string& word, std::string& why) {
    if (word.rfind("bot:", 0) == 0) {
        return parseProgram(word, why);
    }
    Participant p;
    p.name = word;
    if (const int level = difficultyFromName(word); level >= 0) {
        p.level = level;
        return p;
    }
    const auto& reference = playerBotNames();
    if (std::find(reference.begin(), reference.end(), word) != reference.end()) {
        p.kind = Participant::Kind::Reference;
        return p;
    }
    why = "\"" + word +
          "\" is no participant: easy, medium, hard, idle, forager, novice, newcomer or " +
          "bot:NAME=COMMAND";
    return std::nullopt;
}

int gameDifficulty(const Participant& a, const Participant& b, int fallback) {
    const int levelA = a.kind == Participant::Kind::Computer ? a.level : -1;
    const int levelB = b.kind == Participant::Kind::Computer ? b.level : -1;
    const int harder = std::max(levelA, levelB);
    return harder >= 0 ? harder : fallback;
}

}  // namespace brv
