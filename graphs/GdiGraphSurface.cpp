// GDI pens, the drawing surface over a DC and the double-buffered paint of a graph's clip box.
#include "graphs/GdiGraphSurface.h"

namespace graphs {

COLORREF ColourOf(const ColorTriple& c) {
    return RGB(c[0] & 0xFF, c[1] & 0xFF, c[2] & 0xFF);
}

namespace {

struct SharedTriggerPen {
    UniquePen pen{CreatePen(PS_SOLID, 2, RGB(200, 0, 0))};
};

HPEN Solid(int width, const ColorTriple& c) { return CreatePen(PS_SOLID, width, ColourOf(c)); }

}  // namespace

HPEN TriggerPen() {
    static SharedTriggerPen shared;
    return shared.pen.get();
}

void GraphPens::Build(const Settings& s, GraphKind kind, int axis) {
    const size_t a = static_cast<size_t>(axis < 0 ? 0 : (axis > 2 ? 2 : axis));
    back.reset(CreateSolidBrush(ColourOf(kind == GraphKind::Psd ? s.psdGraphBack : s.graphBack)));
    light.reset(Solid(1, s.scaleLineLight));
    dark.reset(Solid(1, s.scaleLineDark));
    hilight.reset(Solid(1, s.scaleLineHilight));
    cursor.reset(Solid(1, s.cursorLine));
    thin.reset(Solid(1, s.graphLine[a]));
    thick.reset(Solid(2, s.graphLine[a]));
    psd.reset(Solid(1, s.psdGraphLine[a]));
}

HPEN GraphPens::PenFor(Pen pen) const {
    switch (pen) {
    case Pen::Light: return light.get();
    case Pen::Dark: return dark.get();
    case Pen::Hilight: return hilight.get();
    case Pen::Cursor: return cursor.get();
    case Pen::Trigger: return TriggerPen();
    case Pen::Thin: return thin.get();
    case Pen::Thick: return thick.get();
    case Pen::Psd: return psd.get();
    }
    return nullptr;
}

void GdiGraphSurface::FillBackground(const PixelRect& rect) {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    FillRect(dc_, &r, pens_.back ? pens_.back.get() : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void GdiGraphSurface::SelectPen(Pen pen) {
    if (HPEN p = pens_.PenFor(pen)) SelectObject(dc_, p);
}

void GdiGraphSurface::SetXor(bool on) {
    if (on) oldRop_ = SetROP2(dc_, R2_XORPEN);
    else if (oldRop_) SetROP2(dc_, oldRop_);
}

bool PaintGraphClip(HDC target, const RECT& clip, GraphCore& graph, const GraphPens& pens, PaintBuffer& buffer) {
    const int w = clip.right - clip.left;
    const int h = clip.bottom - clip.top;
    if (w <= 0 || h <= 0) return false;
    HDC memory = buffer.Get(target, w, h);
    if (!memory) return false;
    const int saved = SaveDC(memory);
    // Window coordinates draw into the bitmap from its top-left corner on.
    SetViewportOrgEx(memory, -clip.left, -clip.top, nullptr);
    {
        GdiGraphSurface surface(memory, pens);
        graph.Draw(surface, {clip.left, clip.top, clip.right, clip.bottom});
    }
    RestoreDC(memory, saved);
    BitBlt(target, clip.left, clip.top, w, h, memory, 0, 0, SRCCOPY);
    return true;
}

}  // namespace graphs
