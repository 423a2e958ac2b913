// CSettingDialog: the modal settings dialog. It edits theApp's settings in place and puts a
// backup back on キャンセル; it also starts the port search, the recorder's clock and threshold
// exchanges and the version dialog.
#pragma once

#include <array>
#include <string>

#include "config/SettingForm.h"
#include "config/Settings.h"
#include "resources/SettingDialogResource.h"
#include "ui/Dialog.h"

class CSettingDialog : public ui::Dialog {
public:
    // `owner` is disabled while the dialog runs (the main window).
    explicit CSettingDialog(HWND owner);
    ~CSettingDialog() override;

    // PC clock field: local time as "yyyy.MM.dd_hh:mm:ss".
    void ShowPcClock();
    // "転送" of the PC clock: sets the recorder's clock.
    void SendClock();
    // "モニタ": reads the recorder's thresholds into the "[装置]" fields; true on success.
    bool ReadThresholds();
    // "転送" of the thresholds: checks, asks, writes and reads back.
    void WriteThresholds();

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    void OnNcDestroy() override;

private:
    void FillControls();
    SettingForm ReadForm() const;
    void Apply(const EnableList& list) const;
    void ApplyWindowForm();
    void OnPaint();
    void OnRadioClicked(int id);
    void OnPortDropDown();
    void OnBrowse();
    void OnFormSwitch();
    void OnDefaults();
    void OnThresholdLeft(int id);
    // Text of an edit as the checks read it: at most 255 characters.
    std::string EditText(int id) const;
    std::array<std::string, 4> Texts(const std::array<int, 4>& ids) const;
    int TickedPosition(const int* ids, size_t count) const;
    void Tick(const int* ids, size_t count, int position) const;
    // The link set up for an exchange, after a receive thread that is still finishing has ended;
    // false when it has not.
    bool PrepareLink() const;

    Settings backup_;                 // the whole record as it was when the dialog opened
    RECT fullRect_{};                 // the window at its detailed width
    std::array<RECT, 4> buttonRects_{};  // version, defaults, OK, キャンセル in client coordinates
    bool portsSearched_ = false;
    bool thresholdsRead_ = false;
    bool initialised_ = false;        // the separator lines are drawn only once set
    HFONT largeFont_ = nullptr;       // the two "±"
    HFONT fixedFont_ = nullptr;       // the value captions of the radios
};
