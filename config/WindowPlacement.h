// Window placement arithmetic: where a saved placement is put back, without any window system.
#pragma once

#include <optional>
#include <vector>

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PlacementRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct WindowPlacementRecord;

// The placement that Restore applies, before it is moved onto a monitor.
struct PlacementPlan {
    int showCommand = 1;  // 3 (maximise) when the record was saved maximised, else 1 (normal)
    PlacementRect normal;
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
};

// None when the record's width or height is not positive (the window then stays where it is).
// With keepSize the rectangle takes the record's origin and the window's present size.
[[nodiscard]] std::optional<PlacementPlan> PlanRestore(const WindowPlacementRecord& record,
                                                       int presentWidth, int presentHeight,
                                                       bool keepSize);

// Shifts `r` into `monitor` without changing its size: right edge first, then left, so a rectangle
// larger than the monitor ends aligned with its left edge; the same vertically with the top.
[[nodiscard]] PlacementRect MoveIntoMonitor(PlacementRect r, const PlacementRect& monitor);

// Index of the monitor nearest to `r`: the one it overlaps most, else the closest one; none when
// there are no monitors. Ties go to the earlier monitor.
[[nodiscard]] std::optional<size_t> NearestMonitor(const PlacementRect& r,
                                                   const std::vector<PlacementRect>& monitors);

// The whole rule on a list of monitor rectangles: the normal rectangle of the plan moved into
// the nearest monitor (unchanged when there is none).
[[nodiscard]] PlacementRect PlaceOnMonitors(const PlacementRect& r,
                                            const std::vector<PlacementRect>& monitors);
