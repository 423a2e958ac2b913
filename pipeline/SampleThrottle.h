// How often the data handler runs: at most once per kSampleInterval ms, since the display shows no
// more than that and every run draws the graphs' new bands and the value fields. While samples
// keep coming the timer keeps running (setting and killing it for each batch would cost two server
// calls) and its runs leave the notice pending, so the receive thread posts none (a posted message
// is several server round trips under Wine). A tick that finds the queue empty releases the notice
// and stops the timer; the next sample posts a notice again.
#pragma once

#include <cstdint>
#include <functional>

namespace app {

// The window's timer and tick count the throttle runs on.
class ThrottleTimer {
public:
    virtual ~ThrottleTimer() = default;
    // (Re)starts the periodic timer at `ms`; Stop ends it.
    virtual void Start(uint32_t ms) = 0;
    virtual void Stop() = 0;
    // Milliseconds of a wrapping tick count.
    virtual uint32_t Now() const = 0;
};

class SampleThrottle {
public:
    static constexpr uint32_t kSampleInterval = 50;

    // `run` takes what is queued, leaving the notice pending, and returns how many samples it took;
    // `release` lets the notice go unless samples wait (SampleHandOff::FinishNotice: true when some
    // raced in, and the notice stays pending).
    SampleThrottle(ThrottleTimer& timer, std::function<int()> run, std::function<bool()> release)
        : timer_(timer), run_(std::move(run)), release_(std::move(release)) {}

    // A data notice: runs at once when the last run is long enough ago, else at the next tick.
    void OnNotice();
    void OnTick();

private:
    int Run();

    ThrottleTimer& timer_;
    std::function<int()> run_;
    std::function<bool()> release_;
    uint32_t lastRun_ = 0;
    uint32_t interval_ = 0;  // of the running timer; 0 while it is stopped
};

}  // namespace app
