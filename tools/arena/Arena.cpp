#include "tools/arena/Arena.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "tools/arena/Schedule.h"
#include "tools/sim/ProcessPool.h"
#include "tools/sim/StopSignals.h"

namespace brv {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The results go to a regular file only: opened without waiting (a FIFO
// with no reader would block the arena for good), checked, then emptied.
File openResults(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat info = {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        why = "the results file \"" + path + "\" is there and is not a regular file";
        return nullptr;
    }
    File file(fd >= 0 && ::ftruncate(fd, 0) == 0 ? ::fdopen(fd, "wb") : nullptr);
    if (!file) {
        if (fd >= 0) {
            ::close(fd);
        }
        why = "cannot write the results file \"" + path + "\"";
    }
    return file;
}

bool appendLine(std::FILE* file, const ArenaResult& result) {
    const std::string line = toJsonLine(result) + "\n";
    return std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fflush(file) == 0;
}

using ResultSink = std::function<bool(const ArenaResult&)>;

// Plays `games` in processes, handing each result to `sink` as its game
// ends; all results in the order of `games`, or nothing with `failure`.
std::optional<std::vector<ArenaResult>> playGames(GameParams& params, const ArenaRun& run,
                                                  const std::vector<ArenaGame>& games,
                                                  const ResultSink& sink, ArenaFailure& failure) {
    std::vector<std::optional<ArenaResult>> results(games.size());
    bool sunk = true;
    const ProcessRun played = runInProcesses(
        games.size(), run.jobs,
        [&](std::size_t i) {
            return toJsonLine(playArenaGame(params, run.field, games[i], run.rules));
        },
        [&](std::size_t i, const std::string& line) {
            std::string unused;
            results[i] = arenaResultFromLine(line, unused);
            sunk = results[i] && sink(*results[i]) && sunk;
        });
    if (!sunk) {
        failure.why = "cannot write the results file \"" + run.resultsPath + "\"";
        return std::nullopt;
    }
    failure.stopSignal = played.stopSignal;
    std::vector<ArenaResult> list;
    for (const auto& result : results) {
        if (!played.ok || !result) {
            failure.why = played.why.empty() ? "a game's process failed" : played.why;
            return std::nullopt;
        }
        list.push_back(*result);
    }
    return list;
}

// What a stopped run says: how many games were finished, each whole in the
// results file.
std::string stopMessage(int signal, long long finished, const std::string& resultsPath) {
    return std::string("stopped by ") + StopSignals::name(signal) + " after " +
           std::to_string(finished) + (finished == 1 ? " finished game" : " finished games") +
           ", kept in \"" + resultsPath + "\"";
}

// A's points in one game: the colony it played is its seat in the schedule.
void count(const ArenaGame& game, const ArenaResult& result, GameTally& tally) {
    const int a = game.seats[0] == 0 ? 0 : 1;
    if (result.winner == a) {
        ++tally.wins;
    } else if (result.winner == 1 - a) {
        ++tally.losses;
    } else {
        ++tally.draws;
    }
}

}  // namespace

std::optional<std::vector<ArenaResult>> playTournament(GameParams& params, const ArenaRun& run,
                                                       ArenaFailure& failure) {
    File file = openResults(run.resultsPath, failure.why);
    if (!file) {
        return std::nullopt;
    }
    long long written = 0;
    const auto keep = [&](const ArenaResult& r) {
        const bool kept = appendLine(file.get(), r);
        written += kept ? 1 : 0;
        return kept;
    };
    auto results = playGames(params, run, run.games, keep, failure);
    if (failure.stopSignal != 0) {
        failure.why = stopMessage(failure.stopSignal, written, run.resultsPath);
    }
    return results;
}

std::optional<SprtOutcome> playSprt(GameParams& params, const SprtRun& sprt,
                                    ArenaFailure& failure) {
    File file = openResults(sprt.run.resultsPath, failure.why);
    if (!file) {
        return std::nullopt;
    }
    SprtOutcome outcome;
    const int pairsPerBatch = std::max(1, (sprt.run.jobs + 1) / 2);
    for (int seed = 0; seed < sprt.maxSeeds && outcome.verdict == Sprt::Verdict::Open;) {
        const int pairs = std::min(pairsPerBatch, sprt.maxSeeds - seed);
        auto batch = roundRobin(2, sprt.firstSeed + static_cast<std::uint32_t>(seed), pairs);
        for (ArenaGame& game : batch) {
            game.id += 2 * seed;
        }
        const auto results = playGames(
            params, sprt.run, batch, [](const ArenaResult&) { return true; }, failure);
        if (failure.stopSignal != 0) {
            failure.why =
                stopMessage(failure.stopSignal, outcome.tally.games(), sprt.run.resultsPath);
        }
        if (!results) {
            return std::nullopt;
        }
        for (std::size_t g = 0; g < batch.size() && outcome.verdict == Sprt::Verdict::Open; ++g) {
            count(batch[g], (*results)[g], outcome.tally);
            if (!appendLine(file.get(), (*results)[g])) {
                failure.why = "cannot write the results file \"" + sprt.run.resultsPath + "\"";
                return std::nullopt;
            }
            // The test looks after whole pairs, both colonies played.
            if (g % 2 == 1) {
                outcome.llr = sprt.test.llr(outcome.tally);
                outcome.verdict = sprt.test.verdict(outcome.tally);
            }
        }
        seed += pairs;
    }
    return outcome;
}

}  // namespace brv
