// CSettingDialog: the modal settings dialog. It edits theApp's settings in place and puts a
// backup back on キャンセル; it also starts the port search, the recorder's clock and threshold
// exchanges and the version dialog.
#pragma once

#include <array>
#include <string>

#include "app/SettingsEditor.h"
#include "resources/SettingDialogResource.h"
#include "ui/Dialog.h"

// The rules live in app::SettingsEditor; the window forwards its controls' events to it.
class CSettingDialog : public ui::Dialog, private app::SettingsDialogShell {
public:
    // `owner` is disabled while the dialog runs (the main window).
    explicit CSettingDialog(HWND owner);
    ~CSettingDialog() override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    void OnNcDestroy() override;

private:
    // app::SettingsDialogShell
    void Tell(const char* text) override;
    bool Confirm(const char* text) override;
    void FocusAndSelectAll(int id) override;
    void SetBusy(bool busy) override;
    void ShowForm(int settingWindowType) override;
    void ListPorts(const std::vector<std::string>& ports, const std::string& com) override;
    void SelectPort(const std::string& com) override;
    void Close(bool confirmed) override;
    app::LocalTime Now() const override;

    void OnPaint();
    void OnBrowse();

    app::SettingsEditor editor_;
    RECT fullRect_{};                 // the window at its detailed width
    std::array<RECT, 4> buttonRects_{};  // version, defaults, OK, キャンセル in client coordinates
    HWND busyFocus_ = nullptr;        // the focus to give back when the dialog is no longer busy
    HCURSOR busyCursor_ = nullptr;
    bool initialised_ = false;        // the separator lines are drawn only once set
    HFONT largeFont_ = nullptr;       // the two "±"
    HFONT fixedFont_ = nullptr;       // the value captions of the radios
};
