// Colours and drawing rules of the status lamp and the numeric field, free of the platform so the
// Win32 controls and the tests share one definition.
#pragma once

#include <cstdint>
#include <string>

namespace status {

// A colour in the platform's 0x00BBGGRR layout, so it converts to a COLORREF unchanged.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}

// Number of shared lamp brushes; brush i has LampBrushColour(i).
constexpr int kLampBrushCount = 5;

// The brush a lamp state paints with: states 1 to 4 have their own, every other state uses 0 (red).
[[nodiscard]] int LampBrushIndex(int state) noexcept;
// Colour of shared brush `index` (0 .. kLampBrushCount-1); an index out of range gives brush 0's.
[[nodiscard]] Colour LampBrushColour(int index) noexcept;
[[nodiscard]] inline Colour LampColour(int state) noexcept { return LampBrushColour(LampBrushIndex(state)); }

// Text of a numeric field: black, right-aligned, ending 2 pixels left of the right edge and
// starting 2 pixels below the top of the field's rectangle.
constexpr Colour kNumTextColour = Rgb(0, 0, 0);
constexpr int kNumTextInset = 2;
struct TextAnchor {
    int x;  // reference point of right-aligned text
    int y;  // top of the text
};
[[nodiscard]] constexpr TextAnchor NumTextAnchor(int left, int top, int right, int bottom) {
    (void)left;
    (void)bottom;
    return {right - kNumTextInset, top + kNumTextInset};
}

// The text a numeric field shows, with the rule that only a change is drawn.
class NumText {
public:
    const std::string& Text() const { return text_; }
    // Stores `text` and returns true when it differs from the current text; false means nothing
    // changed and the field must not be drawn again.
    [[nodiscard]] bool Assign(const std::string& text);

private:
    std::string text_;  // empty after construction
};

}  // namespace status
