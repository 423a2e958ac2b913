// The PSD monitor: spectrum graphs, their labels and peak fields, and the frequency-axis menu.
#include "graphs/PsdMoniDialog.h"

#include <cmath>

#include "config/FormatSignificant.h"
#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"
#include "graphs/MonitorText.h"

namespace {

constexpr int kLetter[3] = {IDC_PM_LETTER_X, IDC_PM_LETTER_Y, IDC_PM_LETTER_Z};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

using monitor::MoveControl;

}  // namespace

CPsdMoniDialog::CPsdMoniDialog(const monitor::MonitorModel& model) : CMonitorPane(IDD_PSD_MONI, model) {}

CPsdMoniDialog::~CPsdMoniDialog() {
    for (auto& g : graphs_) g.reset();
    if (captionFont_) DeleteObject(captionFont_);
    if (letterFont_) DeleteObject(letterFont_);
}

BOOL CPsdMoniDialog::OnInitDialog() {
    HWND hwnd = Handle();
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    const DWORD fieldStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER;
    for (int i = 0; i < 3; ++i) {
        graphs_[i] = std::make_unique<CGraphCtrl>(model_.Graphs());
        graphs_[i]->Create(Rect(IDC_PM_GRAPH_FRAME + i), hwnd, IDC_GRAPH + i, graphs::GraphKind::Psd, i);
        ShowWindow(graphs_[i]->Handle(), SW_SHOW);
        for (CNumCtrl* field : {&freqField_[i], &valueField_[i]}) {
            const int frame = field == &freqField_[i] ? IDC_PM_FREQ_FRAME : IDC_PM_VALUE_FRAME;
            field->CreateEx(WS_EX_CLIENTEDGE, fieldStyle, Rect(frame + i), hwnd, IDC_PM_FIELD + i);
            field->SetFont(monitor::ScaledFont(dialogFont, 1.5, FW_BOLD));
        }
    }
    ApplyFieldColors();
    captionFont_ = monitor::ScaledFont(dialogFont, 1.5);
    letterFont_ = monitor::ScaledFont(dialogFont, 2.0);
    for (int i = 0; i < 3; ++i) {
        SendMessageA(Item(IDC_PM_CAPTION + i), WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_), TRUE);
        SendMessageA(Item(kLetter[i]), WM_SETFONT, reinterpret_cast<WPARAM>(letterFont_), TRUE);
    }

    Layout();
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->ApplyAxisSettings();
        graphs_[i]->UpdateScale();
        graphs_[i]->ApplyColors();
        UpdatePsdAxisFields(i, true, true, true);
    }
    initialised_ = true;
    return TRUE;
}

void CPsdMoniDialog::ApplyFieldColors() {
    const COLORREF colour = graphs::ColourOf(model_.settings->moniPsdmax);
    for (int i = 0; i < 3; ++i) {
        for (CNumCtrl* field : {&freqField_[i], &valueField_[i]}) {
            field->SetBackground(colour);
            if (field->Handle()) InvalidateRect(field->Handle(), nullptr, TRUE);
        }
    }
}

void CPsdMoniDialog::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int rowH = (client.bottom - 15) / 3;
    const int usableW = client.right - 10;
    for (int i = 0; i < 3; ++i) {
        const int rowTop = i * rowH;
        const int wY = Width(Rect(IDC_PM_Y_TOP + i));
        const int hF = Height(Rect(IDC_PM_FREQ_FRAME + i));

        MoveControl(Item(IDC_PM_CAPTION + i), 25, rowTop + 20);
        MoveControl(freqField_[i].Handle(), wY + 10, rowTop + 15);
        const int hzX = wY + 10 + Width(Rect(IDC_PM_FREQ_FRAME + i));
        MoveControl(Item(IDC_PM_UNIT_HZ + i), hzX, rowTop + 27);
        const int valueX = hzX + Width(Rect(IDC_PM_UNIT_HZ + i)) + 4;
        MoveControl(valueField_[i].Handle(), valueX, rowTop + 15);
        MoveControl(Item(IDC_PM_UNIT_GAL + i), valueX + Width(Rect(IDC_PM_VALUE_FRAME + i)), rowTop + 27);

        const int gh = rowH - Height(Rect(IDC_PM_X_LEFT + i)) - hF;
        const int gx = wY + 11;
        const int gy = rowTop + 16 + hF;
        const int gw = usableW - wY - 21;
        MoveWindow(graphs_[i]->Handle(), gx, gy, gw, gh - 5, TRUE);
        const int bottom = gy + gh - 5;
        if (i == 0) decadeLabelX0_ = gx;

        MoveControl(Item(IDC_PM_X_LEFT + i), wY - 9, bottom);
        if (i == 0) decadeLeftLimit_ = wY - 9 + Width(Rect(IDC_PM_X_LEFT));
        const int rightX = gx + gw + 20 - Width(Rect(IDC_PM_X_RIGHT + i));
        MoveControl(Item(IDC_PM_X_RIGHT + i), rightX, bottom);
        if (i == 0) decadeRightLimit_ = rightX;
        decadeLabelY_[i] = bottom;

        const int topH = Height(Rect(IDC_PM_Y_TOP + i));
        MoveControl(Item(IDC_PM_Y_TOP + i), 10, gy);
        MoveControl(Item(IDC_PM_UNIT + i), 10, gy + topH);
        MoveControl(Item(kLetter[i]), 15, gy + (gh - 5) / 2 - Height(Rect(kLetter[i])) / 2);
        MoveControl(Item(IDC_PM_Y_BOTTOM + i), 10, bottom - Height(Rect(IDC_PM_Y_BOTTOM + i)));
        PlaceDecadeLabels(i);
    }
}

void CPsdMoniDialog::PlaceDecadeLabels(int axis) {
    HWND one = Item(IDC_PM_DECADE_1 + axis);
    HWND ten = Item(IDC_PM_DECADE_10 + axis);
    ShowWindow(one, SW_HIDE);
    ShowWindow(ten, SW_HIDE);
    if (model_.settings->xType != 0 || !graphs_[axis]) return;
    const graphs::ValueTransform& v = graphs_[axis]->Core().Value();
    const struct {
        HWND label;
        int x;
    } places[] = {{one, decadeLabelX0_ + v.Px(0.0) - 8}, {ten, decadeLabelX0_ + v.Px(1.0) - 18}};
    for (const auto& p : places) {
        RECT r{};
        GetWindowRect(p.label, &r);
        MoveControl(p.label, p.x, decadeLabelY_[axis]);
        if (p.x > decadeLeftLimit_ && p.x + Width(r) < decadeRightLimit_) ShowWindow(p.label, SW_SHOW);
    }
}

void CPsdMoniDialog::UpdatePsdAxisFields(int axis, bool freqLabels, bool scaleLabels, bool values) {
    if (axis < 0 || axis > 2 || !graphs_[axis]) return;
    graphs::GraphCore& g = graphs_[axis]->Core();
    if (freqLabels) {
        SetLabel(IDC_PM_X_LEFT + axis, graphs::FormatHz(g.FMin()) + "(Hz)");
        SetLabel(IDC_PM_X_RIGHT + axis, graphs::FormatHz(g.FMax()));
        PlaceDecadeLabels(axis);
    }
    if (scaleLabels) {
        SetLabel(IDC_PM_Y_BOTTOM + axis, FormatSignificant(g.YMin(), 4));
        SetLabel(IDC_PM_Y_TOP + axis, FormatSignificant(g.YMax(), 4));
    }
    if (values) {
        const app::PsdResult& psd = g.Psd();
        freqField_[axis].SetText(psd.psdValid ? graphs::FormatHz(psd.psdPeakFreq) : "");
        valueField_[axis].SetText(psd.psdValid ? graphs::FormatPsdValue(psd.psdPeakCopy) : "");
    }
}

void CPsdMoniDialog::AdvanceGraphs(int n) {
    for (int i = 0; i < 3; ++i) {
        if (!graphs_[i] || !graphs_[i]->Core().Wave()) continue;
        graphs_[i]->AppendSamples(n);
        UpdatePsdAxisFields(i, false, false, true);
    }
}

void CPsdMoniDialog::ResetForMeasurement() {
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->SetWindow(0, 0);
        graphs_[i]->RunAnalysis();  // finds the window empty: the spectrum becomes invalid
        UpdatePsdAxisFields(i, false, true, true);
    }
}

void CPsdMoniDialog::ShowWindowAt(int start, int count) {
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->SetWindow(start, count);
        if (graphs_[i]->RunAnalysis()) graphs_[i]->UpdateScale();
        UpdateWindow(graphs_[i]->Handle());
        UpdatePsdAxisFields(i, false, true, true);
    }
}

void CPsdMoniDialog::RepaintGraphs() {
    for (auto& g : graphs_)
        if (g) InvalidateRect(g->Handle(), nullptr, TRUE);
}

bool CPsdMoniDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == MSG_3A95FBE5) {
        UpdatePsdAxisFields(static_cast<int>(wParam), true, false, false);
        return true;
    }
    if (message == MSG_3563518B) {
        // The y labels follow the scale here, where the rescale happens.
        UpdatePsdAxisFields(static_cast<int>(wParam), false, true, false);
        return true;
    }
    if (message == MSG_60DE7150) {
        OnAxisMenu();
        return true;
    }
    return CMonitorPane::HandleMessage(message, wParam, lParam, result);
}

void CPsdMoniDialog::OnAxisMenu() {
    Settings& s = *model_.settings;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    static const char* const kItems[] = {"周波数軸 ログスケール", "周波数軸 リニアスケール  1(Hz)",
                                         "周波数軸 リニアスケール  5(Hz)", "周波数軸 リニアスケール 10(Hz)",
                                         "周波数軸 リニアスケール 20(Hz)", "周波数軸 リニアスケール 最大"};
    for (int k = 0; k < 6; ++k)
        AppendMenuA(menu, MF_STRING | (s.xType == k ? MF_CHECKED : 0), static_cast<UINT_PTR>(k + 1), kItems[k]);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (s.memoryDisp ? MF_CHECKED : 0), 7, "スケール表示");

    const int command = TrackMenu(menu);
    if (command == 0) return;
    if (command >= 1 && command <= 6) s.xType = command - 1;
    else if (command == 7) s.memoryDisp = s.memoryDisp ? 0 : 1;
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->ApplyAxisSettings();
        // The decade labels follow the axis type even when the range stayed.
        PlaceDecadeLabels(i);
    }
    RepaintGraphs();
    if (axisChanged) axisChanged();
}
