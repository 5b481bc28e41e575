#include "extraction/progress_flush.h"

#include <chrono>
#include <cstdio>

namespace {

// Below what a reader of the scrolling lines can tell apart.
constexpr std::chrono::milliseconds kProgressInterval{50};

}  // namespace

void flushProgressWhenDue() {
    using Clock = std::chrono::steady_clock;
    static Clock::time_point lastFlush = Clock::now();
    const Clock::time_point now = Clock::now();
    if (now - lastFlush < kProgressInterval) return;
    std::fflush(stdout);
    lastFlush = now;
}
