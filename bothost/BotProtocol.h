#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brv {

class World;

// The messages between the game and a bot program, one JSON object per line
// (written down in docs/bots.md). The game sends a greeting, then a state at
// every decision point and an end; the bot answers each state.
constexpr int kBotProtocolVersion = 1;

// How the game hosts its bots: a decision point every `decisionEvery` world
// updates, and a time bank of wall-clock time that starts at `bankStartMs`
// and grows by `bankIncrementMs` at each decision. Settings of the host, not
// rules of the game: the same game plays the same with any of them.
struct BotHostSettings {
    int decisionEvery = 10;
    int bankStartMs = 3000;
    int bankIncrementMs = 100;
};

// One action of an answer: a left click ("set": removes a flag within reach
// or else sets one, as a player's click) or a right click ("remove": only
// removes one), at a logical position of the field.
struct BotAction {
    bool set = true;
    int x = 0;
    int y = 0;
};

struct BotAnswer {
    long long decision = 0;
    std::vector<BotAction> actions;
};

// What a player-kind colony is in the greeting: "bot" for those in
// `botColonies`, "player" for the others, "computer" for the computer's.
std::string botGreetingLine(const World& world, int colony, const std::vector<int>& botColonies,
                            const BotHostSettings& host);
std::string botStateLine(const World& world, int decision, int update);
// The game's end as the bot is told before it is ended: the update, whether
// the game finished, the surviving colony (-1 for none) and why the bot was
// stopped early (empty when it steered to the end).
std::string botEndLine(int update, bool finished, int winner, const std::string& stopped);

// A bot's answer, read only after the line's length was bounded. Nothing,
// with `why`, when it is not an object of the protocol, a field has the
// wrong type, or a position lies outside the field.
std::optional<BotAnswer> parseBotAnswer(std::string_view line, const World& world,
                                        std::string& why);

}  // namespace brv
