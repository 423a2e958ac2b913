// Texts and placements of the two monitors that need no window: value fields, the time labels
// under the graphs and the scroll bar's moves.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace graphs {

// At most six characters: "*Over*" from 999999.5 up, "*over*" below −99999.5, otherwise the value
// right-aligned with one decimal while it fits ("  12.3", " -12.3"), whole with a trailing point
// from 999.95 ("1000.") and whole from 9999.5 (" 12345").
[[nodiscard]] std::string FormatValue6(double v);

// A value field's text: FormatValue6 with 16-bit data, the value truncated toward zero ("%d")
// with any other converter width. Values beyond int show as the nearest int.
[[nodiscard]] std::string FieldText(double v, int bit);

// A frequency for the PSD monitor: three decimals with trailing zeros removed but one digit kept
// after the point, right-aligned in six characters and cut at six ("   0.1", "  20.0", "  12.5").
[[nodiscard]] std::string FormatHz(double hz);
// A spectral line's value: "%5.1f", then right-aligned in six characters and cut at six.
[[nodiscard]] std::string FormatPsdValue(double v);

struct TimeLabel {
    int x;
    std::string text;  // "%.1f" of the seconds
};

// The labels of one row for display time `displayTime` (s): 5, 10, 15 … s below it, at
// x = x0 + pixelOf(t·1000 ms) − 10, each left out when it comes closer than 35 pixels to the
// previous label of the row or to either end label (leftLimit, rightLimit). `pixelOf` maps
// milliseconds to the graph's pixel column.
template <class PixelOf>
std::vector<TimeLabel> TimeLabels(double displayTime, int x0, int leftLimit, int rightLimit, PixelOf pixelOf);

// Scroll bar codes as the platform numbers them.
enum ScrollCode {
    kLineLeft = 0,
    kLineRight = 1,
    kPageLeft = 2,
    kPageRight = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kLeft = 6,
    kRight = 7,
    kEndScroll = 8,
};

// The position a scroll code asks for: ±1, ±page, the track position, the ends; none for
// kThumbPosition and kEndScroll (nothing changes). Other codes keep `pos`. The scroll bar itself
// keeps the result inside its range.
[[nodiscard]] std::optional<int> ScrollTarget(int code, int pos, int trackPos, int rangeMax, int page);

// ---- template definition

std::string FormatTimeLabel(double seconds);

template <class PixelOf>
std::vector<TimeLabel> TimeLabels(double displayTime, int x0, int leftLimit, int rightLimit, PixelOf pixelOf) {
    std::vector<TimeLabel> labels;
    if (!(displayTime > 5.0)) return labels;
    int lastX = 0;
    // A display time of an hour has 719 candidates; more could not fit anyway.
    for (int t = 5; t < displayTime && t <= 100000; t += 5) {
        const int x = x0 + pixelOf(t * 1000.0) - 10;
        if ((t > 5 && x < lastX + 35) || x <= leftLimit || x + 35 >= rightLimit) continue;
        labels.push_back({x, FormatTimeLabel(t)});
        lastX = x;
    }
    return labels;
}

}  // namespace graphs
