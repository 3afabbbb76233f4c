#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace brv {

class RulesState;
class GameRules;
class World;
struct ReplayOutcome;

// A game as it can be played again to the last virus: where the rules state
// (generator, column parity, influence tick) stood when it began, its colonies and
// difficulty, every flag the player set or removed (after how many world
// updates, at which logical position), the player's resignation, the world's
// checksum every 100 updates, and the last update with its checksum. Stored
// as text, one line each, easy to read and diff:
//   brevora-replay 1
//   rules 0123456789abcdef
//   start <generator> <column parity> <influence tick>
//   game <colonies> <difficulty>
//   set <update> <x> <y>       removed <update> <x> <y>
//   resign <update>
//   check <update> <checksum>
//   end <update> <checksum>
// A game whose steered colonies are not just colony 0 (bots may steer any)
// is written as format 2: a line `steered <colony>...` after `game` names the
// player-kind colonies, and each click names its colony at the end (`set
// <update> <x> <y> <colony>`) unless that is 0. So is a game whose
// computer colonies are not all of the difficulty's kind (Hard against Easy):
// a line `kinds <kind>...` after `steered` gives each colony's kind (0 Easy,
// 1 Medium, 2 Hard; a steered colony's is unused). A format 2 record without
// it plays every computer colony as the difficulty. Format 1 records, which
// have none of these, read and play exactly as before.
// The record and its text are pure: ReplayFiles (records/) reads and saves
// the files, and sim/ReplayCheck.h sets a record's game up and checks it.
struct Replay {
    static constexpr int kVersion = 1;
    static constexpr int kSteeredVersion = 2;
    static constexpr int kCheckEvery = 100;
    // The longest game a record may hold, and so the most updates a replay
    // may ask to be played: six hours of game time, six times the hour after
    // which the balance runs count a game as unfinished. A recording ends
    // here; a record asking for more is refused before anything is played.
    static constexpr int kMaxUpdates = 6 * 60 * 60 * 1000 / kTickMs;
    // The longest line the game writes is 30 characters ("removed 720000
    // -100000 -100000"); the bound leaves room for spacing added by hand and
    // is checked before a line is split into words.
    static constexpr std::size_t kMaxLineBytes = 80;

    // A resignation changes nothing in the world (it only ends the game), so
    // records without one, made before it existed, read and play the same.
    enum class Input { FlagSet, FlagRemoved, Resigned };
    struct Event {
        int update = 0;
        Input input = Input::FlagSet;
        int x = 0;
        int y = 0;
        int colony = 0;  // the steered colony that clicked
    };
    struct Check {
        int update = 0;
        std::string checksum;
    };

    std::string rules;
    std::uint32_t generator = 0;
    int columnParity = 0;
    int influenceTick = 0;
    int colonies = 2;
    int difficulty = 0;
    // The player-kind colonies, ascending; all others are the computer's.
    std::vector<int> steered = {0};
    // Each colony's computer kind when they differ; empty: all the
    // difficulty's.
    std::vector<int> kinds;
    std::vector<Event> events;
    std::vector<Check> checks;
    int endUpdate = 0;
    std::string endChecksum;

    // The start of a game about to be built on `params` and `state`: the
    // generator and counters as they stand now.
    static Replay beginning(const GameRules& params, const RulesState& state, int colonies,
                            int difficulty);
    // After each world update: a checkpoint every kCheckEvery updates. At
    // kMaxUpdates the record ends; what follows is no longer noted.
    void noteUpdate(int update, const World& world);
    // A player's input after `update` world updates; none past kMaxUpdates.
    void noteInput(int update, Input input, int x, int y, int colony = 0);
    // The update after which the player resigned; -1 when the game was not
    // resigned.
    int resignedAt() const;
    void finish(int update, const World& world);

    std::string toText() const;
    // A whole record, or nothing with `why` naming the line and what is
    // wrong: a damaged, cut or foreign file is never played half.
    static std::optional<Replay> parse(std::string_view text, std::string& why);
    // Why the record cannot be played on `params` (it was made with other
    // rules); empty when it can.
    std::string rulesRefusal(const GameRules& params) const;

    // The verdict on a replayed game: it left the record at its first
    // differing checkpoint (-1 for none), or it ended on `endChecksum`.
    ReplayOutcome verdict(int firstDifference, const std::string& endChecksum) const;
};

// The hash of the rules a game plays by: the rule file and the two sprite
// descriptions (their frame counts take part in the draws) as they were
// loaded, as 16 hex digits.
std::string rulesHash(const GameRules& params);

}  // namespace brv
