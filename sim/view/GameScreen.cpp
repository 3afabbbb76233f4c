#include "sim/view/GameScreen.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/window/GlWindow.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/StretchedPicture.h"
#include "platform/Clock.h"
#include "platform/FileIo.h"
#include "platform/LaunchHooks.h"
#include "records/ReplayFiles.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"
#include "sim/LifeSource.h"
#include "sim/MouseSteering.h"
#include "sim/ReplayCheck.h"

namespace brv {

namespace {

// For the scenarios: the file BREVORA_COACH_LOG names, opened once for the
// whole session and written line by line, so that a script can follow the
// coach as the game plays; null when it is not set or cannot be written.
std::FILE* coachLog() {
    static std::FILE* log = openLineLog(readLaunchHooks().coachLogPath);
    return log;
}

}  // namespace

GameScreen::GameScreen(GameContext& context, RulesState& rules, int colonies, int difficulty)
    : PlayScreen(context, context.params, rules, difficulty),
      coach_(context.params.m_preferences.coaching()) {
    setUpGame(world(), std::clamp(colonies, kMinColonies, kMaxColonies), difficulty);
    coach_.begin(world());
    mouse_ = &steerings_.add(std::make_unique<MouseSteering>(0));
    steerings_.onClick([this](const SteeringClick& click) { heardClick(click); });
}

void GameScreen::record(Replay start) {
    record_ = std::move(start);
    steerings_.recordInto(&*record_);
}

void GameScreen::steerBy(std::unique_ptr<Steering> steering) {
    mouse_ = nullptr;
    coach_ = Coach(false);
    steerings_.add(std::move(steering));
}

// The coach's line, naming the colour the player's viruses are drawn in just
// now; with a bot, why it stopped steering, if it did.
PlayScreen::FieldLine GameScreen::fieldLine() const {
    if (mouse_ == nullptr) {
        const Steering* steering = steerings_.of(0);
        return {steering != nullptr ? steering->stopped() : std::string(), 1.0f};
    }
    const auto line = coach_.current();
    if (!line) {
        return {};
    }
    return {Coach::text(*line, context_.params.m_preferences.colourBlindPalette), coach_.opacity()};
}

Colony& GameScreen::player() const {
    return *world().colonies().front();
}

bool GameScreen::endReached() const {
    return resigned_ || gameEnded(world());
}

// A win is the player's colony left alone; when it died in the same update
// as the last enemy, nobody is left and the player lost.
void GameScreen::onEndReached() {
    endUpdate_ = worldUpdates();
    if (resigned_) {
        ending_ = Ending::Resigned;
    } else if (player().virusCount() > 0) {
        ending_ = Ending::Won;
        // The first game won ends the coaching of the games after it.
        GameParams& params = context_.params;
        ++params.m_preferences.gamesWon;
        params.m_preferences.save(params.m_save_folder);
    } else {
        ending_ = Ending::WipedOut;
    }
    finishSteerings(true);
}

void GameScreen::finishSteerings(bool finished) {
    int winner = -1;
    const auto& colonies = world().colonies();
    for (std::size_t k = 0; finished && world().aliveColonyCount() == 1 && k < colonies.size();
         ++k) {
        if (colonies[k]->virusCount() > 0) {
            winner = static_cast<int>(k);
        }
    }
    steerings_.finish(worldUpdates(), finished, winner);
}

long long GameScreen::endMs() const {
    return static_cast<long long>(endUpdate_) * kTickMs;
}

std::string GameScreen::pausedText() const {
    return askResign_ && !finished() ? "P plays on, Q resigns this game" : "";
}

// Only a game still running can be resigned, and only one question is open.
void GameScreen::onKeyDown(int virtualKey) {
    GlWindow* window = context_.window;
    if (virtualKey == kResignKey && askResign_ && !finished() && !resigned_ &&
        question_ == nullptr && window != nullptr) {
        std::unique_ptr<View> question = askResign_();
        question_ = question.get();
        window->pushDialog(std::move(question));
    }
    PlayScreen::onKeyDown(virtualKey);
}

// The resignation counts from the update the screen stood still on; the next
// one ends the game. A game resigned while paused runs again, so that it
// ends at once and plays out its end delay instead of waiting for P.
void GameScreen::onDialogClosed(int result, std::unique_ptr<View> dialog) {
    if (dialog == nullptr || dialog.get() != question_) {
        return;
    }
    question_ = nullptr;
    if (result == kResultConfirmed && !finished()) {
        resigned_ = true;
        setPaused(false);
        if (record_) {
            record_->noteInput(worldUpdates(), Replay::Input::Resigned, 0, 0);
        }
    }
}

// The window drops an open question unanswered as it closes.
void GameScreen::onCloseRequest() {
    question_ = nullptr;
    PlayScreen::onCloseRequest();
}

void GameScreen::onClosingFinished() {
    score_ = player().killCounter();
}

void GameScreen::onTick(int elapsedMs) {
    const bool wasFinished = finished();
    markWorld();
    PlayScreen::onTick(elapsedMs);
    playTickSounds(wasFinished);
    if (!paused()) {
        coach_.advance(elapsedMs);
    }
    logCoachLine();
    // Said even while paused: it answers a click made then.
    if (clickNoteMs_ > 0) {
        clickNoteMs_ -= elapsedMs;
        if (clickNoteMs_ <= 0) {
            clickNote_.clear();
        }
    }
}

// What the coach shows once the tick is over is what the frame draws.
void GameScreen::logCoachLine() {
    std::FILE* log = coachLog();
    const auto line = coach_.current();
    if (log == nullptr || line == loggedLine_) {
        return;
    }
    loggedLine_ = line;
    const char* words =
        line ? Coach::text(*line, context_.params.m_preferences.colourBlindPalette) : "-";
    std::fprintf(log, "%d %s\n", worldUpdates(), words);
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
        context_.sounds.play(ending_ == Ending::Won ? Sound::GameWon : Sound::PlayerLost);
        return;
    }
    const auto& colonies = world().colonies();
    for (std::size_t k = 0; k < colonies.size() && k < aliveBefore_.size(); ++k) {
        if (aliveBefore_[k] && colonies[k]->virusCount() == 0) {
            context_.sounds.play(Sound::ColonyWiped);
            return;
        }
    }
    if (sourceAppeared()) {
        context_.sounds.play(Sound::SourceAppears);
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
    if (mouse_ == nullptr) {
        noteClick("the bot steers", x, y);
        return;
    }
    if (paused()) {
        noteClick("paused", x, y);
        return;
    }
    if (!inputPaused()) {
        mouse_->press(world(), worldUpdates(), x, y);
    }
}

void GameScreen::onRButtonUp(int x, int y, int flags) {
    View::onRButtonUp(x, y, flags);
    if (mouse_ == nullptr) {
        noteClick("the bot steers", x, y);
        return;
    }
    if (paused()) {
        noteClick("paused", x, y);
        return;
    }
    if (!inputPaused()) {
        mouse_->release(world(), worldUpdates(), x, y);
    }
}

// Every click reaching the rules is in the record by now: a flag set (even
// at the limit, where it changes nothing) or one removed.
void GameScreen::heardClick(const SteeringClick& click) {
    if (click.result == ClickResult::FlagRemoved) {
        context_.sounds.play(Sound::FlagRemoved);
        return;
    }
    if (click.result == ClickResult::FlagSet) {
        context_.sounds.play(Sound::FlagSet);
        return;
    }
    // Every flag the colony may hold is set: the click is refused, with the
    // numbers that explain it.
    noteClick("flags " + std::to_string(player().flags().size()) + "/" +
                  std::to_string(player().flagLimit()),
              click.x, click.y);
    context_.sounds.play(Sound::Refused);
    coach_.note(Coach::Line::FlagLimit);
}

void GameScreen::onWorldUpdated() {
    if (record_) {
        record_->noteUpdate(worldUpdates(), world());
    }
    if (!finished()) {
        coach_.watch(world(), kTickMs);
        // After the checkpoint: the steerings' clicks count before the next
        // update, as the player's clicks between two ticks do.
        actSteerings();
    }
}

// A bot that stops steering says why on the field and, once, on stderr, where
// whoever started the game with it reads it after the game too.
void GameScreen::actSteerings() {
    const Steering* steering = steerings_.of(0);
    const bool wasSteering = steering != nullptr && steering->stopped().empty();
    steerings_.act(world(), worldUpdates());
    if (wasSteering && !steering->stopped().empty()) {
        std::fprintf(stderr, "brevora: %s\n", steering->stopped().c_str());
    }
}

void GameScreen::noteClick(std::string why, int x, int y) {
    clickNote_ = std::move(why);
    clickNoteX_ = x;
    clickNoteY_ = y;
    clickNoteMs_ = kClickNoteMs;
}

void GameScreen::draw() {
    PlayScreen::draw();
    if (!clickNote_.empty()) {
        drawClickNote();
    }
}

// Beside the pointer, up and to the right so the pointer does not hide it,
// kept on the screen near its edges; over everything, the pause shade too.
void GameScreen::drawClickNote() const {
    constexpr float kSize = 16;
    constexpr float kDepth = 40;
    constexpr float kMargin = 3;
    const GameParams& params = context_.params;
    const float width = font().textWidth(clickNote_.c_str(), kSize);
    const float x = std::clamp(static_cast<float>(clickNoteX_) + 12, kMargin,
                               static_cast<float>(params.m_screen_width) - width - kMargin);
    const float y = std::clamp(static_cast<float>(clickNoteY_) - 6, kSize + kMargin,
                               static_cast<float>(params.m_screen_height) - kMargin);
    drawShade(x - kMargin, y - kSize - kMargin, width + 2 * kMargin, kSize + 2 * kMargin, kDepth,
              {0, 0, 0, 0.7f});
    font().drawText(clickNote_.c_str(), x, y,
                    {.size = kSize, .colour = {1, 1, 0.6f}, .depth = kDepth});
}

GameScreen::~GameScreen() {
    if (ending_ == Ending::None) {
        finishSteerings(false);
    }
    if (!record_) {
        return;
    }
    record_->finish(worldUpdates(), world());
    GameParams& params = context_.params;
    if (ReplayFiles::save(*record_, params.m_save_folder).empty() &&
        !params.m_save_folder.dir().empty()) {
        std::fprintf(stderr, "brevora: the replay of this game could not be saved in \"%s/%s\"\n",
                     params.m_save_folder.shownDir().c_str(), ReplayFiles::kFolder);
    }
}

}  // namespace brv
