// The peaks that the time monitor's max and min fields show, per axis: while measuring the
// extremes since the last clear, in review those of the window shown. Their only owner.
#pragma once

#include <vector>

namespace app {

// Lowers peakMin and raises peakMax by the extremes of `values`; both start the comparison from
// 0.0, so peakMin never rises above 0 and peakMax never falls below 0.
void UpdatePeaks(const std::vector<double>& values, double& peakMin, double& peakMax);

class PeakHold {
public:
    // Both peaks of every axis 0 (a start, the program's start, "ＰＰクリア").
    void Clear() {
        for (int a = 0; a < 3; ++a) min_[a] = max_[a] = 0.0;
    }
    // A batch of one axis widens its peaks (UpdatePeaks).
    void Widen(int axis, const std::vector<double>& values) { UpdatePeaks(values, min_[axis], max_[axis]); }
    // The review window's extremes replace an axis's peaks.
    void Show(int axis, double lo, double hi) {
        min_[axis] = lo;
        max_[axis] = hi;
    }
    double Min(int axis) const { return min_[axis]; }
    double Max(int axis) const { return max_[axis]; }

private:
    double min_[3] = {0.0, 0.0, 0.0};
    double max_[3] = {0.0, 0.0, 0.0};
};

}  // namespace app
