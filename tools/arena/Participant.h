#pragma once

#include <optional>
#include <string>

namespace brv {

// Who plays one colony of an arena game, as named on the command line:
// a computer level ("easy", "medium", "hard"), a reference player
// ("idle", "forager", "novice") or a bot program ("bot:NAME=COMMAND").
struct Participant {
    enum class Kind { Computer, Reference, Program };
    std::string name;  // as the tables and result lines show it
    Kind kind = Kind::Computer;
    int level = 0;        // a computer level: 0 Easy, 1 Medium, 2 Hard
    std::string command;  // a bot program's command line
};

// Nothing, with `why`, for a command-line word that names no participant.
std::optional<Participant> parseParticipant(const std::string& word, std::string& why);

// The difficulty a game between `a` and `b` plays at, which every rule
// triple follows: the harder of their computer levels, or `fallback` when
// neither is a computer level. A computer level's own colony plays as that
// level (Hard as the hard opponent, Easy and Medium as the plain one), and its
// hits on a steered colony are softened by the game's difficulty, as in a
// game against a person.
int gameDifficulty(const Participant& a, const Participant& b, int fallback);

}  // namespace brv
