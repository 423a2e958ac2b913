// GDI side of the graphs: the pens and brush of one graph built from [COLOR], the drawing surface
// over a DC, and the double-buffered paint of a clip box (Win32 only).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "graphs/GraphCore.h"
#include "graphs/StatusBrushes.h"

namespace graphs {

using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, status::GdiObjectDeleter>;

// red | green·256 | blue·65536, each the low 8 bits of its number.
COLORREF ColourOf(const ColorTriple& c);

// The one trigger-level pen of all graphs: solid, 2 pixels, RGB(200,0,0); made on first use and
// deleted at exit.
HPEN TriggerPen();

// The pens and the background brush one graph paints with; rebuilt only when colours change.
struct GraphPens {
    status::UniqueBrush back;
    UniquePen light, dark, hilight, cursor;
    UniquePen thin, thick, psd;  // of the graph's axis

    void Build(const Settings& settings, GraphKind kind, int axis);
    HPEN PenFor(Pen pen) const;
};

class GdiGraphSurface : public GraphSurface {
public:
    GdiGraphSurface(HDC dc, const GraphPens& pens) : dc_(dc), pens_(pens) {}
    void FillBackground(const PixelRect& rect) override;
    void SelectPen(Pen pen) override;
    void MoveTo(int x, int y) override { MoveToEx(dc_, x, y, nullptr); }
    void LineTo(int x, int y) override { ::LineTo(dc_, x, y); }
    void SetXor(bool on) override;

private:
    HDC dc_;
    const GraphPens& pens_;
    int oldRop_ = 0;
};

// A graph's paints keep their off-screen bitmap between paints (status::PaintBuffer).
using PaintBuffer = status::PaintBuffer;

// Paints `clip` (window coordinates) of the graph into `target`: drawn into the buffer's bitmap and
// the clip box copied in one blit. Returns false, leaving `target` as it was, when no memory DC or
// bitmap could be had, or the clip box is empty.
bool PaintGraphClip(HDC target, const RECT& clip, GraphCore& graph, const GraphPens& pens, PaintBuffer& buffer);

}  // namespace graphs
