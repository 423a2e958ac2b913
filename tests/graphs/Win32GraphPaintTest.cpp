// A time graph painted with GDI into a memory bitmap through the double-buffered clip paint
// (Win32 tree only): grid, zero line, trigger lines and trace colours at known pixels.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include "common/DibCanvas.h"
#include "graphs/GdiGraphSurface.h"
#include "graphs/GraphFixture.h"

namespace {

using test_common::Canvas;


COLORREF Of(const ColorTriple& c) { return graphs::ColourOf(c); }

}  // namespace

TEST(GdiGraphPaint, GridLevelsAndTracesAtKnownPixels) {
    // 1 pixel per sample, 50 pixels per gal at ±2 (plot 1..1001 × 1..201).
    GraphFixture f(graphs::GraphKind::Time, 1, 10.0, 6000, 1003, 203);
    f.settings.trigMode = 1;
    f.settings.valY = 1.0;
    f.running = 0;
    f.Feed(std::vector<double>(1000, 1.5));
    f.Feed(std::vector<double>(100, -0.5));  // wrapped: current sweep at −0.5, previous at +1.5
    graphs::GraphPens pens;
    pens.Build(f.settings, graphs::GraphKind::Time, 1);
    graphs::PaintBuffer buffer;

    Canvas b(1003, 203, RGB(0, 0, 0));
    ASSERT_TRUE(graphs::PaintGraphClip(b.Dc(), {0, 0, 1003, 203}, f.graph, pens, buffer));
    const COLORREF back = Of(f.settings.graphBack), trace = Of(f.settings.graphLine[1]);
    EXPECT_EQ(b.Pixel(300, 60), back);
    EXPECT_EQ(b.Pixel(201, 60), Of(f.settings.scaleLineDark));    // 2000 ms
    EXPECT_EQ(b.Pixel(501, 60), Of(f.settings.scaleLineLight));   // 5000 ms
    EXPECT_EQ(b.Pixel(300, 76), Of(f.settings.scaleLineLight));   // +0.5 gal
    EXPECT_EQ(b.Pixel(300, 101), Of(f.settings.scaleLineHilight));  // zero line
    EXPECT_EQ(b.Pixel(300, 151), RGB(200, 0, 0));                 // −level, the shared 2-pixel pen
    EXPECT_EQ(b.Pixel(50, 126), trace);                           // current sweep at −0.5 gal
    EXPECT_EQ(b.Pixel(105, 26), Of(f.settings.scaleLineLight));  // the gap before the previous sweep: grid only
    EXPECT_EQ(b.Pixel(500, 26), trace);                           // previous sweep at +1.5 gal

    // A clip box alone (a band of a live update, drawn in the same buffer) gives the same pixels
    // there and nothing outside.
    Canvas band(1003, 203, RGB(0, 0, 0));
    ASSERT_TRUE(graphs::PaintGraphClip(band.Dc(), {40, 0, 60, 203}, f.graph, pens, buffer));
    for (int y = 0; y < 203; ++y) {
        ASSERT_EQ(band.Pixel(45, y), b.Pixel(45, y)) << "row " << y;
        ASSERT_EQ(band.Pixel(61, y), RGB(0, 0, 0)) << "row " << y;
    }
    EXPECT_FALSE(graphs::PaintGraphClip(band.Dc(), {5, 5, 5, 9}, f.graph, pens, buffer));
}

#endif
