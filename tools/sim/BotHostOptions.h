#pragma once

#include <CLI/CLI.hpp>

#include "bothost/BotProtocol.h"

namespace brv {

// The options every runner of bot games offers for how it hosts them: the
// decision interval and the time bank.
inline void addBotHostOptions(CLI::App& app, BotHostSettings& host) {
    app.add_option("--bot-every", host.decisionEvery, "world updates between bot decisions")
        ->check(CLI::Range(1, 100000));
    app.add_option("--bot-bank", host.bankStartMs, "a bot's time bank at the start, in ms")
        ->check(CLI::Range(0, 3600000));
    app.add_option("--bot-increment", host.bankIncrementMs,
                   "what a bot's time bank gains at each decision, in ms")
        ->check(CLI::Range(0, 600000));
}

}  // namespace brv
