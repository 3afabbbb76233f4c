#include "platform/PeriodicTimer.h"

#include <algorithm>
#include <chrono>

namespace brv {

void PeriodicTimer::start(int periodMs, std::function<void()> onTime) {
    stop();
    onTime_ = std::move(onTime);
    stopRequested_ = false;
    const int period = std::max(1, periodMs);
    thread_ = std::thread([this, period] { run(period); });
}

void PeriodicTimer::stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PeriodicTimer::run(int periodMs) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    auto next = Clock::now() + period;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (wake_.wait_until(lock, next, [this] { return stopRequested_; })) {
            return;
        }
        lock.unlock();
        onTime_();
        lock.lock();
        next += period;
        const auto now = Clock::now();
        if (next <= now) {
            // A suspended or starved thread: resume on the grid, one period on.
            next += ((now - next) / period + 1) * period;
        }
    }
}

}  // namespace brv
