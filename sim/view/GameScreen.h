#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "sim/Replay.h"
#include "sim/SteeringSet.h"
#include "sim/view/Coach.h"
#include "sim/view/PlayScreen.h"

namespace brv {

class MouseSteering;

// One game: the player's colony (red, always first) against one to three
// computer colonies of the game's difficulty. The player steers by flags: a
// left press toggles a flag under the pointer, a right release removes one.
// Escape or Enter only interrupts the game; the main screen keeps it for
// continuing. Once over, the world runs two more seconds and the screen
// closes with the player's kills as the score. While paused, clicks set and
// remove nothing, and say so at the pointer; so does a click at the flag
// limit, which is also heard. Until the player has won a game (or turns it
// off), the coach says in short lines at the bottom what is happening. The
// player's flags, new life sources, a colony wiped out and
// the end of the game are heard: each tick compares the world with how it
// stood before, so the rules know nothing of sound. Q asks whether to resign
// (the question is a dialog over the screen, which stands still while it is
// open); confirmed, the game ends as lost on the next update, paused or not,
// with the end delay and the score as for any finished game, and the record
// notes it. + and - set the player's game speed, which the next game keeps.
class GameScreen : public PlayScreen {
public:
    static constexpr int kMinColonies = 1;
    static constexpr int kMaxColonies = 4;
    static constexpr int kResignKey = 'Q';
    // How long a click that did nothing says why at the pointer.
    static constexpr int kClickNoteMs = 1200;

    // How the game ended for the player; None while it runs.
    enum class Ending { None, Won, WipedOut, Resigned };
    // Builds the "Resign this game?" dialog the window then shows over the
    // screen; it closes with kResultConfirmed to resign.
    using QuestionMaker = std::function<std::unique_ptr<View>()>;

    // `colonies` is clamped to 1..4; the world and its computer sides play
    // at `difficulty`, on a rules state kept by the screen's maker for the
    // screen's life.
    GameScreen(GameContext& context, RulesState& rules, int colonies, int difficulty);
    // A recording game writes its replay into the save folder when it ends
    // or is abandoned.
    ~GameScreen() override;

    // Records the game from `start`, taken right before the screen was built.
    void record(Replay start);
    const std::optional<Replay>& recording() const { return record_; }
    // Another steering (a bot program, already started on this screen's
    // world) steers the player's colony from now on in the mouse's place: its
    // flags are heard and recorded like the player's, the player's clicks set
    // nothing (and say so), and the coach is quiet. One that stopped (or
    // never started) says why at the bottom.
    void steerBy(std::unique_ptr<Steering> steering);
    // Without a maker, the resign key does nothing.
    void askResignWith(QuestionMaker maker) { askResign_ = std::move(maker); }

    void onTick(int elapsedMs) override;
    void draw() override;
    void onLButtonDown(int x, int y, int flags) override;
    void onRButtonUp(int x, int y, int flags) override;
    void onKeyDown(int virtualKey) override;
    void onDialogClosed(int result, std::unique_ptr<View> dialog) override;
    void onCloseRequest() override;

    bool gameOver() const { return finished(); }
    // The player's kill counter as it stood when the finished game's screen
    // closed, by the end delay or earlier by a key or a close request; 0
    // until then.
    int score() const { return score_; }
    Ending ending() const { return ending_; }
    // Game time up to the update the game ended on; 0 while it runs.
    long long endMs() const;
    // The resign question while it is open; null otherwise.
    const View* resignQuestion() const { return question_; }
    const Coach& coach() const { return coach_; }
    // Why the last click did nothing ("paused", "flags 3/3") while it shows;
    // empty otherwise.
    const std::string& clickNote() const { return clickNote_; }

protected:
    bool endReached() const override;
    void onEndReached() override;
    std::string pausedText() const override;
    void onClosingFinished() override;
    const Colony* playerColony() const override { return &player(); }
    FieldLine fieldLine() const override;
    void onWorldUpdated() override;
    bool setsGameSpeed() const override { return true; }

private:
    // A life source as it stood before a tick. A spent source may leave its
    // memory to the one that replaces it, so the cell and the reserve (which
    // never grows) tell them apart too.
    struct SourceMark {
        const LifeSource* source;
        int column;
        int row;
        int reserve;
    };

    Colony& player() const;
    void markWorld();
    // Writes the coaching line to the coach log when it changed.
    void logCoachLine();
    void playTickSounds(bool wasFinished);
    // A click of whoever steers, once the record has noted it: its sound,
    // and at the flag limit why it set nothing.
    void heardClick(const SteeringClick& click);
    bool sourceAppeared() const;
    void noteClick(std::string why, int x, int y);
    void drawClickNote() const;
    void actSteerings();
    // Tells whoever steers the end (-1: the game was left unfinished).
    void finishSteerings(bool finished);

    int score_ = 0;
    bool resigned_ = false;
    Ending ending_ = Ending::None;
    int endUpdate_ = 0;
    QuestionMaker askResign_;
    // Owned by the window while it is open.
    View* question_ = nullptr;
    std::vector<SourceMark> sourcesBefore_;
    std::array<bool, kMaxColonies> aliveBefore_{};
    std::optional<Replay> record_;
    // The player's colony is steered by the mouse, or by what took its place.
    SteeringSet steerings_{SteeringSet::Refused::NotedAsSet};
    MouseSteering* mouse_ = nullptr;
    Coach coach_;
    // The coaching line last written to the coach log.
    std::optional<Coach::Line> loggedLine_;
    std::string clickNote_;
    int clickNoteX_ = 0;
    int clickNoteY_ = 0;
    int clickNoteMs_ = 0;
};

}  // namespace brv
