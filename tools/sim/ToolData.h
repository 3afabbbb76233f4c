#pragma once

#include <string>

namespace brv {

class GameParams;

// The shipped data set lies beside the tools: <exe dir>/../game.
std::string defaultDataDir(const char* argv0);

// Bad or missing rules stop a tool before any game: one line per problem on
// stderr, each headed by the tool's name. `dir` is the data folder looked in.
bool checkRules(const GameParams& params, const std::string& dir, const std::string& tool);

}  // namespace brv
