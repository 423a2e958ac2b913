// The data handler's pace: runs spaced by the interval, the timer kept while samples come.
#include "pipeline/SampleThrottle.h"

namespace app {

void SampleThrottle::OnNotice() {
    if (interval_ != 0) return;  // the next tick runs
    const uint32_t elapsed = timer_.Now() - lastRun_;
    if (elapsed < kSampleInterval) {
        interval_ = kSampleInterval - elapsed;
        timer_.Start(interval_);
        return;
    }
    interval_ = kSampleInterval;
    timer_.Start(interval_);
    Run();
}

void SampleThrottle::OnTick() {
    if (interval_ != kSampleInterval) {  // the first tick came early, to keep the spacing
        interval_ = kSampleInterval;
        timer_.Start(interval_);
    }
    if (Run() == 0 && !release_()) {  // the samples stopped coming
        timer_.Stop();
        interval_ = 0;
    }
}

int SampleThrottle::Run() {
    lastRun_ = timer_.Now();
    return run_();
}

}  // namespace app
