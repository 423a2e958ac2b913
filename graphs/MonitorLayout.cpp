// The monitors' geometry, label rules and menus.
#include "graphs/MonitorLayout.h"

#include <cstdio>

namespace monitor {

int MissingWidth(int clientWidth, int minWidth, int psdWidth, bool psdOn) {
    const int required = minWidth + (psdOn ? psdWidth : 0);
    return clientWidth < required ? required - clientWidth : 0;
}

PaneBoxes LayOutPanes(Size client, int panelWidth, int psdWidth, bool psdOn) {
    const int w = client.w, h = client.h;
    PaneBoxes p;
    p.panel = {w - panelWidth, 0, panelWidth, h};
    if (psdOn) {
        p.psd = {w - panelWidth - psdWidth, 0, psdWidth, h};
        p.wave = {0, 0, w - panelWidth - psdWidth, h};
    } else {
        p.psd = {0, 0, 0, 0};
        p.wave = {0, 0, w - panelWidth, h};
    }
    return p;
}

TimeLayout LayOutTimeMonitor(Size client, const TimeRowSizes (&rows)[3], int zeroWidth) {
    TimeLayout out;
    const int rowH = (client.h - 39) / 3;
    const int usableW = client.w - 10;
    int gx = 0, gw = 0;
    for (int i = 0; i < 3; ++i) {
        const TimeRowSizes& s = rows[i];
        TimeRowPlaces& r = out.rows[i];
        const int y0 = i * rowH + 15;
        gx = s.yTop.w + 6;
        gw = usableW - s.maxField.w - gx;
        const int gh = rowH - s.xLeft.h - 5;
        r.graph = {gx, y0, gw - 10, gh};

        r.xLeft = {gx, y0 + gh};
        const int rightX = gx + gw - 10 - s.xRight.w;
        r.xRight = {rightX, y0 + gh};
        if (i == 0) {
            out.labelColumnX = gx - zeroWidth;
            out.timeLabelX0 = gx;
            out.timeLabelLeftLimit = gx + s.xLeft.w;
            out.timeLabelRightLimit = rightX;
        }

        r.yTop = {5, y0};
        r.unit = {5, y0 + s.yTop.h};
        r.unitBottom = y0 + s.yTop.h + s.unit.h;
        r.letter = {10, y0 + gh / 2 - s.letter.h / 2};
        r.yBottomTop = y0 + gh - s.yBottom.h;
        r.yBottom = {5, r.yBottomTop};

        const int fx = gx + gw - 6;
        r.maxField = {fx, y0};
        const int nowY = y0 + s.maxField.h + 16;
        r.nowField = {fx, nowY};
        const int minY = nowY + s.nowField.h + 1;
        r.minField = {fx, minY};
        r.trigField = {fx, minY + s.minField.h + 1};
    }
    out.scroll = {gx, 3 * rowH + 16, gw - 10, 24};
    const int labelX = gx + gw - 10 + 4;
    out.date = {labelX, 3 * rowH - 4};
    out.time = {labelX, 3 * rowH + 16};
    return out;
}

LevelLabelPlaces PlaceLevelLabels(const LevelLabelInput& in) {
    LevelLabelPlaces out;
    auto between = [&](int y, int h) { return y > in.unitBottom && y + h < in.yBottomTop; };
    const int zy = in.zeroRow - 6;
    if (between(zy, in.zeroHeight)) {
        out.zeroMoved = true;
        out.zeroY = zy;
    }
    if (!in.levelsOn) return out;
    out.levelsMoved = true;
    const int t = in.levelHeight;
    out.upperY = in.upperRow - 6;
    out.lowerY = in.lowerRow - 6;
    // The level labels give way to the zero label: +level above it, −level below it.
    out.upperShown = between(out.upperY, t) && (!out.zeroMoved || out.upperY + t < out.zeroY);
    out.lowerShown = between(out.lowerY, t) && (!out.zeroMoved || out.lowerY > out.zeroY + in.zeroHeight);
    return out;
}

PsdLayout LayOutPsdMonitor(Size client, const PsdRowSizes (&rows)[3]) {
    PsdLayout out;
    const int rowH = (client.h - 15) / 3;
    const int usableW = client.w - 10;
    for (int i = 0; i < 3; ++i) {
        const PsdRowSizes& s = rows[i];
        PsdRowPlaces& r = out.rows[i];
        const int rowTop = i * rowH;
        const int wY = s.yTop.w;
        const int hF = s.freqField.h;

        r.caption = {25, rowTop + 20};
        r.freqField = {wY + 10, rowTop + 15};
        const int hzX = wY + 10 + s.freqField.w;
        r.unitHz = {hzX, rowTop + 27};
        const int valueX = hzX + s.unitHz.w + 4;
        r.valueField = {valueX, rowTop + 15};
        r.unitGal = {valueX + s.valueField.w, rowTop + 27};

        const int gh = rowH - s.xLeft.h - hF;
        const int gx = wY + 11;
        const int gy = rowTop + 16 + hF;
        const int gw = usableW - wY - 21;
        r.graph = {gx, gy, gw, gh - 5};
        const int bottom = gy + gh - 5;
        r.xLeft = {wY - 9, bottom};
        const int rightX = gx + gw + 20 - s.xRight.w;
        r.xRight = {rightX, bottom};
        if (i == 0) {
            out.decadeLabelX0 = gx;
            out.decadeLeftLimit = wY - 9 + s.xLeft.w;
            out.decadeRightLimit = rightX;
        }
        r.decadeLabelY = bottom;

        r.yTop = {10, gy};
        r.unit = {10, gy + s.yTop.h};
        r.letter = {15, gy + (gh - 5) / 2 - s.letter.h / 2};
        r.yBottom = {10, bottom - s.yBottom.h};
    }
    return out;
}

std::vector<DecadePlace> PlaceDecadeLabels(const DecadeInput& in) {
    std::vector<DecadePlace> places;
    const struct {
        int x, width;
    } labels[] = {{in.x0 + in.oneColumn - 8, in.oneWidth}, {in.x0 + in.tenColumn - 18, in.tenWidth}};
    for (const auto& l : labels) places.push_back({l.x, l.x > in.leftLimit && l.x + l.width < in.rightLimit});
    return places;
}

std::vector<MenuItem> ScaleMenu(const Settings& s, int axis) {
    std::vector<MenuItem> items{{1, "オートスケール", s.accAuto != 0}};
    const auto& values = axis == 2 ? s.accz : s.acc;
    const int selected = axis == 2 ? s.acczSel : s.accSel;
    for (int k = 0; k < 8; ++k) {
        char text[400];  // %5.1f of the largest double fits
        std::snprintf(text, sizeof text, "スケール %5.1f(gal)", values[static_cast<size_t>(k)]);
        items.push_back({2 + k, text, !s.accAuto && selected == k});
    }
    items.push_back({});
    items.push_back({10, "スケール表示", s.memoryDisp != 0});
    return items;
}

void ApplyScaleCommand(Settings& s, int axis, int command) {
    if (command == 1) {
        s.accAuto = 1;
    } else if (command >= 2 && command <= 9) {
        s.accAuto = 0;
        (axis == 2 ? s.acczSel : s.accSel) = command - 2;
    } else if (command == 10) {
        s.memoryDisp = s.memoryDisp ? 0 : 1;
    }
}

std::vector<MenuItem> AxisMenu(const Settings& s) {
    static const char* const kItems[] = {"周波数軸 ログスケール", "周波数軸 リニアスケール  1(Hz)",
                                         "周波数軸 リニアスケール  5(Hz)", "周波数軸 リニアスケール 10(Hz)",
                                         "周波数軸 リニアスケール 20(Hz)", "周波数軸 リニアスケール 最大"};
    std::vector<MenuItem> items;
    for (int k = 0; k < 6; ++k) items.push_back({k + 1, kItems[k], s.xType == k});
    items.push_back({});
    items.push_back({7, "スケール表示", s.memoryDisp != 0});
    return items;
}

void ApplyAxisCommand(Settings& s, int command) {
    if (command >= 1 && command <= 6) s.xType = command - 1;
    else if (command == 7) s.memoryDisp = s.memoryDisp ? 0 : 1;
}

}  // namespace monitor
