// brevora-arena: ranks players over many headless two-colony games (round
// robin or gauntlet, shares merged later), or tests whether one is stronger
// than another by a margin (SPRT).
#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <limits>
#include <optional>
#include <thread>
#include <utility>

#include "bothost/CommandWords.h"
#include "config/GameParams.h"
#include "sim/Replay.h"
#include "tools/arena/Arena.h"
#include "tools/arena/ResultFile.h"
#include "tools/arena/Schedule.h"
#include "tools/arena/Standings.h"
#include "tools/sim/BotHostOptions.h"
#include "tools/sim/BotSeats.h"
#include "tools/sim/Match.h"
#include "tools/sim/StopSignals.h"
#include "tools/sim/ToolData.h"

namespace {

struct Settings {
    std::vector<std::string> participants;
    std::string gauntlet;
    std::uint32_t seed = 1000;
    int games = 10;
    int maxTicks = 120000;
    std::string difficulty = "medium";
    int jobs = 0;
    std::string shard;
    std::string results = "arena-results.jsonl";
    std::string replays = "arena-replays";
    std::vector<std::string> merge;
    std::vector<std::string> sprt;
    double elo0 = 0;
    double elo1 = 30;
    double alpha = 0.05;
    double beta = 0.05;
    std::string data;
    brv::BotHostSettings botHost;
};

std::optional<std::vector<brv::Participant>> parseField(const std::vector<std::string>& words) {
    std::vector<brv::Participant> field;
    for (const std::string& word : words) {
        std::string why;
        auto p = brv::parseParticipant(word, why);
        if (!p) {
            std::cerr << "brevora-arena: " << why << "\n";
            return std::nullopt;
        }
        if (p->kind == brv::Participant::Kind::Program &&
            !brv::splitCommandWords(p->command, why)) {
            std::cerr << "brevora-arena: \"" << word << "\": " << why << "\n";
            return std::nullopt;
        }
        // A program that cannot start would lose every game unplayed.
        if (p->kind == brv::Participant::Kind::Program && !brv::botCanStart(p->command, why)) {
            std::cerr << "brevora-arena: \"" << word << "\": the bot cannot start: " << why << "\n";
            return std::nullopt;
        }
        for (const brv::Participant& other : field) {
            if (other.name == p->name) {
                std::cerr << "brevora-arena: \"" << word << "\" is named twice\n";
                return std::nullopt;
            }
        }
        field.push_back(*p);
    }
    return field;
}

// "I/N" with 1 <= I <= N.
bool parseShard(const std::string& text, int& index, int& count) {
    char slash = 0;
    std::istringstream in(text);
    return static_cast<bool>(in >> index >> slash >> count) && in.peek() == EOF && slash == '/' &&
           count >= 1 && index >= 1 && index <= count;
}

int merge(const Settings& s) {
    std::vector<brv::ArenaResult> results;
    for (const std::string& file : s.merge) {
        std::string why;
        if (!brv::readResultFile(file, results, why)) {
            std::cerr << "brevora-arena: " << why << "\n";
            return 2;
        }
    }
    std::cout << brv::standingsTable(brv::standingsOf(results));
    return 0;
}

brv::ArenaRun baseRun(const Settings& s, std::vector<brv::Participant> field) {
    brv::ArenaRun run;
    run.field = std::move(field);
    run.rules.maxTicks = s.maxTicks;
    run.rules.difficulty = brv::difficultyFromName(s.difficulty);
    run.rules.replayDir = s.replays;
    run.rules.botHost = s.botHost;
    run.jobs =
        s.jobs > 0 ? s.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    run.resultsPath = s.results;
    return run;
}

// A failed run exits with 2; one a signal stopped with 128 plus the signal,
// as a shell reports a program the signal ended.
int failed(const brv::ArenaFailure& failure) {
    std::cerr << "brevora-arena: " << failure.why << "\n";
    return failure.stopSignal != 0 ? 128 + failure.stopSignal : 2;
}

int sprt(brv::GameParams& params, const Settings& s) {
    auto field = parseField(s.sprt);
    if (!field) {
        return 2;
    }
    brv::SprtRun test;
    test.run = baseRun(s, *field);
    test.test = brv::Sprt(s.elo0, s.elo1, s.alpha, s.beta);
    test.firstSeed = s.seed;
    test.maxSeeds = s.games;
    brv::ArenaFailure failure;
    const auto outcome = brv::playSprt(params, test, failure);
    if (!outcome) {
        return failed(failure);
    }
    const std::string& a = s.sprt[0];
    const std::string& b = s.sprt[1];
    switch (outcome->verdict) {
        case brv::Sprt::Verdict::H1:
            std::cout << "H1 accepted: " << a << " is stronger than " << b << " by " << s.elo1
                      << " Elo or more\n";
            break;
        case brv::Sprt::Verdict::H0:
            std::cout << "H0 accepted: " << a << " is not stronger than " << b << " by more than "
                      << s.elo0 << " Elo\n";
            break;
        case brv::Sprt::Verdict::Open:
            std::cout << "still open after " << 2 * s.games << " games (the most --games allows)\n";
            break;
    }
    std::cout << "LLR " << outcome->llr << " (bounds " << test.test.lower() << ", "
              << test.test.upper() << "), games " << outcome->tally.games() << ": " << a << " won "
              << outcome->tally.wins << ", lost " << outcome->tally.losses << ", "
              << outcome->tally.draws << " unfinished\n";
    return 0;
}

int tournament(brv::GameParams& params, const Settings& s) {
    auto field = parseField(s.participants);
    if (!field) {
        return 2;
    }
    int challenger = -1;
    for (std::size_t k = 0; k < field->size() && !s.gauntlet.empty(); ++k) {
        challenger = (*field)[k].name == s.gauntlet ? static_cast<int>(k) : challenger;
    }
    if (!s.gauntlet.empty() && challenger < 0) {
        std::cerr << "brevora-arena: --gauntlet \"" << s.gauntlet << "\" is not in the field\n";
        return 2;
    }
    const int n = static_cast<int>(field->size());
    brv::ArenaRun run = baseRun(s, *field);
    const long long pairings = challenger >= 0 ? n - 1 : static_cast<long long>(n) * (n - 1) / 2;
    if (2 * pairings * s.games > std::numeric_limits<int>::max()) {
        std::cerr << "brevora-arena: " << 2 * pairings * s.games
                  << " games are more than a tournament numbers; give fewer --games\n";
        return 2;
    }
    brv::Share share;
    if (!s.shard.empty() && !parseShard(s.shard, share.index, share.count)) {
        std::cerr << "brevora-arena: --shard \"" << s.shard << "\": give I/N, 1 <= I <= N\n";
        return 2;
    }
    run.games = challenger >= 0 ? brv::gauntlet(challenger, n, s.seed, s.games, share)
                                : brv::roundRobin(n, s.seed, s.games, share);
    brv::ArenaFailure failure;
    const auto results = brv::playTournament(params, run, failure);
    if (!results) {
        return failed(failure);
    }
    std::cout << brv::standingsTable(brv::standingsOf(*results));
    return 0;
}

int run(const Settings& s, const std::string& dataDir) {
    if (!s.merge.empty()) {
        return merge(s);
    }
    // From here a stop signal ends the run at a safe point rather than at once.
    const brv::StopSignals stopSignals;
    brv::GameParams params(dataDir);
    if (!brv::checkRules(params, dataDir, "brevora-arena")) {
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(s.replays, ec);
    if (ec) {
        std::cerr << "brevora-arena: cannot make the replay folder \"" << s.replays
                  << "\": " << ec.message() << "\n";
        return 2;
    }
    return s.sprt.empty() ? tournament(params, s) : sprt(params, s);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Ranks Brevora's players over many headless two-colony games"};
    Settings s;
    app.add_option("participants", s.participants,
                   "easy, medium, hard (computer levels), idle, forager, novice, newcomer "
                   "(reference players) or bot:NAME=COMMAND; two or more for a tournament");
    app.add_option("--gauntlet", s.gauntlet, "play this participant against each other one only");
    app.add_option("--seed", s.seed, "first seed (default 1000)");
    app.add_option("--games", s.games, "seeds; each pairing plays one game per colony per seed")
        ->check(CLI::Range(1, 10000000));
    app.add_option("--max-ticks", s.maxTicks,
                   "updates after which a game is unfinished (default 120000, an hour)")
        ->check(CLI::Range(1, brv::Replay::kMaxUpdates));
    app.add_option("--difficulty", s.difficulty,
                   "the game's difficulty when no computer level plays (else the harder level's)")
        ->check(CLI::IsMember({"easy", "medium", "hard"}));
    app.add_option("--jobs", s.jobs, "games at once (default: one per core)")
        ->check(CLI::Range(1, 256));
    app.add_option("--shard", s.shard, "play only the I-th of N shares of the schedule: I/N");
    app.add_option("--results", s.results, "the results file, one JSON line per game");
    app.add_option("--replays", s.replays, "the folder each game's replay is kept in");
    app.add_option("--merge", s.merge, "print the table of these results files together");
    app.add_option("--sprt", s.sprt, "A B: test whether A is stronger than B")->expected(2);
    app.add_option("--elo0", s.elo0, "H0 of --sprt: A stronger by this many Elo (default 0)");
    app.add_option("--elo1", s.elo1, "H1 of --sprt: A stronger by this many Elo (default 30)");
    app.add_option("--alpha", s.alpha, "--sprt's false positive rate")
        ->check(CLI::Range(1e-6, 0.5));
    app.add_option("--beta", s.beta, "--sprt's false negative rate")->check(CLI::Range(1e-6, 0.5));
    brv::addBotHostOptions(app, s.botHost);
    app.add_option("--data", s.data, "folder holding data/data.pk or loose data files");
    CLI11_PARSE(app, argc, argv);
    // A bound of "nan" or "inf" passes every range check and would leave the
    // test open for ever or decided by nothing.
    for (const auto& [option, value] :
         {std::pair{"--elo0", s.elo0}, std::pair{"--elo1", s.elo1}, std::pair{"--alpha", s.alpha},
          std::pair{"--beta", s.beta}}) {
        if (!std::isfinite(value)) {
            std::cerr << "brevora-arena: " << option << " " << value << " is not a finite number\n";
            return 2;
        }
    }
    if (s.merge.empty() && s.sprt.empty() && s.participants.size() < 2) {
        std::cerr << "brevora-arena: name two participants or more, or --sprt A B, or --merge\n";
        return 2;
    }
    return run(s, s.data.empty() ? brv::defaultDataDir(argv[0]) : s.data);
}
