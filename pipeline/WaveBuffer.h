// One acquisition ring per axis: converted samples in gal, the newest overwriting the oldest.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

struct WaveBuffer {
    // The i-th oldest held sample (i = 0 .. heldCount - 1) is samples[(oldestIndex + i) % C];
    // slots that hold no sample are 0.0 after a Reset. Others read these three; only the ring's
    // own calls below change them.
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
    // Frees the storage: capacity 0, nothing held.
    void Release() {
        std::vector<double>().swap(samples);
        heldCount = 0;
        oldestIndex = 0;
    }
    // Takes `values` over as they are, oldest first: capacity and held count are their number.
    void Adopt(std::vector<double>&& values) {
        samples = std::move(values);
        heldCount = static_cast<int>(samples.size());
        oldestIndex = 0;
    }
    // The newest held sample; heldCount must be > 0.
    double Newest() const { return samples[static_cast<size_t>(PhysicalIndex(heldCount - 1))]; }

    // Appends n values, oldest first; when more than C arrive only the newest C are kept, and the
    // oldest held samples are overwritten as needed. At most two block copies. A null `values`
    // or a ring of capacity 0 appends nothing.
    void Append(const double* values, size_t n);

    // Copies `count` consecutive positions beginning at logical position `start` (0 = oldest held,
    // negative counts as 0) into dest, wrapping round the end of the storage; count is limited to
    // C first. Returns the number copied (0 for C == 0, count <= 0 or a null dest).
    int ReadRing(int start, double* dest, int count) const;

    // Index in `samples` of logical position i (0 = oldest held); C must be > 0, i >= 0.
    int PhysicalIndex(int i) const {
        return static_cast<int>((static_cast<long long>(oldestIndex) + i) % Capacity());
    }

    // True when every invariant above holds.
    [[nodiscard]] bool Check() const;
};
