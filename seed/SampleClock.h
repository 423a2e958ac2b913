// The times of a measurement's samples. The stream carries no times: within a run of samples
// received without a break, sample i is 10 ms after sample i - 1; each run (a segment) starts at
// the PC clock's time of its first sample, taken from when its samples arrived.
//
// A segment's start is the latest time consistent with every arrival so far (no sample can
// arrive before it was taken): start = min(arrival_i - i * 10 ms). It keeps being refined until a
// record of the segment has been written (Freeze), then it stays. A new segment begins
//  - at a break in reception (the link lost bytes, fell silent or was opened again), so a gap
//    appears as a gap in time and never shifts later samples;
//  - when a sample arrives more than kTolerance before its counted time (the PC clock was set
//    back, or the recorder's clock runs faster than the PC's);
//  - when every sample of a whole second arrives more than kTolerance after its counted time
//    (samples were lost unnoticed, or the recorder's clock runs slower).
// A new segment that would start less than half a sample after the last one ended, or overlap it
// by less than kTolerance, is joined to it exactly, so readers see one continuous trace. Once the
// archive has filed samples of an unfrozen segment under a UTC day (StayInDay), refinements keep
// the start in that day, so a pending record never reaches back into the day before; until then
// the start may lie before midnight (a burst read just after it), and those samples go to that day.
#pragma once

#include <climits>
#include <cstdint>

#include "seed/SeedTime.h"

namespace seed {

class SampleClock {
public:
    static constexpr Ticks kTolerance = 2000;  // 0.2 s
    static constexpr int kWindow = 100;        // samples of the late check: one second

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
    // A record of the current segment was written: its start no longer moves.
    void Freeze() { frozen_ = true; }
    // Samples of the current segment were filed under the UTC day starting at `dayStart`.
    void StayInDay(Ticks dayStart);
    [[nodiscard]] bool Frozen() const { return frozen_; }
    // Forget everything: the next sample begins a new segment that joins nothing.
    void Reset();

private:
    [[nodiscard]] Ticks Joined(Ticks estimate) const;

    bool started_ = false;
    bool frozen_ = false;
    Ticks estimate_ = 0;  // min(arrival_i - i * 10 ms) of the current segment
    Ticks start_ = 0;     // the segment's start: the estimate, joined and kept within its first day
    Ticks floor_ = INT64_MIN;  // the first tick of the UTC day the segment's samples were filed under
    int64_t count_ = 0;   // samples in the current segment
    bool hasPrevious_ = false;
    Ticks previousEnd_ = 0;  // counted time of the sample after the previous segment's last
    Ticks windowMin_ = 0;    // least lateness in the current window
    int windowCount_ = 0;
};

}  // namespace seed
