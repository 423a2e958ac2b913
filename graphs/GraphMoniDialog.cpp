// The time-waveform monitor: graphs, labels, value fields, scale menu and review scrolling.
#include "graphs/GraphMoniDialog.h"

#include <algorithm>
#include <cstdio>

#include "config/FormatSignificant.h"
#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"
#include "graphs/MonitorText.h"
#include "graphs/ReviewWindow.h"

namespace {

constexpr int kZeroLabel[3] = {IDC_GM_ZERO_X, IDC_GM_ZERO_Y, IDC_GM_ZERO_Z};
constexpr int kLetter[3] = {IDC_GM_LETTER_X, IDC_GM_LETTER_Y, IDC_GM_LETTER_Z};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

using monitor::MoveControl;
using monitor::DisplayTime;

COLORREF Colour(const ColorTriple& c) { return graphs::ColourOf(c); }

}  // namespace

CGraphMoniDialog::CGraphMoniDialog(const monitor::MonitorModel& model) : CMonitorPane(IDD_GRAPH_MONI, model) {}

CGraphMoniDialog::~CGraphMoniDialog() {
    // The graphs and fields go before the dialog window that holds them.
    for (auto& g : graphs_) g.reset();
    if (letterFont_) DeleteObject(letterFont_);
    if (labelFont_) DeleteObject(labelFont_);
}

BOOL CGraphMoniDialog::OnInitDialog() {
    HWND hwnd = Handle();
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    const DWORD fieldStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER;
    for (int i = 0; i < 3; ++i) {
        graphs_[i] = std::make_unique<CGraphCtrl>(model_.Graphs());
        graphs_[i]->Create(Rect(IDC_GM_GRAPH_FRAME + i), hwnd, IDC_GRAPH + i, graphs::GraphKind::Time, i);
        ShowWindow(graphs_[i]->Handle(), SW_SHOW);
        struct FieldSpec {
            CNumCtrl& field;
            int frame, id;
            double scale;
            bool shown;
        };
        const FieldSpec fields[] = {{maxField_[i], IDC_GM_MAX_FRAME, IDC_GM_MAX, 2.0, true},
                                    {minField_[i], IDC_GM_MIN_FRAME, IDC_GM_MIN, 2.0, true},
                                    {nowField_[i], IDC_GM_NOW_FRAME, IDC_GM_NOW, 2.0, true},
                                    {trigField_[i], IDC_GM_TRIG_FRAME, IDC_GM_TRIG, 1.7, false}};
        for (const FieldSpec& f : fields) {
            f.field.CreateEx(WS_EX_CLIENTEDGE, f.shown ? fieldStyle : fieldStyle & ~WS_VISIBLE, Rect(f.frame + i), hwnd,
                             f.id + i);
            f.field.SetFont(monitor::ScaledFont(dialogFont, f.scale));
        }
        trigField_[i].SetText("Trig");
    }
    ApplyFieldColors();
    letterFont_ = monitor::ScaledFont(dialogFont, 3.0);
    labelFont_ = monitor::ScaledFont(dialogFont, 1.0);
    for (int id : kLetter) SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(letterFont_), TRUE);

    Layout();
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->ApplyAxisSettings();
        graphs_[i]->UpdateScale();
        graphs_[i]->ApplyColors();
        UpdateAxisFields(i, true, true, true);
    }
    initialised_ = true;
    return TRUE;
}

void CGraphMoniDialog::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int rowH = (client.bottom - 39) / 3;
    const int usableW = client.right - 10;
    int gx = 0, gw = 0;
    for (int i = 0; i < 3; ++i) {
        const int y0 = i * rowH + 15;
        gx = Width(Rect(IDC_GM_Y_TOP + i)) + 6;
        gw = usableW - Width(Rect(IDC_GM_MAX_FRAME + i)) - gx;
        const int gh = rowH - Height(Rect(IDC_GM_X_LEFT + i)) - 5;
        MoveWindow(graphs_[i]->Handle(), gx, y0, gw - 10, gh, TRUE);
        graphTop_[i] = y0;

        MoveControl(Item(IDC_GM_X_LEFT + i), gx, y0 + gh);
        timeLabelY_[i] = y0 + gh;
        const int rightX = gx + gw - 10 - Width(Rect(IDC_GM_X_RIGHT + i));
        MoveControl(Item(IDC_GM_X_RIGHT + i), rightX, y0 + gh);
        if (i == 0) {
            labelColumnX_ = gx - Width(Rect(kZeroLabel[0]));
            timeLabelX0_ = gx;
            timeLabelLeftLimit_ = gx + Width(Rect(IDC_GM_X_LEFT));
            timeLabelRightLimit_ = rightX;
        }

        const int topH = Height(Rect(IDC_GM_Y_TOP + i));
        MoveControl(Item(IDC_GM_Y_TOP + i), 5, y0);
        MoveControl(Item(IDC_GM_UNIT + i), 5, y0 + topH);
        unitBottom_[i] = y0 + topH + Height(Rect(IDC_GM_UNIT + i));
        MoveControl(Item(kLetter[i]), 10, y0 + gh / 2 - Height(Rect(kLetter[i])) / 2);
        yBottomTop_[i] = y0 + gh - Height(Rect(IDC_GM_Y_BOTTOM + i));
        MoveControl(Item(IDC_GM_Y_BOTTOM + i), 5, yBottomTop_[i]);

        const int fx = gx + gw - 6;
        const int h = Height(Rect(IDC_GM_MAX_FRAME + i));
        MoveControl(maxField_[i].Handle(), fx, y0);
        const int nowY = y0 + h + 16;
        MoveControl(nowField_[i].Handle(), fx, nowY);
        const int minY = nowY + Height(Rect(IDC_GM_NOW_FRAME + i)) + 1;
        MoveControl(minField_[i].Handle(), fx, minY);
        MoveControl(trigField_[i].Handle(), fx, minY + Height(Rect(IDC_GM_MIN_FRAME + i)) + 1);
        PlaceLevelLabels(i);
    }
    HWND scroll = Item(IDC_GM_SCROLL);
    MoveWindow(scroll, gx, 3 * rowH + 16, gw - 10, 24, TRUE);
    const int labelX = gx + gw - 10 + 4;
    MoveControl(Item(IDC_GM_DATE), labelX, 3 * rowH - 4);
    MoveControl(Item(IDC_GM_TIME), labelX, 3 * rowH + 16);
}

void CGraphMoniDialog::PlaceLevelLabels(int axis) {
    graphs::GraphCore& g = graphs_[axis]->Core();
    const graphs::ValueTransform& v = g.Value();
    auto yPix = [&](double value) { return graphTop_[axis] + v.originY - graphs::TruncPixel((value - g.YMin()) * v.pxPerY); };

    HWND zero = Item(kZeroLabel[axis]);
    const RECT zeroRect = Rect(kZeroLabel[axis]);
    bool zeroPlaced = false;
    int zeroTop = 0, zeroBottom = 0;
    const int zy = yPix(0.0) - 6;
    if (zy > unitBottom_[axis] && zy + Height(zeroRect) < yBottomTop_[axis]) {
        MoveControl(zero, labelColumnX_, zy);
        ShowWindow(zero, SW_SHOW);
        zeroPlaced = true;
        zeroTop = zy;
        zeroBottom = zy + Height(zeroRect);
    }

    HWND upper = Item(IDC_GM_T_UPPER + axis);
    HWND lower = Item(IDC_GM_T_LOWER + axis);
    const Settings& s = *model_.settings;
    if (s.trigMode == 0) {
        ShowWindow(upper, SW_HIDE);
        ShowWindow(lower, SW_HIDE);
        return;
    }
    const double level = axis == 0 ? s.valX : (axis == 1 ? s.valY : s.valZ);
    const int t = Height(Rect(IDC_GM_T_UPPER + axis));
    const int uy = yPix(level) - 6;
    MoveControl(upper, labelColumnX_, uy);
    const bool upperShown = uy > unitBottom_[axis] && uy + t < yBottomTop_[axis] && (!zeroPlaced || uy + t < zeroTop);
    ShowWindow(upper, upperShown ? SW_SHOW : SW_HIDE);
    const int ly = yPix(-level) - 6;
    MoveControl(lower, labelColumnX_, ly);
    const bool lowerShown = ly > unitBottom_[axis] && ly + t < yBottomTop_[axis] && (!zeroPlaced || ly > zeroBottom);
    ShowWindow(lower, lowerShown ? SW_SHOW : SW_HIDE);
}

void CGraphMoniDialog::ApplyFieldColors() {
    const Settings& s = *model_.settings;
    for (int i = 0; i < 3; ++i) {
        const std::pair<CNumCtrl*, const ColorTriple*> fields[] = {
            {&maxField_[i], &s.moniMaxmin}, {&minField_[i], &s.moniMaxmin}, {&nowField_[i], &s.moniNow},
            {&trigField_[i], &s.moniTrig}};
        for (const auto& f : fields) {
            f.first->SetBackground(Colour(*f.second));
            if (f.first->Handle()) InvalidateRect(f.first->Handle(), nullptr, TRUE);
        }
    }
}

void CGraphMoniDialog::RepaintGraphs() {
    for (int i = 0; i < 3; ++i) {
        if (!graphs_[i]) continue;
        InvalidateRect(graphs_[i]->Handle(), nullptr, TRUE);
        PlaceLevelLabels(i);
    }
}

void CGraphMoniDialog::UpdateAxisFields(int axis, bool timeLabel, bool scaleLabels, bool values) {
    if (axis < 0 || axis > 2 || !graphs_[axis]) return;
    if (timeLabel) SetLabel(IDC_GM_X_RIGHT + axis, FormatSignificant(DisplayTime(*model_.settings), 6));
    if (scaleLabels) {
        graphs::GraphCore& g = graphs_[axis]->Core();
        const std::string top = graphs::FieldText(g.YMax(), 12);
        const std::string bottom = graphs::FieldText(g.YMin(), 12);
        const bool changed = ItemText(IDC_GM_Y_TOP + axis) != top || ItemText(IDC_GM_Y_BOTTOM + axis) != bottom;
        SetLabel(IDC_GM_Y_TOP + axis, top);
        SetLabel(IDC_GM_Y_BOTTOM + axis, bottom);
        if (changed) PlaceLevelLabels(axis);
    }
    if (values) {
        const int bit = model_.settings->bit;
        maxField_[axis].SetText(graphs::FieldText(model_.peakMax[axis], bit));
        minField_[axis].SetText(graphs::FieldText(model_.peakMin[axis], bit));
        const WaveBuffer& ring = model_.rings[axis];
        if (*model_.running != 0 && ring.heldCount > 0 && ring.Capacity() > 0)
            nowField_[axis].SetText(graphs::FieldText(ring.samples[ring.PhysicalIndex(ring.heldCount - 1)], bit));
        else
            nowField_[axis].SetText("");
    }
}

void CGraphMoniDialog::AdvanceGraphs(int n) {
    for (int i = 0; i < 3; ++i) {
        if (!graphs_[i] || !graphs_[i]->Core().Wave()) continue;
        graphs_[i]->AppendSamples(n);
        UpdateAxisFields(i, false, false, true);
    }
}

void CGraphMoniDialog::ResetForMeasurement() {
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->SetWindow(0, 0);
        if (model_.settings->accAuto != 0) graphs_[i]->UpdateScale();
        model_.peakMin[i] = model_.peakMax[i] = 0.0;
        maxField_[i].SetText("");
        minField_[i].SetText("");
        nowField_[i].SetText("");
    }
}

void CGraphMoniDialog::SetTriggerMarker(int axis, bool shown) {
    if (axis < 0 || axis > 2 || !trigField_[axis].Handle()) return;
    ShowWindow(trigField_[axis].Handle(), shown ? SW_SHOW : SW_HIDE);
}

void CGraphMoniDialog::EnterReview() {
    HWND scroll = Item(IDC_GM_SCROLL);
    const int sweep = graphs_[0]->Core().SweepLength();
    SetScrollRange(scroll, SB_CTL, 0, std::max(model_.rings[0].heldCount - sweep, 0), FALSE);
    SetScrollPos(scroll, SB_CTL, 0, TRUE);
    ShowReviewWindow();
    ShowItem(IDC_GM_DATE, true);
    ShowItem(IDC_GM_TIME, true);
    ShowWindow(scroll, SW_SHOW);
    EnableWindow(scroll, TRUE);
}

void CGraphMoniDialog::LeaveReview() {
    HWND scroll = Item(IDC_GM_SCROLL);
    SetScrollRange(scroll, SB_CTL, 0, 0, FALSE);
    SetScrollPos(scroll, SB_CTL, 0, TRUE);
    ShowWindow(scroll, SW_HIDE);
    ShowItem(IDC_GM_DATE, false);
    ShowItem(IDC_GM_TIME, false);
    EnableWindow(scroll, FALSE);
}

void CGraphMoniDialog::ShowReviewWindow() {
    const int pos = GetScrollPos(Item(IDC_GM_SCROLL), SB_CTL);
    const graphs::ReviewSpan span = graphs::ReviewSpanAt(model_.rings[0], pos, graphs_[0]->Core().SweepLength());
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->SetWindow(span.start, span.count);
        if (model_.settings->accAuto != 0) graphs_[i]->UpdateScale();
        UpdateWindow(graphs_[i]->Handle());
        const graphs::Extremes e = graphs::SpanExtremes(model_.rings[i], span);
        model_.peakMin[i] = e.lo;
        model_.peakMax[i] = e.hi;
        UpdateAxisFields(i, false, false, true);
    }
    if (reviewPsd) reviewPsd(span.start, span.count);

    const graphs::ReviewClock clock = graphs::ReviewClockAt(*model_.reviewBaseTime, pos);
    SetLabel(IDC_GM_DATE, clock.date);
    SetLabel(IDC_GM_TIME, clock.time);
}

bool CGraphMoniDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    const int axis = static_cast<int>(wParam);
    if (message == MSG_3563518B) {
        UpdateAxisFields(axis, false, true, false);
        return true;
    }
    if (message == MSG_3A95FBE5) return true;
    if (message == MSG_60DE7150) {
        OnScaleMenu(axis);
        return true;
    }
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == Item(IDC_GM_SCROLL)) {
        OnHScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    }
    return CMonitorPane::HandleMessage(message, wParam, lParam, result);
}

void CGraphMoniDialog::PaintOver(HDC dc) {
    HGDIOBJ oldFont = SelectObject(dc, labelFont_);
    const double display = DisplayTime(*model_.settings);
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = graphs_[i]->Core();
        const auto labels = graphs::TimeLabels(display, timeLabelX0_, timeLabelLeftLimit_, timeLabelRightLimit_,
                                               [&g](double ms) { return g.Value().Px(ms); });
        for (const graphs::TimeLabel& label : labels)
            TextOutA(dc, label.x, timeLabelY_[i], label.text.c_str(), static_cast<int>(label.text.size()));
    }
    SelectObject(dc, oldFont);
}

void CGraphMoniDialog::OnHScroll(int code, HWND scrollBar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS | SIF_RANGE;
    GetScrollInfo(scrollBar, SB_CTL, &info);
    const std::optional<int> target =
        graphs::ScrollTarget(code, info.nPos, info.nTrackPos, info.nMax, graphs_[0]->Core().SweepLength());
    if (!target) return;
    SetScrollPos(scrollBar, SB_CTL, *target, TRUE);
    ShowReviewWindow();
}

void CGraphMoniDialog::OnScaleMenu(int axis) {
    Settings& s = *model_.settings;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING | (s.accAuto ? MF_CHECKED : 0), 1, "オートスケール");
    const auto& values = axis == 2 ? s.accz : s.acc;
    const int selected = axis == 2 ? s.acczSel : s.accSel;
    for (int k = 0; k < 8; ++k) {
        char text[400];  // %5.1f of the largest double fits
        std::snprintf(text, sizeof text, "スケール %5.1f(gal)", values[static_cast<size_t>(k)]);
        AppendMenuA(menu, MF_STRING | (!s.accAuto && selected == k ? MF_CHECKED : 0), static_cast<UINT_PTR>(2 + k), text);
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (s.memoryDisp ? MF_CHECKED : 0), 10, "スケール表示");

    const int command = TrackMenu(menu);
    if (command == 0) return;
    if (command == 1) {
        model_.settings->accAuto = 1;
    } else if (command >= 2 && command <= 9) {
        model_.settings->accAuto = 0;
        if (axis == 2) s.acczSel = command - 2;
        else s.accSel = command - 2;
    } else if (command == 10) {
        s.memoryDisp = s.memoryDisp ? 0 : 1;
    }
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->UpdateScale();
        InvalidateRect(graphs_[i]->Handle(), nullptr, TRUE);
        PlaceLevelLabels(i);
    }
    if (scaleChanged) scaleChanged();
}
