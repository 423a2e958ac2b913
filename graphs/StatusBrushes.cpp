// The shared lamp brushes and the off-screen buffers of the status controls and the graphs.
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

void PaintBuffer::Release() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    width_ = height_ = 0;
}

HDC PaintBuffer::Get(HDC target, int width, int height) {
    if (dc_ && width <= width_ && height <= height_) return dc_;
    const int w = width > width_ ? width : width_;
    const int h = height > height_ ? height : height_;
    Release();
    dc_ = CreateCompatibleDC(target);
    bitmap_ = dc_ ? CreateCompatibleBitmap(target, w, h) : nullptr;
    if (!bitmap_) {
        Release();
        return nullptr;
    }
    oldBitmap_ = SelectObject(dc_, bitmap_);
    width_ = w;
    height_ = h;
    return dc_;
}

BufferedDc::BufferedDc(HDC target, const RECT& rect, PaintBuffer& kept) : target_(target), rect_(rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    memory_ = kept.Get(target, width, height);
    if (memory_) PlaceOrigin();
}

void BufferedDc::PlaceOrigin() {
    // The bitmap's origin stands for rect's top-left corner, so callers draw in target coordinates.
    SetWindowOrgEx(memory_, rect_.left, rect_.top, &oldOrigin_);
}

BufferedDc::~BufferedDc() {
    if (!memory_) return;
    BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_,
           rect_.left, rect_.top, SRCCOPY);
    SetWindowOrgEx(memory_, oldOrigin_.x, oldOrigin_.y, nullptr);
}

}  // namespace status
