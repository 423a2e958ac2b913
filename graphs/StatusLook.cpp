// Lamp colour table and the numeric field's change rule.
#include "graphs/StatusLook.h"

namespace status {

namespace {

constexpr Colour kLampColours[kLampBrushCount] = {
    Rgb(255, 0, 0),    // 0 and every unknown state
    Rgb(255, 255, 0),  // 1
    Rgb(0, 255, 0),    // 2
    Rgb(255, 0, 255),  // 3
    Rgb(0, 0, 200),    // 4
};

}  // namespace

int LampBrushIndex(int state) noexcept {
    return state >= 1 && state < kLampBrushCount ? state : 0;
}

Colour LampBrushColour(int index) noexcept {
    return kLampColours[index >= 0 && index < kLampBrushCount ? index : 0];
}

bool NumText::Assign(const std::string& text) {
    if (text == text_) return false;
    text_ = text;
    return true;
}

}  // namespace status
