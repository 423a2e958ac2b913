// The PSD monitor: spectrum graphs, their labels and peak fields, and the frequency-axis menu.
#include "graphs/PsdMoniDialog.h"

#include "config/FormatSignificant.h"
#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"
#include "graphs/MonitorText.h"

namespace {

constexpr int kLetter[3] = {IDC_PM_LETTER_X, IDC_PM_LETTER_Y, IDC_PM_LETTER_Z};

}  // namespace

CPsdMoniDialog::CPsdMoniDialog(const monitor::MonitorModel& model) : CMonitorPane(IDD_PSD_MONI, model) {}

CPsdMoniDialog::~CPsdMoniDialog() {
    if (captionFont_) DeleteObject(captionFont_);
    if (letterFont_) DeleteObject(letterFont_);
}

BOOL CPsdMoniDialog::OnInitDialog() {
    HWND hwnd = Handle();
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    const DWORD fieldStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER;
    CreateGraphs(IDC_PM_GRAPH_FRAME, graphs::GraphKind::Psd);
    for (int i = 0; i < 3; ++i) {
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
    ApplyGraphSettings();
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
    monitor::PsdRowSizes sizes[3];
    for (int i = 0; i < 3; ++i)
        sizes[i] = {SizeOf(IDC_PM_Y_TOP + i),      SizeOf(IDC_PM_UNIT + i),       SizeOf(kLetter[i]),
                    SizeOf(IDC_PM_Y_BOTTOM + i),   SizeOf(IDC_PM_X_LEFT + i),     SizeOf(IDC_PM_X_RIGHT + i),
                    SizeOf(IDC_PM_FREQ_FRAME + i), SizeOf(IDC_PM_VALUE_FRAME + i), SizeOf(IDC_PM_UNIT_HZ + i)};
    layout_ = monitor::LayOutPsdMonitor(ClientSize(), sizes);
    for (int i = 0; i < 3; ++i) {
        const monitor::PsdRowPlaces& r = layout_.rows[i];
        Move(IDC_PM_CAPTION + i, r.caption);
        Move(freqField_[i].Handle(), r.freqField);
        Move(IDC_PM_UNIT_HZ + i, r.unitHz);
        Move(valueField_[i].Handle(), r.valueField);
        Move(IDC_PM_UNIT_GAL + i, r.unitGal);
        PlaceFrame(i, r,
                   {IDC_PM_X_LEFT + i, IDC_PM_X_RIGHT + i, IDC_PM_Y_TOP + i, IDC_PM_UNIT + i, IDC_PM_Y_BOTTOM + i,
                    kLetter[i]});
        PlaceDecadeLabels(i);
    }
}

void CPsdMoniDialog::PlaceDecadeLabels(int axis) {
    const int ids[] = {IDC_PM_DECADE_1 + axis, IDC_PM_DECADE_10 + axis};
    for (int id : ids) ShowItem(id, false);
    if (model_.settings->xType != 0 || !graphs_[axis]) return;
    const graphs::ValueTransform& v = graphs_[axis]->Core().Value();
    const auto places =
        monitor::PlaceDecadeLabels({layout_.decadeLabelX0, v.Px(0.0), v.Px(1.0), SizeOf(ids[0]).w, SizeOf(ids[1]).w,
                                    layout_.decadeLeftLimit, layout_.decadeRightLimit});
    for (size_t k = 0; k < places.size(); ++k) {
        Move(ids[k], {places[k].x, layout_.rows[axis].decadeLabelY});
        if (places[k].shown) ShowItem(ids[k], true);
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
        if (g) g->Core().RequestFullRepaint();
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
    const int command = TrackMenu(monitor::AxisMenu(*model_.settings));
    if (command == 0) return;
    monitor::ApplyAxisCommand(*model_.settings, command);
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->ApplyAxisSettings();
        // The decade labels follow the axis type even when the range stayed.
        PlaceDecadeLabels(i);
    }
    RepaintGraphs();
    if (axisChanged) axisChanged();
}
