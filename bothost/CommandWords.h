#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brv {

// Splits a bot's command into the words of its program and arguments as a
// shell splits them: at unquoted whitespace, with 'single quotes' taken
// literally, "double quotes" in which a backslash escapes only \ " $ and `,
// and a backslash outside quotes escaping any character. Nothing else of a
// shell applies (no variables, globs or pipes): the words are run as they
// are. Nothing, with `why`, for an unterminated quote, a trailing backslash
// or a command without words.
std::optional<std::vector<std::string>> splitCommandWords(std::string_view command,
                                                          std::string& why);

}  // namespace brv
