// Hand-off of decoded samples from the receive thread to the user-interface thread, with at most
// one "samples queued" notice in flight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/SampleRecord.h"

namespace device {

// The samples taken by one consumer call, as three parallel sequences, with when each arrived and
// whether reception broke just before it (the live archive times samples by them).
struct SampleBatch {
    std::vector<int32_t> x, y, z;  // invariant: x, y, z, arrivalUs and breakBefore have equal sizes
    std::vector<int64_t> arrivalUs;    // steady clock (std::chrono::steady_clock), microseconds
    std::vector<uint8_t> breakBefore;  // 1: bytes were lost, the line fell silent or was opened again
    size_t size() const { return x.size(); }
};

class SampleHandOff {
public:
    // Producer: queues one sample and records its low-pass value. Returns true when the caller
    // must now post the notice (none was pending); the lock is already released then.
    [[nodiscard]] bool Push(const SampleRecord& sample, double lowPassHz);

    // Consumer step 1-2: moves every queued sample into `out` (replacing its contents) and returns
    // how many. Returns 0 without touching the pending notice when the queue is empty.
    size_t Take(SampleBatch& out);
    // Consumer step 3: the low-pass value of the most recent sample (0 = no recognised code).
    double LowPassHz() const;
    // Consumer step 4: the consumer has finished. When samples arrived meanwhile the notice stays
    // pending and the result is true: the caller posts it again at once, so they are not left
    // waiting for a next sample that may never come (a line that falls silent). Otherwise the
    // next Push asks for a new notice.
    [[nodiscard]] bool FinishNotice();

    // The receive loop's opening: empties the queues, clears the notice flag and the low-pass value.
    // The next sample follows a break.
    void Reset();
    // Reception broke (a record was lost or the line fell silent): the next sample follows a break.
    void MarkBreak();

    bool NoticePending() const;
    size_t QueuedCount() const;

private:
    mutable std::mutex sampleLock;  // guards every member below
    std::vector<int32_t> queueX, queueY, queueZ;  // invariant: equal lengths, also of the two below
    std::vector<int64_t> queueArrival;
    std::vector<uint8_t> queueBreak;
    bool breakPending = true;  // the next pushed sample follows a break
    double lowPassHz = 0.0;
    bool notifyPending = false;  // true from the notice being posted until FinishNotice finds none queued
};

}  // namespace device
