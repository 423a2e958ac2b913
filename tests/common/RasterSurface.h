// A software stand-in for a memory DC: a pixel buffer that graphs draw into with GDI's line rules
// (LineTo leaves out its end point; a 2-pixel pen also sets the pixel below or beside the line).
// Used by native graph tests and the graph benchmark.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "graphs/GraphCore.h"

class RasterSurface : public graphs::GraphSurface {
public:
    using Colour = std::uint32_t;

    // A bitmap of width × height whose pixel (0, 0) is window pixel (originX, originY), like a
    // memory DC with its viewport moved to a clip box.
    RasterSurface(int width, int height, int originX = 0, int originY = 0)
        : width_(width), height_(height), originX_(originX), originY_(originY),
          pixels_(static_cast<size_t>(width) * height, 0) {}

    void SetPen(graphs::Pen pen, Colour colour, int width = 1) { pens_[pen] = {colour, width}; }
    void SetBackground(Colour colour) { background_ = colour; }

    void FillBackground(const graphs::PixelRect& r) override {
        // Like FillRect on a memory DC: only the bitmap's part of the rectangle costs anything.
        const int top = std::max(r.top, originY_), bottom = std::min(r.bottom, originY_ + height_);
        const int left = std::max(r.left, originX_), right = std::min(r.right, originX_ + width_);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) Plot(x, y, background_, false);
    }
    void SelectPen(graphs::Pen pen) override { pen_ = pens_[pen]; }
    void MoveTo(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) override {
        // Bresenham from the current position, end point left out.
        int x0 = x_, y0 = y_;
        const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
        const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
        int err = dx + dy;
        const bool steep = -dy > dx;
        while (!(x0 == x && y0 == y)) {
            Plot(x0, y0, pen_.colour, xor_);
            if (pen_.width > 1) {
                if (steep) Plot(x0 + 1, y0, pen_.colour, xor_);
                else Plot(x0, y0 + 1, pen_.colour, xor_);
            }
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
        x_ = x;
        y_ = y;
        ++lines_;
    }
    void SetXor(bool on) override { xor_ = on; }

    // Window pixel (x, y); 0 outside the bitmap.
    Colour At(int x, int y) const {
        x -= originX_;
        y -= originY_;
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
        return pixels_[static_cast<size_t>(y) * width_ + x];
    }
    // Rows of window column x that hold `colour`.
    std::vector<int> RowsOf(int x, Colour colour) const {
        std::vector<int> rows;
        for (int y = originY_; y < originY_ + height_; ++y)
            if (At(x, y) == colour) rows.push_back(y);
        return rows;
    }
    int Lines() const { return lines_; }

private:
    struct PenStyle {
        Colour colour = 0;
        int width = 1;
    };
    void Plot(int x, int y, Colour c, bool useXor) {
        x -= originX_;
        y -= originY_;
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        Colour& p = pixels_[static_cast<size_t>(y) * width_ + x];
        p = useXor ? (p ^ c) : c;
    }

    int width_, height_, originX_, originY_;
    std::vector<Colour> pixels_;
    std::map<graphs::Pen, PenStyle> pens_;
    PenStyle pen_;
    Colour background_ = 0;
    int x_ = 0, y_ = 0;
    bool xor_ = false;
    int lines_ = 0;
};
