// The times of a measurement's samples. The stream carries no times: within a run of samples
// received without a break, sample i is 10 ms after sample i - 1; each run (a segment) starts at
// the PC clock's time of its first sample, taken from when its samples arrived.
//
// A segment's start is the latest time consistent with every arrival so far (no sample can
// arrive before it was taken): start = min(arrival_i - i * 10 ms). It is refined over the
// segment's first kSettle samples and then stays; whoever files samples holds them until then, so
// nothing is filed under a start that still moves (the first second after a re-opening may arrive
// late as a whole). A new segment begins
//  - at a break in reception (the link lost bytes, fell silent or was opened again), so a gap
//    appears as a gap in time and never shifts later samples;
//  - when a sample arrives more than kTolerance before its counted time (the PC clock was set
//    back, or the recorder's clock runs faster than the PC's);
//  - when every sample of a whole second arrives more than kTolerance after its counted time
//    (samples were lost unnoticed, or the recorder's clock runs slower).
// A new segment that would start less than half a sample after the last one ended, or overlap it
// by less than kTolerance, is joined to it exactly, so readers see one continuous trace.
#pragma once

#include <cstdint>

#include "seed/SeedTime.h"

namespace seed {

class SampleClock {
public:
    static constexpr Ticks kTolerance = 2000;  // 0.2 s
    static constexpr int kWindow = 100;        // samples of the late check: one second
    static constexpr int64_t kSettle = 400;    // samples that refine a segment's start: 4 s

    // Where one sample goes: true when it begins a new segment (the caller ends the records of
    // the last one first, with that segment's start), and then index 0.
    struct Placement {
        bool newSegment = false;
        int64_t index = 0;  // within its segment
    };

    // The next sample, in order: its arrival time and whether reception broke just before it.
    // The start of a new segment is known after Commit.
    Placement Place(Ticks arrival, bool breakBefore);
    // The time of sample `index` of the current segment.
    [[nodiscard]] Ticks TimeOf(int64_t index) const { return start_ + index * kTicksPerSample; }
    [[nodiscard]] Ticks Start() const { return start_; }
    // The current segment's start no longer moves: kSettle of its samples have been placed.
    [[nodiscard]] bool Settled() const { return settled_; }
    // Forget everything: the next sample begins a new segment that joins nothing.
    void Reset();

private:
    [[nodiscard]] Ticks Joined(Ticks estimate) const;

    bool started_ = false;
    bool settled_ = false;
    Ticks estimate_ = 0;  // min(arrival_i - i * 10 ms) of the current segment
    Ticks start_ = 0;     // the segment's start: the estimate, joined to the previous segment
    int64_t count_ = 0;   // samples in the current segment
    bool hasPrevious_ = false;
    Ticks previousEnd_ = 0;  // counted time of the sample after the previous segment's last
    Ticks windowMin_ = 0;    // least lateness in the current window
    int windowCount_ = 0;
};

}  // namespace seed
