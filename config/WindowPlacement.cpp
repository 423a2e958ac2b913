// Window placement arithmetic in 64 bits, so placements read from a file cannot overflow.
#include "config/WindowPlacement.h"

#include "config/Settings.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int Saturate(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

int64_t Gap(int64_t aLow, int64_t aHigh, int64_t bLow, int64_t bHigh) {
    return std::max<int64_t>({0, bLow - aHigh, aLow - bHigh});
}

}  // namespace

std::optional<PlacementPlan> PlanRestore(const WindowPlacementRecord& record, int presentWidth,
                                         int presentHeight, bool keepSize) {
    const PlacementRect& n = record.normal;
    if (int64_t{n.right} - n.left <= 0 || int64_t{n.bottom} - n.top <= 0) return std::nullopt;
    PlacementPlan plan;
    plan.showCommand = record.showState == 3 ? 3 : 1;
    plan.minX = record.minX;
    plan.minY = record.minY;
    plan.maxX = record.maxX;
    plan.maxY = record.maxY;
    plan.normal = n;
    if (keepSize) {
        plan.normal.right = Saturate(int64_t{n.left} + presentWidth);
        plan.normal.bottom = Saturate(int64_t{n.top} + presentHeight);
    }
    return plan;
}

PlacementRect MoveIntoMonitor(PlacementRect r, const PlacementRect& monitor) {
    int64_t left = r.left, right = r.right, top = r.top, bottom = r.bottom;
    if (right > monitor.right) {
        int64_t d = right - monitor.right;
        left -= d;
        right -= d;
    }
    if (left < monitor.left) {
        int64_t d = monitor.left - left;
        left += d;
        right += d;
    }
    if (bottom > monitor.bottom) {
        int64_t d = bottom - monitor.bottom;
        top -= d;
        bottom -= d;
    }
    if (top < monitor.top) {
        int64_t d = monitor.top - top;
        top += d;
        bottom += d;
    }
    return PlacementRect{Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

std::optional<size_t> NearestMonitor(const PlacementRect& r,
                                     const std::vector<PlacementRect>& monitors) {
    std::optional<size_t> best;
    int64_t bestArea = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PlacementRect& m = monitors[i];
        int64_t w = std::min<int64_t>(r.right, m.right) - std::max<int64_t>(r.left, m.left);
        int64_t h = std::min<int64_t>(r.bottom, m.bottom) - std::max<int64_t>(r.top, m.top);
        if (w > 0 && h > 0 && w * h > bestArea) {
            bestArea = w * h;
            best = i;
        }
    }
    if (best) return best;
    double bestDistance = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PlacementRect& m = monitors[i];
        double dx = static_cast<double>(Gap(r.left, r.right, m.left, m.right));
        double dy = static_cast<double>(Gap(r.top, r.bottom, m.top, m.bottom));
        double d = dx * dx + dy * dy;
        if (!best || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

PlacementRect PlaceOnMonitors(const PlacementRect& r, const std::vector<PlacementRect>& monitors) {
    std::optional<size_t> m = NearestMonitor(r, monitors);
    return m ? MoveIntoMonitor(r, monitors[*m]) : r;
}
