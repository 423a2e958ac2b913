// The time-waveform monitor's window: its fields and fonts, colours, the scroll bar, the scale
// menu and the paint of the time labels; its rows' rules are monitor::TimeRows.
#include "graphs/GraphMoniDialog.h"

#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"
#include "graphs/MonitorText.h"

namespace {

constexpr int kLetter[3] = {IDC_GM_LETTER_X, IDC_GM_LETTER_Y, IDC_GM_LETTER_Z};

}  // namespace

CGraphMoniDialog::CGraphMoniDialog(const monitor::MonitorModel& model)
    : CMonitorPane(IDD_GRAPH_MONI, model), rows_(model, *this) {}

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

void CGraphMoniDialog::ApplyFieldColors() {
    const Settings& s = *model_.settings;
    for (int i = 0; i < 3; ++i) {
        const std::pair<CNumCtrl*, const ColorTriple*> fields[] = {
            {&maxField_[i], &s.moniMaxmin}, {&minField_[i], &s.moniMaxmin}, {&nowField_[i], &s.moniNow},
            {&trigField_[i], &s.moniTrig}};
        for (const auto& f : fields) {
            f.first->SetBackground(graphs::ColourOf(*f.second));
            if (f.first->Handle()) InvalidateRect(f.first->Handle(), nullptr, TRUE);
        }
    }
}

CNumCtrl& CGraphMoniDialog::FieldOf(monitor::Field field, int axis) {
    switch (field) {
    case monitor::Field::Max: return maxField_[axis];
    case monitor::Field::Min: return minField_[axis];
    case monitor::Field::Now: return nowField_[axis];
    default: return trigField_[axis];
    }
}

void CGraphMoniDialog::SetTriggerMarker(int axis, bool shown) {
    if (axis < 0 || axis > 2 || !trigField_[axis].Handle()) return;
    ShowWindow(trigField_[axis].Handle(), shown ? SW_SHOW : SW_HIDE);
}

void CGraphMoniDialog::EnterReview() {
    HWND scroll = Item(IDC_GM_SCROLL);
    SetScrollRange(scroll, SB_CTL, 0, rows_.ReviewScrollMax(), FALSE);
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
    rows_.ShowReviewWindow(GetScrollPos(Item(IDC_GM_SCROLL), SB_CTL), reviewPsd);
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
    for (const monitor::PaneText& t : rows_.TimeAxisTexts())
        TextOutA(dc, t.x, t.y, t.text.c_str(), static_cast<int>(t.text.size()));
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
    rows_.ApplyScaleCommand(axis, command);
    if (scaleChanged) scaleChanged();
}
