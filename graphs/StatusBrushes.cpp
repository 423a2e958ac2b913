// The shared lamp brushes and the off-screen buffer of the status controls.
#include "graphs/StatusBrushes.h"

#include "graphs/StatusLook.h"

namespace status {

namespace {

class LampBrushes {
public:
    LampBrushes() {
        for (int i = 0; i < kLampBrushCount; ++i) brushes_[i].reset(CreateSolidBrush(LampBrushColour(i)));
    }
    HBRUSH Get(int state) const { return brushes_[LampBrushIndex(state)].get(); }

private:
    UniqueBrush brushes_[kLampBrushCount];  // brush i has LampBrushColour(i)
};

}  // namespace

HBRUSH LampBrush(int state) {
    static const LampBrushes brushes;
    return brushes.Get(state);
}

BufferedDc::BufferedDc(HDC target, const RECT& rect) : target_(target), rect_(rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    memory_ = CreateCompatibleDC(target);
    if (!memory_) return;
    bitmap_.reset(CreateCompatibleBitmap(target, width, height));
    if (!bitmap_) {
        DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_.get());
    // The bitmap's origin stands for rect's top-left corner, so callers draw in target coordinates.
    SetWindowOrgEx(memory_, rect.left, rect.top, &oldOrigin_);
}

BufferedDc::~BufferedDc() {
    if (!memory_) return;
    BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_,
           rect_.left, rect_.top, SRCCOPY);
    SetWindowOrgEx(memory_, oldOrigin_.x, oldOrigin_.y, nullptr);
    SelectObject(memory_, oldBitmap_);
    DeleteDC(memory_);
}

}  // namespace status
