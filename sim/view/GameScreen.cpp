#include "sim/view/GameScreen.h"

#include <algorithm>
#include <cstdio>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"
#include "sim/LifeSource.h"
#include "sim/PlayerClick.h"

namespace brv {

GameScreen::GameScreen(int colonies) {
    setUpGame(world(), std::clamp(colonies, kMinColonies, kMaxColonies), gameParams().m_difficult);
    Preferences& prefs = gameParams().m_preferences;
    if (prefs.firstRun) {
        // Once per run; the preferences file written at the end marks the
        // game as played.
        prefs.firstRun = false;
        showHint(kFirstRunHintMs);
    }
}

// Named in the colour the player's viruses are drawn in just now.
std::string GameScreen::hintText() const {
    const bool colourBlind = gameParams().m_preferences.colourBlindPalette;
    return std::string("You are ") + (colourBlind ? "orange" : "red") +
           ": a left click sets a flag, and your viruses go to the nearest one.";
}

Colony& GameScreen::player() const {
    return *world().colonies().front();
}

bool GameScreen::endReached() const {
    // The player may lose while two computer colonies fight on.
    return world().aliveColonyCount() <= 1 || player().virusCount() == 0;
}

void GameScreen::onClosingFinished() {
    score_ = player().killCounter();
}

void GameScreen::onTick(int elapsedMs) {
    const bool wasFinished = finished();
    markWorld();
    PlayScreen::onTick(elapsedMs);
    playTickSounds(wasFinished);
}

void GameScreen::markWorld() {
    sourcesBefore_.clear();
    for (const auto& source : world().lifeSources()) {
        sourcesBefore_.push_back(
            {source.get(), source->column(), source->row(), source->reserve()});
    }
    const auto& colonies = world().colonies();
    for (std::size_t k = 0; k < aliveBefore_.size(); ++k) {
        aliveBefore_[k] = k < colonies.size() && colonies[k]->virusCount() > 0;
    }
}

// One effect per tick at most: the end of the game says more than the last
// enemy wiped out, and a colony wiped out more than a new source.
void GameScreen::playTickSounds(bool wasFinished) {
    if (wasFinished) {
        return;  // the world runs on quietly through the end delay
    }
    if (finished()) {
        soundSet().play(player().virusCount() == 0 ? Sound::PlayerLost : Sound::GameWon);
        return;
    }
    const auto& colonies = world().colonies();
    for (std::size_t k = 0; k < colonies.size() && k < aliveBefore_.size(); ++k) {
        if (aliveBefore_[k] && colonies[k]->virusCount() == 0) {
            soundSet().play(Sound::ColonyWiped);
            return;
        }
    }
    if (sourceAppeared()) {
        soundSet().play(Sound::SourceAppears);
    }
}

bool GameScreen::sourceAppeared() const {
    for (const auto& source : world().lifeSources()) {
        const bool known =
            std::any_of(sourcesBefore_.begin(), sourcesBefore_.end(), [&](const SourceMark& mark) {
                return mark.source == source.get() && mark.column == source->column() &&
                       mark.row == source->row() && mark.reserve >= source->reserve();
            });
        if (!known) {
            return true;
        }
    }
    return false;
}

void GameScreen::onLButtonDown(int x, int y, int flags) {
    View::onLButtonDown(x, y, flags);
    if (inputPaused() || paused()) {
        return;
    }
    const ClickResult result = playerClick(player(), x, y);
    if (result == ClickResult::FlagRemoved) {
        noteInput(Replay::Input::FlagRemoved, x, y);
        soundSet().play(Sound::FlagRemoved);
        return;
    }
    noteInput(Replay::Input::FlagSet, x, y);
    if (result == ClickResult::FlagSet) {
        soundSet().play(Sound::FlagSet);
    }
}

void GameScreen::onRButtonUp(int x, int y, int flags) {
    View::onRButtonUp(x, y, flags);
    if (!inputPaused() && !paused() && player().removeFlagNear(x, y)) {
        noteInput(Replay::Input::FlagRemoved, x, y);
        soundSet().play(Sound::FlagRemoved);
    }
}

// Only what reaches the rules is recorded: a flag set (even at the limit,
// where it changes nothing) or one removed, with the updates played so far.
void GameScreen::noteInput(Replay::Input input, int x, int y) {
    if (record_) {
        record_->noteInput(worldUpdates(), input, x, y);
    }
}

void GameScreen::onWorldUpdated() {
    if (record_) {
        record_->noteUpdate(worldUpdates(), world());
    }
}

GameScreen::~GameScreen() {
    if (!record_) {
        return;
    }
    record_->finish(worldUpdates(), world());
    GameParams& params = gameParams();
    if (record_->save(params.m_save_folder).empty() && !params.m_save_folder.dir().empty()) {
        std::fprintf(stderr, "brevora: the replay of this game could not be saved in \"%s/%s\"\n",
                     params.m_save_folder.shownDir().c_str(), Replay::kFolder);
    }
}

}  // namespace brv
