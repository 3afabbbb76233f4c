#pragma once

namespace brv {

// The main menu's spell without any button press, after which the
// demonstration starts: one tick's worth of menu time per tick, whatever
// the tick's length.
class IdleTimer {
public:
    // Counts one tick; true, and back at 0, once the spell is longer than
    // `waitMs`.
    bool onTick(int waitMs);
    void reset() { idleMs_ = 0; }
    int idleMs() const { return idleMs_; }

private:
    int idleMs_ = 0;
};

}  // namespace brv
