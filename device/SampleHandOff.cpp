// Sample queues shared by the receive thread and the user-interface thread.
#include "device/SampleHandOff.h"

#include <chrono>

namespace device {

bool SampleHandOff::Push(const SampleRecord& sample, double lowPass) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::lock_guard<std::mutex> lock(sampleLock);
    queueX.push_back(sample.x);
    queueY.push_back(sample.y);
    queueZ.push_back(sample.z);
    queueArrival.push_back(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    queueBreak.push_back(breakPending ? 1 : 0);
    breakPending = false;
    lowPassHz = lowPass;
    if (notifyPending) return false;
    notifyPending = true;
    return true;
}

size_t SampleHandOff::Take(SampleBatch& out) {
    out.x.clear();
    out.y.clear();
    out.z.clear();
    out.arrivalUs.clear();
    out.breakBefore.clear();
    std::lock_guard<std::mutex> lock(sampleLock);
    if (queueX.empty()) return 0;
    // Swapping hands the filled vectors over and leaves the caller's (emptied) capacity behind.
    out.x.swap(queueX);
    out.y.swap(queueY);
    out.z.swap(queueZ);
    out.arrivalUs.swap(queueArrival);
    out.breakBefore.swap(queueBreak);
    return out.x.size();
}

double SampleHandOff::LowPassHz() const {
    std::lock_guard<std::mutex> lock(sampleLock);
    return lowPassHz;
}

bool SampleHandOff::FinishNotice() {
    std::lock_guard<std::mutex> lock(sampleLock);
    notifyPending = !queueX.empty();
    return notifyPending;
}

void SampleHandOff::Reset() {
    std::lock_guard<std::mutex> lock(sampleLock);
    queueX.clear();
    queueY.clear();
    queueZ.clear();
    queueArrival.clear();
    queueBreak.clear();
    notifyPending = false;
    lowPassHz = 0.0;
    breakPending = true;
}

void SampleHandOff::MarkBreak() {
    std::lock_guard<std::mutex> lock(sampleLock);
    breakPending = true;
}

bool SampleHandOff::NoticePending() const {
    std::lock_guard<std::mutex> lock(sampleLock);
    return notifyPending;
}

size_t SampleHandOff::QueuedCount() const {
    std::lock_guard<std::mutex> lock(sampleLock);
    return queueX.size();
}

}  // namespace device
