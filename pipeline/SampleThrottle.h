// How often the data handler runs: at most once per kSampleInterval ms, since the display shows no
// more than that and every run repaints the graphs' new bands and the value fields. While samples
// keep coming the timer keeps running (setting and killing it for each batch would cost two server
// calls); a tick that finds no notice waiting stops it.
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

    SampleThrottle(ThrottleTimer& timer, std::function<void()> run) : timer_(timer), run_(std::move(run)) {}

    // A data notice: runs at once when the last run is long enough ago, else at the next tick.
    void OnNotice();
    void OnTick();

private:
    void Run();

    ThrottleTimer& timer_;
    std::function<void()> run_;
    uint32_t lastRun_ = 0;
    uint32_t interval_ = 0;  // of the running timer; 0 while it is stopped
    // A notice came and no run has taken it yet. It stays pending until a run, so the receive
    // thread queues without posting again.
    bool noticeWaiting_ = false;
};

}  // namespace app
