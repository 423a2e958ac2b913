// The graph control's logic: transforms, scaling, sweeps and drawing.
#include "graphs/GraphCore.h"

#include <algorithm>
#include <cmath>

#include "analysis/AnalysisFromSettings.h"

namespace graphs {

namespace {

constexpr double kIndexLimit = 1e8;  // sample indices and milliseconds: far beyond any sweep, well inside int
constexpr int kGapPixels = 8;        // between the current sweep and the previous one
constexpr int kMaxGridLines = 10000; // per direction; more would only fill the plot

int Ring(int start, int i, int capacity) {
    return static_cast<int>((static_cast<long long>(start) + i) % capacity);
}

int TruncClamped(double v, double limit) {
    if (!(v == v)) return 0;  // NaN
    if (v > limit) v = limit;
    if (v < -limit) v = -limit;
    return static_cast<int>(v);
}

// Floor and ceiling of a sample index or time as int.
int FloorInt(double v) { return TruncClamped(std::floor(v), kIndexLimit); }
int CeilInt(double v) { return TruncClamped(std::ceil(v), kIndexLimit); }

}  // namespace

int TruncPixel(double v) { return TruncClamped(v, kPixelReach); }

Transforms ComputeTransforms(const PixelRect& plot, double xMin, double xMax, double yMin, double yMax) {
    int w = plot.right - 1 - plot.left;
    int h = plot.bottom - 1 - plot.top;
    if (w <= 0) w = 1;
    if (h <= 0) h = 1;
    double xr = xMax - xMin;
    double yr = yMax - yMin;
    if (!(xr > 0)) xr = 1.0;
    if (!(yr > 0)) yr = 1.0;
    Transforms t;
    for (ValueTransform* v : {&t.value, &t.sample}) {
        v->originX = plot.left;
        v->originXd = plot.left;
        v->originY = plot.top + h;
        v->originYd = plot.top + h;
        v->yMinT = yMin;
        v->pxPerY = h / yr;
    }
    t.value.xMinT = xMin;
    t.value.pxPerX = w / xr;
    t.sample.xMinT = xMin / 10;
    t.sample.pxPerX = w / (xr / 10);
    return t;
}

double FullScaleFor(const ScaleTable& table, double peak) {
    if (table.rows.empty()) return 1.0;
    for (const ScaleRow& row : table.rows)
        if (row.fullScale > peak) return row.fullScale;
    return table.rows.back().fullScale;
}

double GridStepFor(const ScaleTable& table, double yMax) {
    if (table.rows.empty()) return 0.2;
    for (const ScaleRow& row : table.rows)
        if (row.fullScale >= yMax) return row.gridStep;
    return table.rows.back().gridStep;
}

GraphCore::GraphCore(const GraphContext& context, GraphHost& host) : context_(context), host_(host) {
    RecalcTransform();
}

void GraphCore::Bind(GraphKind kind, int axis) {
    kind_ = kind;
    axis_ = std::clamp(axis, 0, 2);
    wave_ = context_.rings ? &context_.rings[axis_] : nullptr;
    sweepStart_ = sweepCount_ = 0;
    prevStart_ = -1;
    xMin_ = yMin_ = 0.0;
    xMax_ = yMax_ = 1.0;
    plotRect_ = {0, 0, 1, 1};
    scaleTable_ = context_.settings ? (kind == GraphKind::Psd ? &context_.settings->psdTable
                                                              : &context_.settings->accTable)
                                    : nullptr;
    RecalcTransform();
}

void GraphCore::RecalcTransform() {
    transforms_ = ComputeTransforms(plotRect_, xMin_, xMax_, yMin_, yMax_);
    transformValid_ = true;
}

void GraphCore::RequestFullRepaint(bool unlessPainting) {
    if (repaintPending_ || (unlessPainting && painting_) || !host_.WindowExists()) return;
    repaintPending_ = true;
    host_.Invalidate(nullptr);
}

void GraphCore::OnSize(const PixelRect& client) {
    const PixelRect candidate{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    if (candidate == plotRect_) return;
    plotRect_ = candidate;
    transformValid_ = false;
    RequestFullRepaint(true);
}

void GraphCore::ApplyAxisSettings() {
    const Settings& s = *context_.settings;
    const app::AnalysisState& a = *context_.analysis;
    const int oldLength = sweepLength_;
    sweepLength_ = a.analysisLength;
    double newMin = 0.0, newMax = 0.0;
    bool newLog = logX_;
    if (kind_ == GraphKind::Time) {
        newMax = 1000.0 * app::AnalysisSettingsFrom(s).displayTime;
    } else {
        psd_.psdValues.resize(static_cast<size_t>(std::max(a.analysisLength, 0) / 2));
        const double top = std::ceil(a.fMaxAnalysed);
        switch (s.xType) {
        case 1: fMin_ = 0.0; fMax_ = 1.0; break;
        case 2: fMin_ = 0.0; fMax_ = 5.0; break;
        case 3: fMin_ = 0.0; fMax_ = 10.0; break;
        case 4: fMin_ = 0.0; fMax_ = 20.0; break;
        case 5: fMin_ = 0.0; fMax_ = top; break;
        default: fMin_ = 0.1; fMax_ = top; break;
        }
        newLog = s.xType < 1 || s.xType > 5;
        if (newLog) {
            newMin = -1.0;
            // A ceiling below 0.1 Hz (no analysis) would give an empty logarithmic range.
            newMax = fMax_ > 0 ? std::log10(fMax_) : 0.0;
        } else {
            newMin = fMin_;
            newMax = fMax_;
        }
    }
    if (kind_ == GraphKind::Psd && sweepLength_ != oldLength) {
        // The spectrum of the old length belongs to another frequency table. The window takes the
        // new length at once: a shorter one is analysed now, a longer one shows no spectrum (and
        // the monitor empty value fields) until it is full, as after a start.
        FitWindowToLength();
        RunAnalysis();
        RequestFullRepaint(true);
    }
    if (newMin == xMin_ && newMax == xMax_ && newLog == logX_) return;
    transformValid_ = false;
    xMin_ = newMin;
    xMax_ = newMax;
    logX_ = newLog;
    host_.Notify(GraphNotice::XRangeChanged);
    RequestFullRepaint(true);
}

double GraphCore::FixedFullScale() const {
    const Settings& s = *context_.settings;
    if (axis_ == 2) return s.accz[static_cast<size_t>(std::clamp(s.acczSel, 0, 7))];
    return s.acc[static_cast<size_t>(std::clamp(s.accSel, 0, 7))];
}

double GraphCore::RecentPeak() const {
    const int capacity = wave_->Capacity();
    if (capacity <= 0) return 0.0;
    int start = 0, count = 0;
    if (prevStart_ == -1) {
        start = sweepStart_;
        count = sweepCount_;
    } else {
        start = static_cast<int>((static_cast<long long>(wave_->oldestIndex) + wave_->heldCount - sweepLength_) % capacity);
        if (start < 0) start = 0;
        count = sweepLength_;
    }
    count = std::min(count, capacity);
    if (count <= 0 || start < 0) return 0.0;
    double lo = 0.0, hi = 0.0;
    bool any = false;
    const double* samples = wave_->samples.data();
    // Two plain runs instead of a modulo per sample.
    const int first = std::min(count, capacity - start % capacity);
    auto scan = [&](int from, int n) {
        for (int i = from; i < from + n; ++i) {
            const double v = samples[i];
            if (!any) {
                lo = hi = v;
                any = true;
            } else if (v < lo) {
                lo = v;
            } else if (v > hi) {
                hi = v;
            }
        }
    };
    scan(start % capacity, first);
    scan(0, count - first);
    return std::max(std::fabs(lo), std::fabs(hi));
}

void GraphCore::UpdateScale() {
    const Settings& s = *context_.settings;
    double newMin = 0.0, newMax = 0.0;
    const ScaleTable empty;
    const ScaleTable& table = scaleTable_ ? *scaleTable_ : empty;
    if (kind_ == GraphKind::Psd) {
        newMax = FullScaleFor(table, psd_.psdPeak);
    } else if (s.accAuto == 0) {
        newMax = FixedFullScale();
        newMin = -newMax;
    } else if (!wave_) {
        newMin = -1.0;
        newMax = 1.0;
    } else {
        newMax = FullScaleFor(table, RecentPeak());
        newMin = -newMax;
    }
    if (newMin == yMin_ && newMax == yMax_) return;
    transformValid_ = false;
    yMin_ = newMin;
    yMax_ = newMax;
    gridStep_ = GridStepFor(table, newMax);
    host_.Notify(GraphNotice::YRangeChanged);
    RequestFullRepaint(true);
}

void GraphCore::SetWindow(int start, int count) {
    sweepStart_ = start;
    sweepCount_ = count;
    prevStart_ = -1;
    RequestFullRepaint();
}

app::AnalysisWindow GraphCore::AnalysisWindow() const {
    app::AnalysisWindow w;
    if (wave_) {
        w.samples = wave_->samples.data();
        w.capacity = wave_->Capacity();
        w.oldestIndex = wave_->oldestIndex;
        w.heldCount = wave_->heldCount;
    }
    w.start = sweepStart_;
    w.count = sweepCount_;
    w.length = sweepLength_;
    return w;
}

bool GraphCore::RunAnalysis() {
    samplesSinceAnalysis_ = 0;
    const bool fresh = app::ComputeSpectrum(*context_.analysis, app::AnalysisSettingsFrom(*context_.settings),
                                            AnalysisWindow(), psd_);
    if (fresh) RequestFullRepaint();
    return fresh;
}

void GraphCore::FitWindowToLength() {
    if (sweepCount_ <= sweepLength_) return;
    const int capacity = wave_ ? wave_->Capacity() : 0;
    if (capacity > 0) sweepStart_ = Ring(sweepStart_, (sweepCount_ - sweepLength_) % capacity, capacity);
    sweepCount_ = std::max(sweepLength_, 0);
}

void GraphCore::AppendSamples(int k) {
    if (k <= 0) return;
    appending_ = true;
    struct EndAppending {
        bool& flag;
        ~EndAppending() { flag = false; }
    } endAppending{appending_};
    const int capacity = wave_ ? wave_->Capacity() : 0;
    if (kind_ == GraphKind::Psd) {
        sweepCount_ += k;
        FitWindowToLength();
        // A spectrum per 100 ms of data is as often as anyone can read it; the first one comes as
        // soon as the window is full. (A window that is not full has no spectrum to compute.)
        samplesSinceAnalysis_ += k;
        const bool full = sweepCount_ >= sweepLength_ && sweepLength_ > 0;
        if (full && (!psd_.psdValid || samplesSinceAnalysis_ >= kAnalysisStride)) {
            if (RunAnalysis()) UpdateScale();
        }
        host_.UpdateNow();
        return;
    }
    const int oldCount = sweepCount_;
    sweepCount_ += k;
    const int length = std::max(sweepLength_, 1);  // a sweep holds at least one sample
    if (sweepCount_ > length) {
        prevStart_ = sweepStart_;
        const long long q = sweepCount_ / length;
        if (capacity > 0) sweepStart_ = static_cast<int>((sweepStart_ + q * length) % capacity);
        sweepCount_ %= length;
        RequestFullRepaint();
    }
    if (context_.settings->accAuto != 0) UpdateScale();
    const ValueTransform& t = Sample();
    PixelRect band{std::max(plotRect_.left, t.Px(oldCount - 1) - 2), plotRect_.top,
                   std::min(plotRect_.right, t.Px(sweepCount_) + 10), plotRect_.bottom};
    if (band.right > band.left && host_.WindowExists()) host_.Invalidate(&band);
    host_.UpdateNow();
}

int GraphCore::GapStart() {
    const ValueTransform& t = Sample();
    return CeilInt((TruncPixel((sweepCount_ - t.xMinT) * t.pxPerX) + kGapPixels) / t.pxPerX + t.xMinT);
}

bool GraphCore::PaintWanted() const {
    return !(kind_ == GraphKind::Psd && context_.settings->psdFlg == 0);
}

double GraphCore::TriggerLevel() const {
    const Settings& s = *context_.settings;
    return axis_ == 0 ? s.valX : (axis_ == 1 ? s.valY : s.valZ);
}

void GraphCore::Draw(GraphSurface& surface, const PixelRect& clip) {
    if (!transformValid_) RecalcTransform();
    if (kind_ == GraphKind::Time) DrawTime(surface, clip);
    else DrawPsd(surface, clip);
}

void GraphCore::DrawVerticalLine(GraphSurface& s, int px) {
    s.MoveTo(px, plotRect_.top);
    s.LineTo(px, plotRect_.bottom);
}

void GraphCore::DrawHorizontalLine(GraphSurface& s, int py) {
    s.MoveTo(plotRect_.left, py);
    s.LineTo(plotRect_.right, py);
}

void GraphCore::DrawHorizontalGrid(GraphSurface& s) {
    s.SelectPen(Pen::Light);
    const ValueTransform& v = transforms_.value;
    if (!(gridStep_ > 0)) return;
    for (int k = 1; k <= kMaxGridLines && k * gridStep_ <= yMax_; ++k) DrawHorizontalLine(s, v.Py(k * gridStep_));
    for (int k = -1; k >= -kMaxGridLines && k * gridStep_ >= yMin_; --k) DrawHorizontalLine(s, v.Py(k * gridStep_));
}

void GraphCore::DrawSweep(GraphSurface& s, int ringStart, int a, int b) {
    const double* samples = wave_->samples.data();
    const int capacity = wave_->Capacity();
    const ValueTransform& t = transforms_.sample;
    MinMaxPolyline(s, b - a, plotRect_.right, [&](int i, int& x, int& y) {
        const int index = a + i;
        x = t.Px(index);
        y = t.Py(samples[Ring(ringStart, index, capacity)]);
    });
}

void GraphCore::DrawTime(GraphSurface& s, const PixelRect& clip) {
    const Settings& settings = *context_.settings;
    const PixelRect client{plotRect_.left - 1, plotRect_.top - 1, plotRect_.right + 1, plotRect_.bottom + 1};
    s.FillBackground(client);
    const ValueTransform& v = transforms_.value;
    if (settings.memoryDisp != 0) {
        const int tFirst = FloorInt(v.X(clip.left)) / 1000 * 1000;
        const int tLast = CeilInt(v.X(clip.right)) / 1000 * 1000;
        int lastPx = clip.left - 1;
        for (long long t = tFirst; t <= tLast; t += 1000) {
            const int px = v.Px(static_cast<double>(t));
            // A display time longer than the plot is wide puts many seconds in one column: one line there.
            if (px < clip.left || px >= clip.right || px == lastPx) continue;
            lastPx = px;
            s.SelectPen(t % 5000 == 0 ? Pen::Light : Pen::Dark);
            DrawVerticalLine(s, px);
        }
        DrawHorizontalGrid(s);
    }
    s.SelectPen(Pen::Hilight);
    DrawHorizontalLine(s, v.Py(0.0));
    if (settings.trigMode != 0) {
        const double level = TriggerLevel();
        s.SelectPen(Pen::Trigger);
        DrawHorizontalLine(s, v.Py(level));
        DrawHorizontalLine(s, v.Py(-level));
    }
    if (!wave_ || clip.Width() <= 0 || wave_->Capacity() <= 0) return;
    const ValueTransform& t = transforms_.sample;
    // Two samples to the left, not one: the 2-pixel pen of the segment before reaches into the
    // clip box's first column, and a band must come out as the whole picture would.
    const int iFirst = FloorInt(t.X(clip.left)) - 2;
    const int iLast = CeilInt(t.X(clip.right)) + 1;
    if (iFirst <= sweepCount_ && iLast >= 0) {
        const int a = std::max(iFirst, 0);
        const int b = std::min(iLast, sweepCount_);
        s.SelectPen(Pen::Thick);
        if (b - a >= 2) DrawSweep(s, sweepStart_, a, b);
    }
    if (prevStart_ >= 0) {
        const int gapStart = GapStart();
        if (iFirst <= sweepLength_ && iLast >= gapStart) {
            const int a = std::max(iFirst, gapStart);
            const int b = std::min(iLast, sweepLength_);
            s.SelectPen(Pen::Thin);
            if (b - a >= 2) DrawSweep(s, prevStart_, a, b);
        }
    }
    if (context_.running && *context_.running) {
        const int x = t.Px(sweepCount_) + 2;
        s.SetXor(true);
        s.SelectPen(Pen::Cursor);
        DrawVerticalLine(s, x);
        s.SetXor(false);
    }
}

void GraphCore::DrawPsd(GraphSurface& s, const PixelRect&) {
    const Settings& settings = *context_.settings;
    const app::AnalysisState& analysis = *context_.analysis;
    const PixelRect client{plotRect_.left - 1, plotRect_.top - 1, plotRect_.right + 1, plotRect_.bottom + 1};
    s.FillBackground(client);
    const ValueTransform& v = transforms_.value;
    if (settings.memoryDisp != 0) {
        if (!logX_) {
            const int lo = CeilInt(fMin_);
            const int hi = FloorInt(fMax_);
            const int step = hi <= 5 ? 1 : (hi <= 10 ? 2 : 5);
            for (int f = lo; f <= hi; f += step) {
                s.SelectPen(hi > 10 && f % 10 != 0 ? Pen::Dark : Pen::Light);
                DrawVerticalLine(s, v.Px(f));
            }
        } else {
            const double base = fMin_ > 0 ? fMin_ : analysis.df;
            // Without a positive base there is no decade to start from (and no end to the loop).
            if (base > 0 && std::isfinite(base)) {
                for (double d = std::pow(10.0, std::floor(std::log10(base))); fMax_ >= d; d *= 10) {
                    for (int k = 1; k <= 9; ++k) {
                        s.SelectPen(k == 1 ? Pen::Light : Pen::Dark);
                        DrawVerticalLine(s, v.Px(std::log10(k * d)));
                    }
                }
            }
        }
        DrawHorizontalGrid(s);
    }
    if (!psd_.psdValid) return;
    const std::vector<double>& table = logX_ ? analysis.logFreqTable : analysis.freqTable;
    const int first = logX_ ? 1 : 0;  // log10(0) is not a place on the axis
    const int m = static_cast<int>(std::min(table.size(), psd_.psdValues.size()));
    if (m - first < 2) return;
    s.SelectPen(Pen::Psd);
    MinMaxPolyline(s, m - first, plotRect_.right, [&](int i, int& x, int& y) {
        x = v.Px(table[static_cast<size_t>(first + i)]);
        y = v.Py(psd_.psdValues[static_cast<size_t>(first + i)]);
    });
}

}  // namespace graphs
