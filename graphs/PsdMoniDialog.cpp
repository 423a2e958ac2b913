// The PSD monitor's window: its fields and fonts, colours and the frequency-axis menu; its rows'
// rules are monitor::PsdRows.
#include "graphs/PsdMoniDialog.h"

#include "graphs/GraphMessages.h"
#include "graphs/MonitorShell.h"

namespace {

constexpr int kLetter[3] = {IDC_PM_LETTER_X, IDC_PM_LETTER_Y, IDC_PM_LETTER_Z};

}  // namespace

CPsdMoniDialog::CPsdMoniDialog(const monitor::MonitorModel& model)
    : CMonitorPane(IDD_PSD_MONI, model), rows_(model, *this) {}

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

CNumCtrl& CPsdMoniDialog::FieldOf(monitor::Field field, int axis) {
    return field == monitor::Field::Freq ? freqField_[axis] : valueField_[axis];
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
    rows_.ApplyAxisCommand(command);
    if (axisChanged) axisChanged();
}
