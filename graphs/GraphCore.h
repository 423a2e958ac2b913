// The graph control's logic without a window: transforms, sweep bookkeeping, scaling and the whole
// drawing, against a small drawing surface and a host that stands for the window.
#pragma once

#include <vector>

#include "analysis/Analysis.h"
#include "config/Settings.h"
#include "pipeline/WaveBuffer.h"
#include "ui/WindowLayout.h"

namespace graphs {

enum class GraphKind { Time, Psd };

using PixelRect = ui::Rect;

// How far from its origin a drawn coordinate may lie: many screens beyond any plot, yet short
// enough that a wide pen's line to there stays cheap (GDI fills such a line along its length).
constexpr int kPixelReach = 1 << 16;

// A double truncated toward zero to a pixel offset; values beyond kPixelReach (and NaN, as 0) are
// clamped first, so data far off a tiny scale neither overflows nor stalls the drawing.
[[nodiscard]] int TruncPixel(double v);

// Maps (x, y) to pixels: px = originX + trunc((x − xMinT)·pxPerX), py = originY − trunc((y − yMinT)·pxPerY).
struct ValueTransform {
    int originX = 0;
    double originXd = 0.0;
    int originY = 0;
    double originYd = 0.0;
    double xMinT = 0.0, yMinT = 0.0;
    double pxPerX = 1.0, pxPerY = 1.0;

    int Px(double x) const { return originX + TruncPixel((x - xMinT) * pxPerX); }
    int Py(double y) const { return originY - TruncPixel((y - yMinT) * pxPerY); }
    // Inverse of Px for visible ranges.
    double X(double px) const { return (px - originX) / pxPerX + xMinT; }
};

struct Transforms {
    ValueTransform value;   // (x in axis units, y)
    ValueTransform sample;  // (sample index, y): index i lands where 10·i ms lands
};

// Both transforms for a plot rectangle and ranges; a plot narrower than 2 pixels or an empty range
// counts as 1 pixel or 1.0, so nothing divides by zero.
[[nodiscard]] Transforms ComputeTransforms(const PixelRect& plot, double xMin, double xMax, double yMin,
                                           double yMax);

// Full scale of the first row whose full scale is strictly greater than `peak`, or of the last row;
// 1.0 for an empty table.
[[nodiscard]] double FullScaleFor(const ScaleTable& table, double peak);
// Grid step of the first row whose full scale is at least `yMax`, or of the last row; 0.2 for an
// empty table.
[[nodiscard]] double GridStepFor(const ScaleTable& table, double yMax);

// The pens a drawing selects; per-axis pens are the graph's own axis.
enum class Pen { Light, Dark, Hilight, Cursor, Trigger, Thin, Thick, Psd };

// Where a graph draws: window coordinates, GDI line semantics (LineTo leaves out its end point).
class GraphSurface {
public:
    virtual ~GraphSurface() = default;
    virtual void FillBackground(const PixelRect& rect) = 0;
    virtual void SelectPen(Pen pen) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Exclusive-or drawing on (the cursor) or back to plain copying.
    virtual void SetXor(bool on) = 0;
};

enum class GraphNotice { YRangeChanged, XRangeChanged, RightClick };

// What the graph needs of its window. All calls come from the user-interface thread.
class GraphHost {
public:
    virtual ~GraphHost() = default;
    virtual bool WindowExists() const = 0;
    // Invalidate with erase: the whole window (null) or one rectangle.
    virtual void Invalidate(const PixelRect* rect) = 0;
    // Paints what is invalid now.
    virtual void UpdateNow() = 0;
    // Sends the notice to the parent with the graph's axis.
    virtual void Notify(GraphNotice notice) = 0;
};

// What every graph reads: the settings, the analysis, the rings and the running flag.
struct GraphContext {
    const Settings* settings = nullptr;
    app::AnalysisState* analysis = nullptr;
    const WaveBuffer* rings = nullptr;  // three rings, X, Y, Z; null = graphs have no ring
    const int* running = nullptr;       // non-zero while a measurement runs; null = never
};

// Points through MinMaxPolyline: consecutive points in one pixel column become one vertical stroke
// from their lowest to their highest pixel; the line enters a column at its first point and
// leaves it from its last; drawing stops once a line reaches `rightLimit`. `point(i, x, y)` gives
// point i of `count` (count ≥ 1).
template <class PointFn>
void MinMaxPolyline(GraphSurface& s, int count, int rightLimit, PointFn point) {
    int prevX = 0, prevY = 0;
    point(0, prevX, prevY);
    s.MoveTo(prevX, prevY);
    int columnCount = 0;
    int low = 0, high = 0;
    for (int i = 1; i < count; ++i) {
        int x = 0, y = 0;
        point(i, x, y);
        if (x == prevX) {
            if (columnCount == 0) low = high = prevY;
            if (y < low) low = y;
            if (y > high) high = y;
            if (i == count - 1) {
                s.MoveTo(prevX, low);
                s.LineTo(prevX, high + 1);
            }
            ++columnCount;
        } else {
            if (columnCount > 0) {
                s.MoveTo(prevX, low);
                s.LineTo(prevX, high + 1);
                s.MoveTo(prevX, prevY);
                columnCount = 0;
            }
            s.LineTo(x, y);
            if (x >= rightLimit) {
                prevX = x;
                prevY = y;
                break;
            }
        }
        prevX = x;
        prevY = y;
    }
    s.MoveTo(prevX, prevY);
    s.LineTo(prevX + 1, prevY);
}

// One graph: a time graph sweeping over its axis's ring, or a PSD graph over its analysis window.
class GraphCore {
public:
    GraphCore(const GraphContext& context, GraphHost& host);

    // Binds kind and axis (0..2): the ring, an empty sweep, x and y range [0, 1], plot (0,0,1,1),
    // the scale table of the kind, fresh transforms.
    void Bind(GraphKind kind, int axis);

    void RecalcTransform();
    // A new client rectangle: the plot is that shrunk by one pixel on every side.
    void OnSize(const PixelRect& client);
    // x range and sweep length from the settings; notifies XRangeChanged when the range or the
    // frequency-axis type changed. A PSD graph whose length changed analyses its window again: no
    // spectrum until a longer window is full.
    void ApplyAxisSettings();
    // y range and grid step from the settings or the data; notifies YRangeChanged on a change.
    void UpdateScale();
    // k new samples were stored in the rings: sweep (time graph) or slide the window and analyse it
    // (PSD graph; as soon as it is full, then every kAnalysisStride samples).
    void AppendSamples(int k);
    // Shows `count` samples from ring index `start`, without a previous sweep.
    void SetWindow(int start, int count);
    // Runs the analysis on the window; true when a new spectrum was stored (a repaint is requested).
    bool RunAnalysis();
    // While measuring, a PSD graph analyses its sliding window again once this many samples came in.
    static constexpr int kAnalysisStride = 10;
    // Invalidates the whole window unless a repaint is pending (or, with `unlessPainting`, a
    // paint runs).
    void RequestFullRepaint(bool unlessPainting = false);

    // Painting: Begin, then Draw when PaintWanted() and the clip box is not empty, then End.
    void BeginPaint() { painting_ = true; }
    bool PaintWanted() const;
    // Draws the graph in window coordinates; only the pixels of `clip` need to come out right.
    void Draw(GraphSurface& surface, const PixelRect& clip);
    void EndPaint() {
        repaintPending_ = false;
        painting_ = false;
    }

    // State for monitors, tests and benchmarks.
    GraphKind Kind() const { return kind_; }
    int Axis() const { return axis_; }
    double XMin() const { return xMin_; }
    double XMax() const { return xMax_; }
    double YMin() const { return yMin_; }
    double YMax() const { return yMax_; }
    double GridStep() const { return gridStep_; }
    double FMin() const { return fMin_; }
    double FMax() const { return fMax_; }
    bool LogX() const { return logX_; }
    const PixelRect& PlotRect() const { return plotRect_; }
    const ValueTransform& Value() {
        if (!transformValid_) RecalcTransform();
        return transforms_.value;
    }
    const ValueTransform& Sample() {
        if (!transformValid_) RecalcTransform();
        return transforms_.sample;
    }
    int SweepStart() const { return sweepStart_; }
    int SweepCount() const { return sweepCount_; }
    int PrevStart() const { return prevStart_; }
    int SweepLength() const { return sweepLength_; }
    const WaveBuffer* Wave() const { return wave_; }
    const app::PsdResult& Psd() const { return psd_; }
    bool RepaintPending() const { return repaintPending_; }
    bool Painting() const { return painting_; }
    // Inside AppendSamples, which ends with the host's UpdateNow: what it invalidates can be drawn
    // then, without WM_PAINT.
    bool Appending() const { return appending_; }
    // The first sample index of the previous sweep that is drawn: 8 pixels right of the current
    // position.
    int GapStart();

private:
    void DrawTime(GraphSurface& s, const PixelRect& clip);
    void DrawPsd(GraphSurface& s, const PixelRect& clip);
    void DrawHorizontalGrid(GraphSurface& s);
    void DrawVerticalLine(GraphSurface& s, int px);
    void DrawHorizontalLine(GraphSurface& s, int py);
    void DrawSweep(GraphSurface& s, int ringStart, int a, int b);
    // A PSD window longer than the analysis length keeps only its newest sweepLength samples.
    void FitWindowToLength();
    double TriggerLevel() const;
    double FixedFullScale() const;
    double RecentPeak() const;
    app::AnalysisWindow AnalysisWindow() const;

    GraphContext context_;
    GraphHost& host_;

    int axis_ = 0;
    bool transformValid_ = false;
    Transforms transforms_;
    double xMin_ = 0.0, xMax_ = 1.0;
    double yMin_ = 0.0, yMax_ = 1.0;
    PixelRect plotRect_{0, 0, 1, 1};
    const ScaleTable* scaleTable_ = nullptr;
    double gridStep_ = 0.2;
    bool repaintPending_ = true;  // cleared by the first paint
    bool painting_ = false;
    bool appending_ = false;
    const WaveBuffer* wave_ = nullptr;
    int sweepStart_ = 0;
    int sweepCount_ = 0;
    int prevStart_ = -1;  // -1 = no previous sweep
    int sweepLength_ = 0;
    double fMin_ = 0.0, fMax_ = 0.0;
    app::PsdResult psd_;
    GraphKind kind_ = GraphKind::Time;
    bool logX_ = false;
    int samplesSinceAnalysis_ = 0;  // samples appended since the last analysis (PSD graph)
};

}  // namespace graphs
