// Settings dialog window: fonts, the two forms' widths, the separators, the folder browser, the
// port list's entries, and message boxes and busy state for the editor it forwards to.
#include "app/SettingDialog.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>

#include "app/QuorvelApp.h"
#include "app/VersionDialog.h"
#include "config/Win32Settings.h"
#include "config/Win32Version.h"
#include "ui/MessageBox.h"

namespace {

constexpr UINT_PTR kClockTimer = 1;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

CSettingDialog::CSettingDialog(HWND owner)
    : ui::Dialog(IDD_SETTING_DIALOG, owner),
      editor_({theApp.settings, theApp.settingWindowType, theApp.analysis, [] { return theApp.session.Busy(); }, theApp, theApp.link,
               theApp.tickClock, theApp.foundPorts,
               [] {
                   static const std::atomic<int32_t> kWholeSearch{1};
                   (void)theApp.portFallback.SearchPorts(kWholeSearch);  // refills theApp.foundPorts
               },
               [] { theApp.portFallback.ShowNoUsablePort(); },
               [](Settings& s, int& formType) { ExchangeSettings(s, formType, 0, ""); }},
              *this, *this) {}

CSettingDialog::~CSettingDialog() {
    if (largeFont_) DeleteObject(largeFont_);
    if (fixedFont_) DeleteObject(fixedFont_);
}

BOOL CSettingDialog::OnInitDialog() {
    HWND hwnd = Handle();
    editor_.Open();
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
    // The radios with value captions (not those of an own value) line up in the fixed-pitch font.
    const WPARAM fixedFont = reinterpret_cast<WPARAM>(fixedFont_);
    const SettingCaptions captioned{};
    for (size_t i = 0; i < captioned.acc.size(); ++i) {
        SendDlgItemMessageA(hwnd, kAccRadios[i], WM_SETFONT, fixedFont, TRUE);
        SendDlgItemMessageA(hwnd, kAcczRadios[i], WM_SETFONT, fixedFont, TRUE);
    }
    for (size_t i = 0; i < captioned.time.size(); ++i) SendDlgItemMessageA(hwnd, kTimeRadios[i], WM_SETFONT, fixedFont, TRUE);

    for (const char* name : kWindowTypeNames)
        SendDlgItemMessageA(hwnd, IDC_SET_WINDOW_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));

    GetWindowRect(hwnd, &fullRect_);
    for (size_t i = 0; i < kMovingButtons.size(); ++i) buttonRects_[i] = ItemRectInClient(kMovingButtons[i]);
    ShowForm(theApp.settingWindowType);

    editor_.Fill();
    SetItemText(IDC_SET_KANZAN_NOTE, KanzanNote(version::ModulePath()));

    SetTimer(hwnd, kClockTimer, 1000, nullptr);
    editor_.ShowPcClock();  // at once, not only after the first second
    initialised_ = true;
    return TRUE;
}

void CSettingDialog::ShowForm(int settingWindowType) {
    const int narrowing = settingWindowType == 0 ? kSimpleFormNarrowing : 0;
    SetWindowPos(Handle(), nullptr, 0, 0, Width(fullRect_) - narrowing, Height(fullRect_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (size_t i = 0; i < kMovingButtons.size(); ++i) {
        const RECT& r = buttonRects_[i];
        MoveWindow(Item(kMovingButtons[i]), r.left - narrowing, r.top, Width(r), Height(r), TRUE);
    }
    SetItemText(IDC_SET_FORM_SWITCH, FormSwitchCaption(settingWindowType));
}

bool CSettingDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_TIMER:
        editor_.ShowPcClock();
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
        if (id == IDC_SET_COM) editor_.OnPortDropDown();
        return;
    }
    if (code == EN_KILLFOCUS) {
        editor_.OnLeft(id);
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == IDC_SET_BROWSE) {
        OnBrowse();
    } else if (id == IDC_SET_VERSION) {
        CVersionDialog version(Handle());
        version.DoModal();
    } else if (!editor_.OnClicked(id)) {
        ui::Dialog::OnCommand(id, code, control);
    }
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
    SetBusy(true);
    chosen = SHBrowseForFolderA(&info);
    // The browser enables its owner when it closes; the main window stays disabled while this
    // modal dialog is open.
    if (main) EnableWindow(main, FALSE);
    SetBusy(false);
    if (chosen) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, path)) SetItemText(IDC_SET_SAVE_DIRECTORY, path);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(ole)) OleUninitialize();
}

void CSettingDialog::OnOK() { editor_.OnOk(GetDlgCtrlID(GetFocus())); }

void CSettingDialog::OnCancel() { editor_.OnCancel(); }

void CSettingDialog::OnNcDestroy() {
    KillTimer(Handle(), kClockTimer);
    theApp.settings.settingPlacement.Capture(Handle());
}

void CSettingDialog::Tell(const char* text) { ui::ShowMessage(Handle(), text, MB_OK); }

bool CSettingDialog::Confirm(const char* text) { return ui::ShowMessage(Handle(), text, MB_OKCANCEL) == IDOK; }

void CSettingDialog::FocusAndSelectAll(int id) {
    SetFocus(Item(id));
    SendDlgItemMessageA(Handle(), id, EM_SETSEL, 0, -1);
}

void CSettingDialog::SetBusy(bool busy) {
    // Disabled with the wait cursor, so no click of the operator reaches the dialog in between.
    if (busy) {
        busyFocus_ = GetFocus();
        busyCursor_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        EnableWindow(Handle(), FALSE);
        return;
    }
    EnableWindow(Handle(), TRUE);
    SetActiveWindow(Handle());
    if (busyFocus_ && IsWindow(busyFocus_)) SetFocus(busyFocus_);
    SetCursor(busyCursor_);
}

void CSettingDialog::ListPorts(const std::vector<std::string>& ports, const std::string& com) {
    HWND list = Item(IDC_SET_COM);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : ports) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(com.c_str()));
}

void CSettingDialog::SelectPort(const std::string& com) {
    if (SendDlgItemMessageA(Handle(), IDC_SET_COM, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(com.c_str())) == CB_ERR)
        SelectEntry(IDC_SET_COM, -1);
}

void CSettingDialog::Close(bool confirmed) { EndDialog(confirmed ? IDOK : IDCANCEL); }

app::LocalTime CSettingDialog::Now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}
