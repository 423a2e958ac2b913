// Sample queues shared by the receive thread and the user-interface thread.
#include "device/SampleHandOff.h"

namespace device {

bool SampleHandOff::Push(const SampleRecord& sample, double lowPass) {
    std::lock_guard<std::mutex> lock(sampleLock);
    queueX.push_back(sample.x);
    queueY.push_back(sample.y);
    queueZ.push_back(sample.z);
    lowPassHz = lowPass;
    if (notifyPending) return false;
    notifyPending = true;
    return true;
}

size_t SampleHandOff::Take(SampleBatch& out) {
    out.x.clear();
    out.y.clear();
    out.z.clear();
    std::lock_guard<std::mutex> lock(sampleLock);
    if (queueX.empty()) return 0;
    // Swapping hands the filled vectors over and leaves the caller's (emptied) capacity behind.
    out.x.swap(queueX);
    out.y.swap(queueY);
    out.z.swap(queueZ);
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
    notifyPending = false;
    lowPassHz = 0.0;
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
