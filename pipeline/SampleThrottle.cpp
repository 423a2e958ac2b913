// The data handler's pace: runs spaced by the interval, the timer kept while samples come.
#include "pipeline/SampleThrottle.h"

namespace app {

void SampleThrottle::OnNotice() {
    noticeWaiting_ = true;
    if (interval_ != 0) return;  // the next tick runs
    const uint32_t elapsed = timer_.Now() - lastRun_;
    if (elapsed < kSampleInterval) {
        interval_ = kSampleInterval - elapsed;
        timer_.Start(interval_);
        return;
    }
    Run();
}

void SampleThrottle::OnTick() {
    if (!noticeWaiting_) {  // the samples stopped coming
        timer_.Stop();
        interval_ = 0;
        return;
    }
    if (interval_ != kSampleInterval) {  // the first tick came early, to keep the spacing
        interval_ = kSampleInterval;
        timer_.Start(interval_);
    }
    Run();
}

void SampleThrottle::Run() {
    noticeWaiting_ = false;
    lastRun_ = timer_.Now();
    run_();
}

}  // namespace app
