// The time-waveform monitor: graphs, labels, value fields, scale menu and review scrolling.
#include "graphs/GraphMoniDialog.h"

#include <algorithm>

#include "config/FormatSignificant.h"
#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"
#include "graphs/MonitorText.h"
#include "graphs/ReviewWindow.h"

namespace {

constexpr int kZeroLabel[3] = {IDC_GM_ZERO_X, IDC_GM_ZERO_Y, IDC_GM_ZERO_Z};
constexpr int kLetter[3] = {IDC_GM_LETTER_X, IDC_GM_LETTER_Y, IDC_GM_LETTER_Z};

using monitor::DisplayTime;

COLORREF Colour(const ColorTriple& c) { return graphs::ColourOf(c); }

}  // namespace

CGraphMoniDialog::CGraphMoniDialog(const monitor::MonitorModel& model) : CMonitorPane(IDD_GRAPH_MONI, model) {}

CGraphMoniDialog::~CGraphMoniDialog() {
    if (letterFont_) DeleteObject(letterFont_);
    if (labelFont_) DeleteObject(labelFont_);
}

BOOL CGraphMoniDialog::OnInitDialog() {
    HWND hwnd = Handle();
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    const DWORD fieldStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER;
    CreateGraphs(IDC_GM_GRAPH_FRAME, graphs::GraphKind::Time);
    for (int i = 0; i < 3; ++i) {
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
    ApplyGraphSettings();
    initialised_ = true;
    return TRUE;
}

void CGraphMoniDialog::Layout() {
    monitor::TimeRowSizes sizes[3];
    for (int i = 0; i < 3; ++i)
        sizes[i] = {SizeOf(IDC_GM_Y_TOP + i),     SizeOf(IDC_GM_UNIT + i),      SizeOf(kLetter[i]),
                    SizeOf(IDC_GM_Y_BOTTOM + i),  SizeOf(IDC_GM_X_LEFT + i),    SizeOf(IDC_GM_X_RIGHT + i),
                    SizeOf(IDC_GM_MAX_FRAME + i), SizeOf(IDC_GM_NOW_FRAME + i), SizeOf(IDC_GM_MIN_FRAME + i)};
    layout_ = monitor::LayOutTimeMonitor(ClientSize(), sizes, SizeOf(kZeroLabel[0]).w);
    for (int i = 0; i < 3; ++i) {
        const monitor::TimeRowPlaces& r = layout_.rows[i];
        PlaceFrame(i, r,
                   {IDC_GM_X_LEFT + i, IDC_GM_X_RIGHT + i, IDC_GM_Y_TOP + i, IDC_GM_UNIT + i, IDC_GM_Y_BOTTOM + i,
                    kLetter[i]});
        Move(maxField_[i].Handle(), r.maxField);
        Move(nowField_[i].Handle(), r.nowField);
        Move(minField_[i].Handle(), r.minField);
        Move(trigField_[i].Handle(), r.trigField);
        PlaceLevelLabels(i);
    }
    const monitor::Box& scroll = layout_.scroll;
    MoveWindow(Item(IDC_GM_SCROLL), scroll.x, scroll.y, scroll.w, scroll.h, TRUE);
    Move(IDC_GM_DATE, layout_.date);
    Move(IDC_GM_TIME, layout_.time);
}

void CGraphMoniDialog::PlaceLevelLabels(int axis) {
    graphs::GraphCore& g = graphs_[axis]->Core();
    const graphs::ValueTransform& v = g.Value();
    const monitor::TimeRowPlaces& row = layout_.rows[axis];
    auto yPix = [&](double value) { return row.graph.y + v.originY - graphs::TruncPixel((value - g.YMin()) * v.pxPerY); };
    const Settings& s = *model_.settings;
    const double level = axis == 0 ? s.valX : (axis == 1 ? s.valY : s.valZ);
    const monitor::LevelLabelPlaces p = monitor::PlaceLevelLabels(
        {yPix(0.0), yPix(level), yPix(-level), SizeOf(kZeroLabel[axis]).h, SizeOf(IDC_GM_T_UPPER + axis).h,
         row.unitBottom, row.yBottomTop, s.trigMode != 0});

    if (p.zeroMoved) {
        Move(kZeroLabel[axis], {layout_.labelColumnX, p.zeroY});
        ShowItem(kZeroLabel[axis], true);
    }
    if (p.levelsMoved) {
        Move(IDC_GM_T_UPPER + axis, {layout_.labelColumnX, p.upperY});
        Move(IDC_GM_T_LOWER + axis, {layout_.labelColumnX, p.lowerY});
    }
    ShowItem(IDC_GM_T_UPPER + axis, p.upperShown);
    ShowItem(IDC_GM_T_LOWER + axis, p.lowerShown);
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
        graphs_[i]->Core().RequestFullRepaint();
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
        maxField_[axis].SetText(graphs::FieldText(model_.peaks->Max(axis), bit));
        minField_[axis].SetText(graphs::FieldText(model_.peaks->Min(axis), bit));
        const WaveBuffer& ring = model_.rings[axis];
        if (*model_.running != 0 && ring.heldCount > 0 && ring.Capacity() > 0)
            nowField_[axis].SetText(graphs::FieldText(ring.Newest(), bit));
        else
            nowField_[axis].SetText("");
    }
}

void CGraphMoniDialog::ResetForMeasurement() {
    model_.peaks->Clear();
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->SetWindow(0, 0);
        if (model_.settings->accAuto != 0) graphs_[i]->UpdateScale();
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
        model_.peaks->Show(i, e.lo, e.hi);
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
        const auto labels =
            graphs::TimeLabels(display, layout_.timeLabelX0, layout_.timeLabelLeftLimit, layout_.timeLabelRightLimit,
                               [&g](double ms) { return g.Value().Px(ms); });
        const int y = layout_.rows[i].xLeft.y;
        for (const graphs::TimeLabel& label : labels)
            TextOutA(dc, label.x, y, label.text.c_str(), static_cast<int>(label.text.size()));
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
    const int command = TrackMenu(monitor::ScaleMenu(*model_.settings, axis));
    if (command == 0) return;
    monitor::ApplyScaleCommand(*model_.settings, axis, command);
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->UpdateScale();
        graphs_[i]->Core().RequestFullRepaint();
        PlaceLevelLabels(i);
    }
    if (scaleChanged) scaleChanged();
}
