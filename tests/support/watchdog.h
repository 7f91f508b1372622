#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace corvane::testing {

// Ends the test program when a step hangs: a call that should return at once but blocks (a FIFO
// opened for reading) or runs for minutes would otherwise stall the suite until ctest's own limit.
// The limit is generous; it detects hangs, it does not measure speed.
class Watchdog {
public:
    explicit Watchdog(std::string what, std::chrono::seconds limit = std::chrono::seconds(120))
        : what_(std::move(what)), thread_([this, limit] { watch(limit); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        woken_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    void watch(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        if (woken_.wait_for(lock, limit, [this] { return done_; })) return;
        std::fprintf(stderr, "Watchdog: %s did not end within %lld s\n", what_.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(3);
    }

    std::string what_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace corvane::testing
