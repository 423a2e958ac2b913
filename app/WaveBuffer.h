// One acquisition ring per axis: converted samples in gal, the newest overwriting the oldest.
#pragma once

#include <vector>

struct WaveBuffer {
    std::vector<double> samples;  // capacity C = samples.size(); may be 0
    int heldCount = 0;            // invariant: 0 <= heldCount <= C
    int oldestIndex = 0;          // invariant: 0 <= oldestIndex < C, or 0 when C == 0

    // Empties the ring and gives it `capacity` zeros (negative counts as 0).
    void Reset(int capacity) {
        samples.assign(capacity > 0 ? static_cast<size_t>(capacity) : 0, 0.0);
        heldCount = 0;
        oldestIndex = 0;
    }
    int Capacity() const { return static_cast<int>(samples.size()); }
};
