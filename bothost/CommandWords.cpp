#include "bothost/CommandWords.h"

namespace brv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::optional<std::vector<std::string>> splitCommandWords(std::string_view command,
                                                          std::string& why) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // "" is a word of its own, so quotes start one too
    char quote = 0;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        const bool escapes = c == '\\' && quote != '\'';
        if (escapes) {
            if (i + 1 == command.size()) {
                why = "the command ends in a backslash";
                return std::nullopt;
            }
            const char next = command[i + 1];
            // Inside double quotes a backslash keeps its meaning only before
            // the characters a shell lets it escape there.
            if (quote == '"' && std::string_view("\\\"$`").find(next) == std::string_view::npos) {
                word += c;
            }
            word += next;
            ++i;
            inWord = true;
        } else if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (isBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0) {
        why = std::string("the command has an unterminated ") +
              (quote == '"' ? "double" : "single") + " quote";
        return std::nullopt;
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    if (words.empty()) {
        why = "the command names no program";
        return std::nullopt;
    }
    return words;
}

}  // namespace brv
