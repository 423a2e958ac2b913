// Settings dialog: filling, forms, enabling, checks, the port list, the folder browser and the
// recorder's clock and threshold exchanges.
#include "app/SettingDialog.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "analysis/AnalysisFromSettings.h"
#include "app/QuorvelApp.h"
#include "app/VersionDialog.h"
#include "config/Win32Settings.h"
#include "config/Win32Version.h"
#include "device/RecorderCommands.h"
#include "ui/MessageBox.h"

namespace {

constexpr UINT_PTR kClockTimer = 1;

// The four buttons that follow the dialog's right edge.
constexpr std::array<int, 4> kMovingButtons = {IDC_SET_VERSION, IDC_SET_DEFAULTS, IDOK, IDCANCEL};

// Separator lines: drawn across the dialog this many pixels above the control's top edge.
constexpr std::pair<int, int> kSeparators[] = {{IDC_SET_TIME_LABEL, 3},      {IDC_SET_TRIG_GROUP, 3},
                                               {IDC_SET_CLOCK_LABEL, 6},     {IDC_SET_THRESHOLD_LABEL, 5},
                                               {IDC_SET_COM_LABEL, 5},       {IDC_SET_PSD_GROUP, 1},
                                               {IDC_SET_KANZAN_LABEL, 3}};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Keeps the dialog disabled, with the wait cursor, while an exchange, a search or the folder
// browser runs, so no click of the operator reaches it in between; the focus comes back after.
class Busy {
public:
    explicit Busy(HWND dialog) : dialog_(dialog), focus_(GetFocus()), cursor_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {
        EnableWindow(dialog_, FALSE);
    }
    ~Busy() {
        EnableWindow(dialog_, TRUE);
        SetActiveWindow(dialog_);
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
        SetCursor(cursor_);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    HWND dialog_;
    HWND focus_;
    HCURSOR cursor_;
};

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

CSettingDialog::CSettingDialog(HWND owner) : ui::Dialog(IDD_SETTING_DIALOG, owner) {}

CSettingDialog::~CSettingDialog() {
    if (largeFont_) DeleteObject(largeFont_);
    if (fixedFont_) DeleteObject(fixedFont_);
}

BOOL CSettingDialog::OnInitDialog() {
    HWND hwnd = Handle();
    backup_ = theApp.settings;
    theApp.settings.settingPlacement.Restore(hwnd, true);

    SendDlgItemMessageA(hwnd, IDC_SET_COM, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(hwnd, IDC_SET_COM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(theApp.settings.com.c_str()));

    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    GetObjectA(dialogFont, sizeof lf, &lf);
    LOGFONTA large = lf;
    large.lfHeight = static_cast<LONG>(lf.lfHeight * 1.5);
    largeFont_ = CreateFontIndirectA(&large);
    for (int id : {IDC_SET_PLUSMINUS_XY, IDC_SET_PLUSMINUS_Z})
        SendDlgItemMessageA(hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(largeFont_), TRUE);
    LOGFONTA fixed{};
    fixed.lfHeight = lf.lfHeight;
    fixed.lfCharSet = SHIFTJIS_CHARSET;
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(fixed.lfFaceName, "ＭＳ　ゴシック", LF_FACESIZE);
    fixedFont_ = CreateFontIndirectA(&fixed);

    for (const char* name : kWindowTypeNames)
        SendDlgItemMessageA(hwnd, IDC_SET_WINDOW_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));

    GetWindowRect(hwnd, &fullRect_);
    for (size_t i = 0; i < kMovingButtons.size(); ++i) buttonRects_[i] = ItemRectInClient(kMovingButtons[i]);
    ApplyWindowForm();

    FillControls();
    SetItemText(IDC_SET_KANZAN_NOTE, KanzanNote(version::ModulePath()));

    SetTimer(hwnd, kClockTimer, 1000, nullptr);
    ShowPcClock();  // at once, not only after the first second
    initialised_ = true;
    return TRUE;
}

void CSettingDialog::ApplyWindowForm() {
    const int narrowing = theApp.settingWindowType == 0 ? kSimpleFormNarrowing : 0;
    SetWindowPos(Handle(), nullptr, 0, 0, Width(fullRect_) - narrowing, Height(fullRect_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (size_t i = 0; i < kMovingButtons.size(); ++i) {
        const RECT& r = buttonRects_[i];
        MoveWindow(Item(kMovingButtons[i]), r.left - narrowing, r.top, Width(r), Height(r), TRUE);
    }
    SetItemText(IDC_SET_FORM_SWITCH, FormSwitchCaption(theApp.settingWindowType));
}

void CSettingDialog::Tick(const int* ids, size_t count, int position) const {
    for (size_t i = 0; i < count; ++i) CheckItem(ids[i], static_cast<int>(i) == position);
}

int CSettingDialog::TickedPosition(const int* ids, size_t count) const {
    for (size_t i = 0; i < count; ++i)
        if (IsItemChecked(ids[i])) return static_cast<int>(i);
    return -1;
}

void CSettingDialog::FillControls() {
    HWND hwnd = Handle();
    const Settings& s = theApp.settings;
    const SettingForm f = FormFromSettings(s);
    const SettingCaptions c = CaptionsFromSettings(s);

    if (SendDlgItemMessageA(hwnd, IDC_SET_COM, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(s.com.c_str())) == CB_ERR)
        SendDlgItemMessageA(hwnd, IDC_SET_COM, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetItemText(IDC_SET_SAVE_DIRECTORY, f.saveDirectory);

    const WPARAM fixed = reinterpret_cast<WPARAM>(fixedFont_);
    for (size_t i = 0; i < c.acc.size(); ++i) {
        SendDlgItemMessageA(hwnd, kAccRadios[i], WM_SETFONT, fixed, TRUE);
        SetItemText(kAccRadios[i], c.acc[i]);
        SendDlgItemMessageA(hwnd, kAcczRadios[i], WM_SETFONT, fixed, TRUE);
        SetItemText(kAcczRadios[i], c.accz[i]);
    }
    SetItemText(IDC_SET_OWN_ACC, f.ownAcc);
    SetItemText(IDC_SET_OWN_ACCZ, f.ownAccz);
    for (size_t i = 0; i < c.time.size(); ++i) {
        SendDlgItemMessageA(hwnd, kTimeRadios[i], WM_SETFONT, fixed, TRUE);
        SetItemText(kTimeRadios[i], c.time[i]);
    }

    SetItemText(IDC_SET_BEFOR_TIME, f.beforTime);
    SetItemText(IDC_SET_AFTER_TIME, f.afterTime);
    SetItemText(IDC_SET_VAL_XY, f.valXY);
    SetItemText(IDC_SET_VAL_Z, f.valZ);
    SetItemText(IDC_SET_OWN_TIME, f.ownTime);

    CheckItem(IDC_SET_ACC_AUTO, f.accAuto);
    Tick(kAccRadios.data(), kAccRadios.size(), f.accSel);
    Tick(kAcczRadios.data(), kAcczRadios.size(), f.acczSel);
    Tick(kTimeRadios.data(), kTimeRadios.size(), f.timeSel);

    const int kanzan[3] = {IDC_SET_KANZAN_X, IDC_SET_KANZAN_Y, IDC_SET_KANZAN_Z};
    for (int i = 0; i < 3; ++i) {
        SetItemText(kanzan[i], c.kanzan[i]);
        EnableItem(kanzan[i], false);
    }
    SetItemText(IDC_SET_BIT, c.bit);
    SetItemText(IDC_SET_KANZAN_LABEL, c.kanzanLabel);
    SetItemText(IDC_SET_MAXNUM, c.maxnum);

    CheckItem(IDC_SET_PSD_FLG, f.psd);
    CheckItem(IDC_SET_HIPASS_FLG, f.hipass);
    SetItemText(IDC_SET_HIPASS, f.hipassFilter);
    Tick(kXTypeRadios.data(), kXTypeRadios.size(), f.xType);
    SendDlgItemMessageA(hwnd, IDC_SET_WINDOW_TYPE, CB_SETCURSEL, static_cast<WPARAM>(f.windowType), 0);

    for (size_t i = 0; i < kThresholdInputs.size(); ++i) SetItemText(kThresholdInputs[i], f.thresholds[i]);

    Apply(InitialEnabling(f, s.valChange));
}

void CSettingDialog::Apply(const EnableList& list) const {
    for (const auto& [id, enabled] : list) EnableItem(id, enabled);
}

std::string CSettingDialog::EditText(int id) const {
    char text[256] = "";
    GetDlgItemTextA(Handle(), id, text, sizeof text);
    return text;
}

std::array<std::string, 4> CSettingDialog::Texts(const std::array<int, 4>& ids) const {
    return {EditText(ids[0]), EditText(ids[1]), EditText(ids[2]), EditText(ids[3])};
}

SettingForm CSettingDialog::ReadForm() const {
    SettingForm f;
    f.saveDirectory = ItemText(IDC_SET_SAVE_DIRECTORY);
    f.timeSel = TickedPosition(kTimeRadios.data(), kTimeRadios.size());
    f.ownTime = EditText(IDC_SET_OWN_TIME);
    f.accAuto = IsItemChecked(IDC_SET_ACC_AUTO);
    f.accSel = TickedPosition(kAccRadios.data(), kAccRadios.size());
    f.acczSel = TickedPosition(kAcczRadios.data(), kAcczRadios.size());
    f.ownAcc = EditText(IDC_SET_OWN_ACC);
    f.ownAccz = EditText(IDC_SET_OWN_ACCZ);
    f.beforTime = EditText(IDC_SET_BEFOR_TIME);
    f.afterTime = EditText(IDC_SET_AFTER_TIME);
    f.valXY = EditText(IDC_SET_VAL_XY);
    f.valZ = EditText(IDC_SET_VAL_Z);
    f.thresholds = Texts(kThresholdInputs);
    f.psd = IsItemChecked(IDC_SET_PSD_FLG);
    f.windowType = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_SET_WINDOW_TYPE, CB_GETCURSEL, 0, 0));
    f.hipass = IsItemChecked(IDC_SET_HIPASS_FLG);
    f.hipassFilter = EditText(IDC_SET_HIPASS);
    f.xType = TickedPosition(kXTypeRadios.data(), kXTypeRadios.size());
    return f;
}

bool CSettingDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_TIMER:
        ShowPcClock();
        result = 0;
        return true;
    case WM_PAINT:
        if (!initialised_) return false;
        OnPaint();
        result = 0;
        return true;
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

void CSettingDialog::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client{};
    GetClientRect(Handle(), &client);
    for (const auto& [id, lift] : kSeparators) {
        const int y = ItemRectInClient(id).top - lift;
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    EndPaint(Handle(), &ps);
}

void CSettingDialog::OnCommand(int id, int code, HWND control) {
    if (code == CBN_DROPDOWN) {
        if (id == IDC_SET_COM) OnPortDropDown();
        return;
    }
    if (code == EN_KILLFOCUS) {
        OnThresholdLeft(id);
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_SET_BROWSE: OnBrowse(); break;
    case IDC_SET_FORM_SWITCH: OnFormSwitch(); break;
    case IDC_SET_DEFAULTS: OnDefaults(); break;
    case IDC_SET_VERSION: {
        CVersionDialog version(Handle());
        version.DoModal();
        break;
    }
    case IDC_SET_CLOCK_SEND: SendClock(); break;
    case IDC_SET_THRESHOLD_READ: (void)ReadThresholds(); break;
    case IDC_SET_THRESHOLD_WRITE: WriteThresholds(); break;
    case IDC_SET_PSD_FLG: Apply(PsdRule(IsItemChecked(IDC_SET_PSD_FLG), IsItemChecked(IDC_SET_HIPASS_FLG))); break;
    case IDC_SET_HIPASS_FLG: Apply(FilterRule(IsItemChecked(IDC_SET_HIPASS_FLG))); break;
    case IDC_SET_ACC_AUTO:
        Apply(ScaleRule(IsItemChecked(IDC_SET_ACC_AUTO), TickedPosition(kAccRadios.data(), kAccRadios.size()),
                        TickedPosition(kAcczRadios.data(), kAcczRadios.size())));
        break;
    default:
        OnRadioClicked(id);
        ui::Dialog::OnCommand(id, code, control);
    }
}

void CSettingDialog::OnRadioClicked(int id) {
    auto in = [id](const auto& ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    if (in(kTimeRadios)) Apply(DisplayTimeRule(TickedPosition(kTimeRadios.data(), kTimeRadios.size())));
    else if (in(kAccRadios)) Apply(AccRadioRule(TickedPosition(kAccRadios.data(), kAccRadios.size())));
    else if (in(kAcczRadios)) Apply(AcczRadioRule(TickedPosition(kAcczRadios.data(), kAcczRadios.size())));
}

void CSettingDialog::OnThresholdLeft(int id) {
    for (size_t i = 0; i < kThresholdInputs.size(); ++i) {
        if (kThresholdInputs[i] == id) SetItemText(id, RoundedThresholdText(static_cast<int>(i), EditText(id)));
    }
}

void CSettingDialog::ShowPcClock() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char date[32];
    char time[32];
    char text[80];
    std::snprintf(date, sizeof date, "%04d%s%02d%s%02d", t.wYear, ".", t.wMonth, ".", t.wDay);
    std::snprintf(time, sizeof time, "%02d%s%02d%s%02d", t.wHour, ":", t.wMinute, ":", t.wSecond);
    std::snprintf(text, sizeof text, "%s_%s", date, time);
    if (ItemText(IDC_SET_PC_CLOCK) != text) SetItemText(IDC_SET_PC_CLOCK, text);
}

void CSettingDialog::OnPortDropDown() {
    if (portsSearched_) return;
    portsSearched_ = true;  // set first: a second drop-down during the search must not search again
    {
        Busy busy(Handle());
        static const std::atomic<int32_t> kWholeSearch{1};
        (void)theApp.portFallback.SearchPorts(kWholeSearch);  // refills theApp.foundPorts
    }
    if (theApp.foundPorts.empty()) theApp.portFallback.ShowNoUsablePort();
    HWND list = Item(IDC_SET_COM);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : theApp.foundPorts)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(theApp.settings.com.c_str()));
}

void CSettingDialog::OnBrowse() {
    const std::string current = ItemText(IDC_SET_SAVE_DIRECTORY);
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    HWND main = mainWindowHandle.load();
    info.hwndOwner = main;
    info.pszDisplayName = display;
    info.lpszTitle = kTextBrowseTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(current.c_str());
    const HRESULT ole = OleInitialize(nullptr);
    LPITEMIDLIST chosen = nullptr;
    {
        Busy busy(Handle());
        chosen = SHBrowseForFolderA(&info);
        // The browser enables its owner when it closes; the main window stays disabled while
        // this modal dialog is open.
        if (main) EnableWindow(main, FALSE);
    }
    if (chosen) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, path)) SetItemText(IDC_SET_SAVE_DIRECTORY, path);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(ole)) OleUninitialize();
}

void CSettingDialog::OnFormSwitch() {
    theApp.settingWindowType = theApp.settingWindowType == 0 ? 1 : 0;
    ApplyWindowForm();
}

void CSettingDialog::OnDefaults() {
    if (ui::ShowMessage(Handle(), kTextDefaultsQuestion, MB_OKCANCEL) != IDOK) return;
    int formType = theApp.settingWindowType;  // the form is not a setting the defaults reset
    ExchangeSettings(theApp.settings, formType, 0, "");
    FillControls();
}

void CSettingDialog::OnOK() {
    // Enter leaves no edit: the threshold input in use is rounded as if the focus had left it.
    const int focused = GetDlgCtrlID(GetFocus());
    OnThresholdLeft(focused);
    const SettingForm form = ReadForm();
    if (const std::optional<RangeError> e = FirstRangeError(form)) {
        ui::ShowMessage(Handle(), e->message, MB_OK);
        SetFocus(Item(e->control));
        SendDlgItemMessageA(Handle(), e->control, EM_SETSEL, 0, -1);
        return;
    }
    if (portsSearched_ && !theApp.foundPorts.empty()) {
        const LRESULT selected = SendDlgItemMessageA(Handle(), IDC_SET_COM, CB_GETCURSEL, 0, 0);
        // No entry chosen keeps the port in force.
        if (selected >= 0 && static_cast<size_t>(selected) < theApp.foundPorts.size())
            theApp.settings.com = theApp.foundPorts[static_cast<size_t>(selected)];
    }
    TakeForm(form, theApp.settings);
    app::SetupAnalysis(theApp.analysis, app::AnalysisSettingsFrom(theApp.settings));
    EndDialog(IDOK);
}

void CSettingDialog::OnCancel() {
    theApp.settings = backup_;
    EndDialog(IDCANCEL);
}

void CSettingDialog::OnNcDestroy() {
    KillTimer(Handle(), kClockTimer);
    theApp.settings.settingPlacement.Capture(Handle());
}

bool CSettingDialog::PrepareLink() const {
    // A measurement started meanwhile by another program owns the port object: no exchange then,
    // nor while such a start searches for its port.
    if (theApp.session.Busy()) return false;
    // A receive thread given up by the last stop may still hold the port for its last read.
    if (!theApp.WaitForLinkIdle()) return false;
    theApp.link.SetLineConfig(theApp.settings.com, theApp.settings.bit);
    return true;
}

void CSettingDialog::SendClock() {
    SYSTEMTIME t{};
    GetLocalTime(&t);  // one reading for date and time, so a transfer at midnight cannot mix days
    const std::string command = device::ClockCommand(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    bool sent = false;
    {
        Busy busy(Handle());
        sent = PrepareLink() && device::SendClock(theApp.link, command);
    }
    ui::ShowMessage(Handle(), sent ? device::ClockSentText(command).c_str() : device::kTextClockFailed, MB_OK);
}

bool CSettingDialog::ReadThresholds() {
    std::optional<device::Thresholds> read;
    {
        Busy busy(Handle());
        if (PrepareLink()) read = device::ReadThresholds(theApp.link, theApp.tickClock);
    }
    if (!read) {
        ui::ShowMessage(Handle(), device::kTextThresholdReadError, MB_OK);
        return false;
    }
    const std::array<std::string, 4> texts = DeviceThresholdTexts({read->p, read->n1, read->n2, read->n3});
    for (size_t i = 0; i < kDeviceFields.size(); ++i) SetItemText(kDeviceFields[i], texts[i]);
    thresholdsRead_ = true;
    return true;
}

void CSettingDialog::WriteThresholds() {
    if (const std::optional<RangeError> e = FirstThresholdError(Texts(kThresholdInputs))) {
        ui::ShowMessage(Handle(), e->message, MB_OK);
        return;
    }
    if (!thresholdsRead_) {
        ui::ShowMessage(Handle(), kTextReadBeforeWrite, MB_OK);
        return;
    }
    const std::string question = ThresholdWriteQuestion(Texts(kDeviceFields), Texts(kThresholdInputs));
    if (ui::ShowMessage(Handle(), question.c_str(), MB_OKCANCEL) != IDOK) return;
    const std::array<int, 4> v = ThresholdCommandValues(Texts(kThresholdInputs));
    bool written = false;
    {
        Busy busy(Handle());
        written = PrepareLink() &&
                  device::WriteThresholdCommand(theApp.link, device::ThresholdWriteCommand({v[0], v[1], v[2], v[3]}));
    }
    if (written) (void)ReadThresholds();
    else ui::ShowMessage(Handle(), device::kTextThresholdWriteError, MB_OK);
}
