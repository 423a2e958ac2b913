// The graph control's logic: transforms, scaling, sweeps and what the drawing puts where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/RasterSurface.h"
#include "graphs/GraphFixture.h"
#include "graphs/MonitorText.h"

using graphs::GraphKind;
using graphs::GraphNotice;
using graphs::Pen;
using graphs::PixelRect;

namespace {

constexpr RasterSurface::Colour kBack = 0x800000, kLight = 0xC8C0C0, kDark = 0xA44040, kHilight = 0xFFFFFF,
                                kTrace = 0x00FF00, kTrigger = 0x0000C8, kCursor = 0x0F0F0F, kPsd = 0x00FFFF;

RasterSurface Canvas(int width, int height, int originX = 0, int originY = 0) {
    RasterSurface s(width, height, originX, originY);
    s.SetBackground(kBack);
    s.SetPen(Pen::Light, kLight);
    s.SetPen(Pen::Dark, kDark);
    s.SetPen(Pen::Hilight, kHilight);
    s.SetPen(Pen::Cursor, kCursor);
    s.SetPen(Pen::Trigger, kTrigger, 2);
    s.SetPen(Pen::Thin, kTrace);
    s.SetPen(Pen::Thick, kTrace, 2);
    s.SetPen(Pen::Psd, kPsd);
    return s;
}

// Lines as drawn: pen and end points (the end point itself left out).
struct Segment {
    Pen pen;
    int x0, y0, x1, y1;
};
struct RecordingSurface : graphs::GraphSurface {
    std::vector<Segment> segments;
    Pen pen = Pen::Light;
    int x = 0, y = 0;
    void FillBackground(const PixelRect&) override {}
    void SelectPen(Pen p) override { pen = p; }
    void MoveTo(int nx, int ny) override { x = nx, y = ny; }
    void LineTo(int nx, int ny) override {
        segments.push_back({pen, x, y, nx, ny});
        x = nx, y = ny;
    }
    void SetXor(bool) override {}
    std::vector<Segment> Vertical(Pen p) const {
        std::vector<Segment> v;
        for (const Segment& s : segments)
            if (s.pen == p && s.x0 == s.x1) v.push_back(s);
        return v;
    }
};

std::vector<double> Constant(int n, double v) { return std::vector<double>(static_cast<size_t>(n), v); }

// A time graph with 1 pixel per sample (10 s over a 1000-pixel plot) and 50 pixels per gal at ±2.
struct TimeGraph : GraphFixture {
    TimeGraph() : GraphFixture(GraphKind::Time, 0, 10.0, 6000, 1003, 203) {}
    RasterSurface Paint() {
        RasterSurface s = Canvas(1003, 203);
        graph.Draw(s, {0, 0, 1003, 203});
        return s;
    }
};

}  // namespace

TEST(GraphTransform, TruncatesTowardZeroAndNeverDividesByZero) {
    const graphs::Transforms t = graphs::ComputeTransforms({1, 1, 1002, 202}, 0, 10000, -2, 2);
    EXPECT_EQ(t.value.Px(0), 1);
    EXPECT_EQ(t.value.Px(10000), 1001);
    EXPECT_EQ(t.value.Px(9999), 1000);
    EXPECT_EQ(t.value.Px(-5), 1);  // −0.5 pixel truncates to 0, not to −1
    EXPECT_EQ(t.value.Py(2), 1);
    EXPECT_EQ(t.value.Py(-2), 201);
    EXPECT_EQ(t.value.Py(-2.01), 201);
    EXPECT_EQ(t.sample.Px(1000), t.value.Px(10000));
    EXPECT_DOUBLE_EQ(t.value.X(1001), 10000);

    const graphs::Transforms flat = graphs::ComputeTransforms({5, 5, 5, 5}, 3, 3, 1, 1);
    EXPECT_DOUBLE_EQ(flat.value.pxPerX, 1.0);
    EXPECT_DOUBLE_EQ(flat.value.pxPerY, 1.0);
    EXPECT_EQ(graphs::TruncPixel(1e300), graphs::TruncPixel(1e9));  // saturates
    EXPECT_EQ(graphs::TruncPixel(std::nan("")), 0);
}

TEST(GraphScale, TablesAndGridStep) {
    Settings s;
    s.accTable.rows.assign(kDefaultAccRows.begin(), kDefaultAccRows.end());
    s.psdTable.rows.assign(kDefaultPsdRows.begin(), kDefaultPsdRows.end());
    EXPECT_EQ(graphs::FullScaleFor(s.accTable, 3.0), 5);
    EXPECT_EQ(graphs::GridStepFor(s.accTable, 5), 1);
    EXPECT_EQ(graphs::FullScaleFor(s.accTable, 5.0), 10);  // equal to a row: the next one
    EXPECT_EQ(graphs::FullScaleFor(s.accTable, 1e9), 2000);
    EXPECT_EQ(graphs::GridStepFor(s.accTable, 1e9), 500);
    EXPECT_EQ(graphs::GridStepFor(s.accTable, 3), 1);  // first row with full scale ≥ 3
    EXPECT_EQ(graphs::FullScaleFor(s.psdTable, 0.5), 1);
    EXPECT_EQ(graphs::GridStepFor(s.psdTable, 1), 0.2);
}

TEST(GraphScale, AutomaticAndFixedOnTheGraph) {
    TimeGraph f;
    EXPECT_EQ(f.graph.YMax(), 2);  // empty ring: the first row
    f.Feed({1.0, -3.0, 2.0});
    EXPECT_EQ(f.graph.YMin(), -5);
    EXPECT_EQ(f.graph.YMax(), 5);
    EXPECT_EQ(f.graph.GridStep(), 1);
    ASSERT_EQ(f.host.notices.size(), 1u);
    EXPECT_EQ(f.host.notices[0], GraphNotice::YRangeChanged);
    f.Feed({4.0});  // still within ±5: no notice, grid untouched
    EXPECT_EQ(f.host.notices.size(), 1u);

    f.settings.accAuto = 0;
    f.settings.accSel = 2;
    f.settings.acczSel = 4;
    f.graph.UpdateScale();
    EXPECT_EQ(f.graph.YMax(), f.settings.acc[2]);
    EXPECT_EQ(f.graph.YMin(), -f.settings.acc[2]);

    GraphFixture z(GraphKind::Time, 2);
    z.settings.accAuto = 0;
    z.settings.acczSel = 4;
    z.graph.UpdateScale();
    EXPECT_EQ(z.graph.YMax(), z.settings.accz[4]);

    // Without rings the automatic range is ±1 and nothing is drawn.
    GraphFixture none;
    graphs::GraphCore bare({&none.settings, &none.analysis, nullptr, &none.running}, none.host);
    bare.Bind(GraphKind::Time, 0);
    bare.UpdateScale();
    EXPECT_EQ(bare.YMax(), 1);
    EXPECT_EQ(bare.YMin(), -1);
}

TEST(GraphSweep, WrapsOnlyPastAFullSweepAndSkipsWholeSweeps) {
    TimeGraph f;
    f.host.graph = &f.graph;
    f.Feed(Constant(10, 0.5));
    ASSERT_EQ(f.host.bands.size(), 1u);
    EXPECT_EQ(f.host.bands[0], (PixelRect{1, 1, 21, 202}));  // left edge .. pixel of 10 + 10
    f.Feed(Constant(10, 0.5));
    EXPECT_EQ(f.host.bands[1], (PixelRect{8, 1, 31, 202}));  // pixel of 9 − 2 .. pixel of 20 + 10
    EXPECT_EQ(f.host.updates, 2);

    f.Feed(Constant(980, 0.5));
    EXPECT_EQ(f.graph.SweepCount(), 1000);  // complete, not yet wrapped
    EXPECT_EQ(f.graph.PrevStart(), -1);
    EXPECT_EQ(f.host.fullInvalidations, 0);

    f.Feed(Constant(1, 0.5));
    EXPECT_EQ(f.graph.PrevStart(), 0);
    EXPECT_EQ(f.graph.SweepStart(), 1000);
    EXPECT_EQ(f.graph.SweepCount(), 1);
    EXPECT_EQ(f.host.fullInvalidations, 1);
    // The wrap's repaint is asked for inside the batch, so the window may draw it at once.
    EXPECT_EQ(f.host.wholeWhileAppending, std::vector<bool>{true});
    EXPECT_FALSE(f.graph.Appending());

    f.graph.EndPaint();
    f.Feed(Constant(2500, 0.5));  // 2501 samples: two whole sweeps and 501
    EXPECT_EQ(f.graph.SweepStart(), 3000);
    EXPECT_EQ(f.graph.SweepCount(), 501);
    EXPECT_EQ(f.graph.PrevStart(), 1000);

    f.graph.SetWindow(42, 7);
    EXPECT_EQ(f.graph.PrevStart(), -1);
    EXPECT_EQ(f.graph.SweepStart(), 42);
}

TEST(GraphDrawing, GridZeroLineAndTriggerLevels) {
    TimeGraph f;
    f.settings.trigMode = 1;
    f.settings.valX = 1.0;
    RasterSurface s = f.Paint();
    EXPECT_EQ(s.At(51, 60), kBack);
    EXPECT_EQ(s.At(101, 60), kDark);    // 1000 ms
    EXPECT_EQ(s.At(501, 60), kLight);   // 5000 ms: light
    EXPECT_EQ(s.At(1, 60), kLight);     // 0 ms
    EXPECT_EQ(s.At(300, 76), kLight);   // +0.5 gal (grid step 0.5 at ±2)
    EXPECT_EQ(s.At(300, 176), kLight);  // −1.5 gal
    EXPECT_EQ(s.At(300, 101), kHilight);  // zero line
    EXPECT_EQ(s.At(300, 51), kTrigger);   // +level
    EXPECT_EQ(s.At(300, 151), kTrigger);  // −level
    EXPECT_EQ(s.At(0, 0), kBack);         // background fills the whole client area

    f.settings.memoryDisp = 0;
    f.settings.trigMode = 0;
    s = f.Paint();
    EXPECT_EQ(s.At(101, 60), kBack);
    EXPECT_EQ(s.At(300, 76), kBack);
    EXPECT_EQ(s.At(300, 101), kHilight);
    EXPECT_EQ(s.At(300, 51), kBack);
}

TEST(GraphDrawing, PreviousSweepBeginsEightPixelsRightOfTheCurrentOne) {
    TimeGraph f;
    f.settings.memoryDisp = 0;
    f.running = 0;
    f.Feed(Constant(1000, 1.0));
    f.Feed(Constant(100, -1.0));  // wrapped: current sweep 0..99 at −1, previous at +1
    RasterSurface s = f.Paint();
    EXPECT_EQ(s.RowsOf(50, kTrace), (std::vector<int>{151, 152}));  // current: 2 pixels wide
    EXPECT_EQ(f.graph.GapStart(), 108);
    for (int x = 102; x < 109; ++x) EXPECT_TRUE(s.RowsOf(x, kTrace).empty()) << "column " << x;
    EXPECT_EQ(s.RowsOf(109, kTrace), (std::vector<int>{51}));  // previous: 1 pixel, same colour
    EXPECT_EQ(s.RowsOf(900, kTrace), (std::vector<int>{51}));

    f.running = 1;
    s = f.Paint();
    EXPECT_EQ(s.At(103, 60), kBack ^ kCursor);  // the cursor: 2 pixels right of the position
}

TEST(GraphDrawing, OnlyTheInvalidatedBandIsDrawnIntoTheClip) {
    TimeGraph f;
    std::vector<double> ramp(300);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = std::sin(i * 0.1);
    f.Feed(ramp);
    RasterSurface whole = f.Paint();
    const PixelRect band{40, 0, 60, 203};
    RasterSurface box = Canvas(band.Width(), band.Height(), band.left, band.top);
    f.graph.Draw(box, band);
    for (int x = band.left; x < band.right; ++x)
        for (int y = band.top; y < band.bottom; ++y) ASSERT_EQ(box.At(x, y), whole.At(x, y)) << x << "," << y;
    EXPECT_LT(box.Lines(), whole.Lines() / 5);  // drawing stays inside the band's samples
}

// Settings edited by hand can ask for a tiny full scale or a display time of days. What reaches the
// surface must stay near the plot and one grid line per column, or painting stalls the program.
TEST(GraphDrawing, WildScalesAndDisplayTimesStayNearThePlot) {
    TimeGraph f;
    f.settings.accAuto = 0;
    f.settings.acc[static_cast<size_t>(f.settings.accSel)] = 1e-300;
    f.settings.trigMode = 1;
    f.graph.UpdateScale();
    std::vector<double> swing(500);
    for (size_t i = 0; i < swing.size(); ++i) swing[i] = i % 2 ? 100.0 : -100.0;
    f.Feed(swing);
    RecordingSurface rec;
    f.graph.Draw(rec, {0, 0, 1003, 203});
    int farthest = 0;
    for (const Segment& g : rec.segments)
        for (int c : {g.x0, g.y0, g.x1, g.y1}) farthest = std::max(farthest, std::abs(c));
    EXPECT_LE(farthest, 100000);

    GraphFixture days(GraphKind::Time, 0, 1e6, 6000, 1003, 203);
    RecordingSurface grid;
    days.graph.Draw(grid, {0, 0, 1003, 203});
    EXPECT_LE(grid.Vertical(Pen::Light).size() + grid.Vertical(Pen::Dark).size(), 1003u);
}

TEST(MinMaxPolyline, OneStrokePerColumnExtremesKeptNoGaps) {
    RasterSurface s = Canvas(20, 120);
    s.SelectPen(Pen::Thin);
    // 10 points per column over 8 columns, with a spike in each column.
    const int n = 80;
    auto point = [](int i, int& x, int& y) {
        x = 2 + i / 10;
        y = 50 + ((i * 37) % 23) - 11 + (i % 10 == 4 ? 40 : 0) - (i % 10 == 7 ? 45 : 0);
    };
    graphs::MinMaxPolyline(s, n, 100, point);
    EXPECT_LE(s.Lines(), 2 * 8 + 1);
    std::vector<int> lowest(8, 1000), highest(8, -1000);
    for (int i = 0; i < n; ++i) {
        int x, y;
        point(i, x, y);
        lowest[x - 2] = std::min(lowest[x - 2], y);
        highest[x - 2] = std::max(highest[x - 2], y);
    }
    for (int c = 0; c < 8; ++c) {
        const std::vector<int> rows = s.RowsOf(2 + c, kTrace);
        ASSERT_FALSE(rows.empty()) << "column " << c;
        EXPECT_EQ(rows.back() - rows.front() + 1, static_cast<int>(rows.size())) << "one stroke in column " << c;
        EXPECT_LE(rows.front(), lowest[c]);
        EXPECT_GE(rows.back(), highest[c]);
        if (c > 0) {
            const std::vector<int> left = s.RowsOf(1 + c, kTrace);
            EXPECT_TRUE(rows.front() <= left.back() + 1 && left.front() <= rows.back() + 1) << "gap before " << c;
        }
    }
    EXPECT_TRUE(s.RowsOf(1, kTrace).empty());
    EXPECT_TRUE(s.RowsOf(10, kTrace).empty());
}

TEST(PsdDrawing, GridsAndTheLogAxisWithoutBinZero) {
    GraphFixture f(GraphKind::Psd, 1, 10.0, 6000, 1003, 203);
    std::vector<double> sine(1000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = 3.0 * std::sin(2 * 3.14159265358979323846 * 2.0 * i / 100.0);
    f.Feed(sine);
    ASSERT_TRUE(f.graph.Psd().psdValid);
    EXPECT_NEAR(f.graph.Psd().psdPeakFreq, 2.0, 1e-9);
    EXPECT_EQ(f.graph.YMax(), 4);  // a 3 gal line on the PSD table

    RecordingSurface logAxis;
    f.graph.Draw(logAxis, {0, 0, 1003, 203});
    EXPECT_TRUE(f.graph.LogX());
    int lightLines = 0;
    for (const Segment& s : logAxis.Vertical(Pen::Light)) lightLines += s.y0 == f.graph.PlotRect().top;
    EXPECT_EQ(logAxis.Vertical(Pen::Dark).size(), 3u * 8);  // 0.1, 1 and 10 Hz decades up to 50 Hz
    EXPECT_EQ(lightLines, 3);
    int leftmost = 1 << 30;
    for (const Segment& s : logAxis.segments)
        if (s.pen == Pen::Psd) leftmost = std::min({leftmost, s.x0, s.x1});
    EXPECT_EQ(leftmost, f.graph.PlotRect().left);  // bin 1 (0.1 Hz) at the left edge, bin 0 nowhere

    auto xs = [&](int type, Pen pen) {
        f.settings.xType = type;
        f.graph.ApplyAxisSettings();
        RecordingSurface r;
        f.graph.Draw(r, {0, 0, 1003, 203});
        std::vector<int> v;
        for (const Segment& s : r.Vertical(pen))
            if (s.y0 == f.graph.PlotRect().top) v.push_back(s.x0);
        return v;
    };
    EXPECT_EQ(xs(2, Pen::Light), (std::vector<int>{1, 201, 401, 601, 801, 1001}));  // 5 Hz: every 1 Hz
    EXPECT_EQ(xs(3, Pen::Light).size(), 6u);                                       // 10 Hz: every 2 Hz
    EXPECT_EQ(xs(4, Pen::Light), (std::vector<int>{1, 501, 1001}));                 // 20 Hz: 10 Hz light
    EXPECT_EQ(xs(4, Pen::Dark), (std::vector<int>{251, 751}));                      // 5 and 15 Hz dark

    // The peak fields of this spectrum.
    EXPECT_EQ(graphs::FormatHz(f.graph.Psd().psdPeakFreq), "   2.0");
    EXPECT_EQ(graphs::FormatPsdValue(f.graph.Psd().psdPeakCopy), "   3.0");

    f.settings.psdFlg = 0;
    EXPECT_FALSE(f.graph.PaintWanted());
}

TEST(PsdAxis, FrequencyRangesByAxisType) {
    GraphFixture f(GraphKind::Psd, 0);  // 10 s: N = 1000, highest analysed frequency 49.9 Hz
    EXPECT_TRUE(f.graph.LogX());
    EXPECT_DOUBLE_EQ(f.graph.FMin(), 0.1);
    EXPECT_DOUBLE_EQ(f.graph.FMax(), 50.0);
    EXPECT_DOUBLE_EQ(f.graph.XMin(), -1.0);
    EXPECT_DOUBLE_EQ(f.graph.XMax(), std::log10(50.0));
    EXPECT_EQ(f.graph.Psd().psdValues.size(), 500u);
    const struct {
        int type;
        double fMax;
        bool log;
    } cases[] = {{1, 1.0, false}, {2, 5.0, false}, {3, 10.0, false}, {4, 20.0, false}, {5, 50.0, false}, {9, 50.0, true}};
    for (const auto& c : cases) {
        f.host.notices.clear();
        f.settings.xType = c.type;
        f.graph.ApplyAxisSettings();
        EXPECT_EQ(f.graph.LogX(), c.log) << c.type;
        EXPECT_DOUBLE_EQ(f.graph.FMax(), c.fMax) << c.type;
        EXPECT_DOUBLE_EQ(f.graph.FMin(), c.log ? 0.1 : 0.0) << c.type;
        EXPECT_EQ(f.host.notices, std::vector<GraphNotice>{GraphNotice::XRangeChanged}) << c.type;
    }
    // Linear up to the highest frequency and back: same numbers, another axis type, one notice each.
    f.settings.xType = 5;
    f.graph.ApplyAxisSettings();
    f.host.notices.clear();
    f.graph.ApplyAxisSettings();
    EXPECT_TRUE(f.host.notices.empty());
}

TEST(PsdAxis, SpectrumOnceTheWindowIsFullThenEveryTenthSample) {
    GraphFixture f(GraphKind::Psd, 0, 5.0);  // N = 500
    f.Feed(Constant(499, 0.0));
    EXPECT_FALSE(f.graph.Psd().psdValid);
    f.Feed(Constant(1, 0.0));
    ASSERT_TRUE(f.graph.Psd().psdValid);
    EXPECT_EQ(f.graph.Psd().psdPeak, 0.0);
    std::vector<double> step(1, 0.0);
    for (int k = 1; k < graphs::GraphCore::kAnalysisStride; ++k) {
        step[0] = 50.0 * (k % 2 ? 1 : -1);
        f.Feed(step);
        EXPECT_EQ(f.graph.Psd().psdPeak, 0.0) << "analysed again after " << k << " samples";
    }
    f.Feed(step);
    EXPECT_GT(f.graph.Psd().psdPeak, 0.0);
    EXPECT_EQ(f.graph.SweepCount(), 500);
}

TEST(PsdAxis, ANewAnalysisLengthNeverShowsTheOldSpectrum) {
    GraphFixture f(GraphKind::Psd, 0, 5.0);  // N = 500
    std::vector<double> sine(600);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = 3.0 * std::sin(2 * 3.14159265358979323846 * 2.0 * i / 100.0);
    f.Feed(sine);
    auto displayTime = [&](double seconds) {
        f.settings.time[0] = seconds;
        app::SetupAnalysis(f.analysis, app::AnalysisSettingsFrom(f.settings));
        f.graph.ApplyAxisSettings();
    };
    // A longer display time confirmed while measuring: no spectrum until 1000 samples.
    displayTime(10.0);
    EXPECT_TRUE(!f.graph.Psd().psdValid && f.graph.Psd().psdPeak == 0.0 && f.graph.Psd().psdPeakFreq == 0.0);
    f.Feed(std::vector<double>(sine.begin(), sine.begin() + 500));  // continues the sine
    EXPECT_EQ(f.graph.SweepCount(), 1000);
    EXPECT_NEAR(f.graph.Psd().psdPeakFreq, 2.0, 1e-9);
    // Shorter again: the newest 500 samples at once.
    displayTime(5.0);
    EXPECT_TRUE(f.graph.Psd().psdValid && f.graph.SweepCount() == 500);
}
