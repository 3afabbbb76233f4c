#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace brv {

// Calls a function every `periodMs` on a thread of its own. Deadlines follow a
// fixed grid from the start; when the thread falls behind, missed deadlines are
// skipped rather than made up in a burst. stop() returns only after the thread
// has ended, so no call happens once it has returned.
class PeriodicTimer {
public:
    PeriodicTimer() = default;
    ~PeriodicTimer() { stop(); }
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // Restarts the timer when it is already running.
    void start(int periodMs, std::function<void()> onTime);
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run(int periodMs);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::function<void()> onTime_;
};

}  // namespace brv
