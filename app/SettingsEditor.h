// The settings dialog without its window: it fills the controls from the settings, applies the
// enabling rules as the operator clicks, checks and takes the form over on OK, puts the backup
// back on キャンセル, and runs the port list and the recorder's clock and threshold exchanges. The
// dialog keeps its fonts, its width, the separators and the folder browser, and forwards the rest.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "app/MeasurementSession.h"
#include "config/SettingForm.h"
#include "config/Settings.h"
#include "device/RsUtil.h"
#include "pipeline/EventLog.h"
#include "ui/DialogItems.h"

namespace app {

// What the editor asks of the dialog window beyond its controls.
class SettingsDialogShell {
public:
    virtual ~SettingsDialogShell() = default;
    // A message box with OK, and one with OK and キャンセル (true for OK).
    virtual void Tell(const char* text) = 0;
    virtual bool Confirm(const char* text) = 0;
    // The control gets the focus with its whole text selected.
    virtual void FocusAndSelectAll(int id) = 0;
    // While an exchange or the port search runs, the dialog takes no click (and shows the wait
    // cursor); the focus comes back after.
    virtual void SetBusy(bool busy) = 0;
    // The window at the width of the simple (0) or detailed (1) form.
    virtual void ShowForm(int settingWindowType) = 0;
    // The port list: its entries, and the entry named `com` selected (none when it is not there).
    virtual void ListPorts(const std::vector<std::string>& ports, const std::string& com) = 0;
    virtual void SelectPort(const std::string& com) = 0;
    // Ends the dialog: confirmed (OK) or not.
    virtual void Close(bool confirmed) = 0;
    virtual LocalTime Now() const = 0;
};

// The program's state and links the editor works on.
struct SettingsEditorParts {
    Settings& settings;
    int& settingWindowType;
    AnalysisState& analysis;
    std::function<bool()> measurementBusy;   // a measurement starts or runs (it owns the port then)
    SessionLink& sessionLink;   // waits for a receive thread that is still finishing
    device::CRsUtil& link;
    device::TickClock& tickClock;
    std::vector<std::string>& foundPorts;
    std::function<void()> searchPorts;       // the whole port search, refilling foundPorts
    std::function<void()> showNoUsablePort;  // "使用可能な通信ポートが見つかりません。"
    std::function<void(Settings&, int&)> loadDefaults;
};

class SettingsEditor {
public:
    SettingsEditor(SettingsEditorParts parts, ui::DialogItems& items, SettingsDialogShell& shell);

    // The dialog opened: the settings are kept to be put back on キャンセル.
    void Open();
    // The controls from the settings, and their enabling.
    void Fill();
    [[nodiscard]] SettingForm ReadForm() const;

    // A button, check box or radio clicked; false when it is none the editor handles.
    bool OnClicked(int id);
    // A control lost the focus: a threshold input shows its value rounded.
    void OnLeft(int id);
    // The port list drops down: the first time, the ports are searched and listed.
    void OnPortDropDown();
    // OK, with the control that has the focus (Enter leaves no edit).
    void OnOk(int focused);
    void OnCancel();

    // The PC clock field, "yyyy.MM.dd_hh:mm:ss", set only when it changed.
    void ShowPcClock();
    void SendClock();
    bool ReadThresholds();
    void WriteThresholds();

private:
    int Ticked(const int* ids, size_t count) const;
    void Tick(const int* ids, size_t count, int position) const;
    std::string EditText(int id) const;
    std::array<std::string, 4> Texts(const std::array<int, 4>& ids) const;
    void Apply(const EnableList& list) const;
    bool PrepareLink() const;

    SettingsEditorParts parts_;
    ui::DialogItems& items_;
    SettingsDialogShell& shell_;
    Settings backup_;
    bool portsSearched_ = false;
    bool thresholdsRead_ = false;
};

// The PC clock as the settings dialog shows it: "yyyy.MM.dd_hh:mm:ss".
[[nodiscard]] std::string PcClockText(const LocalTime& t);

}  // namespace app
