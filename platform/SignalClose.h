#pragma once

#include <csignal>
#include <functional>
#include <thread>

namespace brv {

// Turns SIGINT, SIGTERM and SIGHUP into a request to close the game, so that
// a program ended by the session, by a terminal or by the terminal closing
// saves its files as a closed window does. The handler only writes a byte to a pipe, which is safe
// in any thread at any moment; a thread of its own reads the pipe and calls `onSignal`, which posts
// the window's close message. Each handler serves once: a second signal takes the default action
// and ends a game that no longer answers. The handlers are installed whatever the program inherited
// (a game started in the background ignores SIGINT), and the earlier ones
// come back when the object goes. One object at a time.
inline constexpr int kSignalCount = 3;

class SignalClose {
public:
    explicit SignalClose(std::function<void()> onSignal);
    ~SignalClose();
    SignalClose(const SignalClose&) = delete;
    SignalClose& operator=(const SignalClose&) = delete;

    // False when the pipe or the thread could not be had (or another object
    // holds the signals): the signals then keep their earlier handlers.
    bool installed() const { return watcher_.joinable(); }

private:
    void watch();

    std::function<void()> onSignal_;
    int readEnd_ = -1;
    std::thread watcher_;
    struct sigaction previous_[kSignalCount] = {};
};

}  // namespace brv
