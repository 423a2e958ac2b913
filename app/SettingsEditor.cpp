// Settings dialog rules over its controls: filling, reading, enabling, OK and キャンセル, the port
// list and the recorder's clock and threshold exchanges.
#include "app/SettingsEditor.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

#include "analysis/AnalysisFromSettings.h"
#include "device/RecorderCommands.h"
#include "resources/SettingDialogResource.h"

namespace app {

namespace {

// Keeps the dialog busy for one scope.
class BusyScope {
public:
    explicit BusyScope(SettingsDialogShell& shell) : shell_(shell) { shell_.SetBusy(true); }
    ~BusyScope() { shell_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    SettingsDialogShell& shell_;
};

// The edits that take a number, and the form's text each holds.
constexpr std::pair<int, std::string SettingForm::*> kNumberEdits[] = {
    {IDC_SET_OWN_TIME, &SettingForm::ownTime},     {IDC_SET_OWN_ACC, &SettingForm::ownAcc},
    {IDC_SET_OWN_ACCZ, &SettingForm::ownAccz},     {IDC_SET_BEFOR_TIME, &SettingForm::beforTime},
    {IDC_SET_AFTER_TIME, &SettingForm::afterTime}, {IDC_SET_VAL_XY, &SettingForm::valXY},
    {IDC_SET_VAL_Z, &SettingForm::valZ},           {IDC_SET_HIPASS, &SettingForm::hipassFilter}};
constexpr std::pair<int, bool SettingForm::*> kChecks[] = {
    {IDC_SET_ACC_AUTO, &SettingForm::accAuto}, {IDC_SET_PSD_FLG, &SettingForm::psd},
    {IDC_SET_HIPASS_FLG, &SettingForm::hipass}};

}  // namespace

std::string PcClockText(const LocalTime& t) {
    char date[16], time[16];  // the date and the time of day, joined by "_"
    std::snprintf(date, sizeof date, "%04d.%02d.%02d", t.year, t.month, t.day);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return std::string(date) + "_" + time;
}

SettingsEditor::SettingsEditor(SettingsEditorParts parts, ui::DialogItems& items, SettingsDialogShell& shell)
    : parts_(std::move(parts)), items_(items), shell_(shell) {}

void SettingsEditor::Open() { backup_ = parts_.settings; }

void SettingsEditor::Tick(const int* ids, size_t count, int position) const {
    for (size_t i = 0; i < count; ++i) items_.CheckItem(ids[i], static_cast<int>(i) == position);
}

int SettingsEditor::Ticked(const int* ids, size_t count) const {
    for (size_t i = 0; i < count; ++i)
        if (items_.IsItemChecked(ids[i])) return static_cast<int>(i);
    return -1;
}

void SettingsEditor::Apply(const EnableList& list) const {
    for (const auto& [id, enabled] : list) items_.EnableItem(id, enabled);
}

// As the checks read an edit: at most its first 255 characters.
std::string SettingsEditor::EditText(int id) const { return items_.ItemText(id).substr(0, 255); }

std::array<std::string, 4> SettingsEditor::Texts(const std::array<int, 4>& ids) const {
    return {EditText(ids[0]), EditText(ids[1]), EditText(ids[2]), EditText(ids[3])};
}

void SettingsEditor::Fill() {
    const Settings& s = parts_.settings;
    const SettingForm f = FormFromSettings(s);
    const SettingCaptions c = CaptionsFromSettings(s);

    shell_.SelectPort(s.com);
    items_.SetItemText(IDC_SET_SAVE_DIRECTORY, f.saveDirectory);
    for (const auto& [id, text] : kNumberEdits) items_.SetItemText(id, f.*text);
    for (const auto& [id, checked] : kChecks) items_.CheckItem(id, f.*checked);
    for (size_t i = 0; i < c.acc.size(); ++i) {
        items_.SetItemText(kAccRadios[i], c.acc[i]);
        items_.SetItemText(kAcczRadios[i], c.accz[i]);
    }
    for (size_t i = 0; i < c.time.size(); ++i) items_.SetItemText(kTimeRadios[i], c.time[i]);
    Tick(kAccRadios.data(), kAccRadios.size(), f.accSel);
    Tick(kAcczRadios.data(), kAcczRadios.size(), f.acczSel);
    Tick(kTimeRadios.data(), kTimeRadios.size(), f.timeSel);
    Tick(kXTypeRadios.data(), kXTypeRadios.size(), f.xType);
    items_.SelectEntry(IDC_SET_WINDOW_TYPE, f.windowType);

    // The conversion factors are shown, not edited (the note names the INI key to change).
    const int kanzan[3] = {IDC_SET_KANZAN_X, IDC_SET_KANZAN_Y, IDC_SET_KANZAN_Z};
    for (int i = 0; i < 3; ++i) {
        items_.SetItemText(kanzan[i], c.kanzan[i]);
        items_.EnableItem(kanzan[i], false);
    }
    items_.SetItemText(IDC_SET_BIT, c.bit);
    items_.SetItemText(IDC_SET_KANZAN_LABEL, c.kanzanLabel);
    items_.SetItemText(IDC_SET_MAXNUM, c.maxnum);
    for (size_t i = 0; i < kThresholdInputs.size(); ++i) items_.SetItemText(kThresholdInputs[i], f.thresholds[i]);

    Apply(InitialEnabling(f, s.valChange));
}

SettingForm SettingsEditor::ReadForm() const {
    SettingForm f;
    f.saveDirectory = items_.ItemText(IDC_SET_SAVE_DIRECTORY);
    for (const auto& [id, text] : kNumberEdits) f.*text = EditText(id);
    for (const auto& [id, checked] : kChecks) f.*checked = items_.IsItemChecked(id);
    f.timeSel = Ticked(kTimeRadios.data(), kTimeRadios.size());
    f.accSel = Ticked(kAccRadios.data(), kAccRadios.size());
    f.acczSel = Ticked(kAcczRadios.data(), kAcczRadios.size());
    f.xType = Ticked(kXTypeRadios.data(), kXTypeRadios.size());
    f.thresholds = Texts(kThresholdInputs);
    f.windowType = items_.SelectedEntry(IDC_SET_WINDOW_TYPE);
    return f;
}

bool SettingsEditor::OnClicked(int id) {
    auto in = [id](const auto& ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    switch (id) {
    case IDC_SET_FORM_SWITCH:
        parts_.settingWindowType = parts_.settingWindowType == 0 ? 1 : 0;
        shell_.ShowForm(parts_.settingWindowType);
        return true;
    case IDC_SET_DEFAULTS: {
        if (!shell_.Confirm(kTextDefaultsQuestion)) return true;
        int formType = parts_.settingWindowType;  // the form is not a setting the defaults reset
        parts_.loadDefaults(parts_.settings, formType);
        Fill();
        return true;
    }
    case IDC_SET_CLOCK_SEND: SendClock(); return true;
    case IDC_SET_THRESHOLD_READ: (void)ReadThresholds(); return true;
    case IDC_SET_THRESHOLD_WRITE: WriteThresholds(); return true;
    case IDC_SET_PSD_FLG:
        Apply(PsdRule(items_.IsItemChecked(IDC_SET_PSD_FLG), items_.IsItemChecked(IDC_SET_HIPASS_FLG)));
        return true;
    case IDC_SET_HIPASS_FLG: Apply(FilterRule(items_.IsItemChecked(IDC_SET_HIPASS_FLG))); return true;
    case IDC_SET_ACC_AUTO:
        Apply(ScaleRule(items_.IsItemChecked(IDC_SET_ACC_AUTO), Ticked(kAccRadios.data(), kAccRadios.size()),
                        Ticked(kAcczRadios.data(), kAcczRadios.size())));
        return true;
    default:
        break;
    }
    // A radio's own rule; the click still goes on to the dialog's default handling.
    if (in(kTimeRadios)) Apply(DisplayTimeRule(Ticked(kTimeRadios.data(), kTimeRadios.size())));
    else if (in(kAccRadios)) Apply(AccRadioRule(Ticked(kAccRadios.data(), kAccRadios.size())));
    else if (in(kAcczRadios)) Apply(AcczRadioRule(Ticked(kAcczRadios.data(), kAcczRadios.size())));
    return false;
}

void SettingsEditor::OnLeft(int id) {
    for (size_t i = 0; i < kThresholdInputs.size(); ++i) {
        if (kThresholdInputs[i] == id)
            items_.SetItemText(id, RoundedThresholdText(static_cast<int>(i), EditText(id)));
    }
}

void SettingsEditor::ShowPcClock() {
    const std::string text = PcClockText(shell_.Now());
    if (items_.ItemText(IDC_SET_PC_CLOCK) != text) items_.SetItemText(IDC_SET_PC_CLOCK, text);
}

void SettingsEditor::OnPortDropDown() {
    if (portsSearched_) return;
    portsSearched_ = true;  // set first: a second drop-down during the search must not search again
    {
        BusyScope busy(shell_);
        parts_.searchPorts();
    }
    if (parts_.foundPorts.empty()) parts_.showNoUsablePort();
    shell_.ListPorts(parts_.foundPorts, parts_.settings.com);
}

void SettingsEditor::OnOk(int focused) {
    // Enter leaves no edit: the threshold input in use is rounded as if the focus had left it.
    OnLeft(focused);
    const SettingForm form = ReadForm();
    if (const std::optional<RangeError> e = FirstRangeError(form)) {
        shell_.Tell(e->message);
        shell_.FocusAndSelectAll(e->control);
        return;
    }
    if (portsSearched_ && !parts_.foundPorts.empty()) {
        const int selected = items_.SelectedEntry(IDC_SET_COM);
        // No entry chosen keeps the port in force.
        if (selected >= 0 && static_cast<size_t>(selected) < parts_.foundPorts.size())
            parts_.settings.com = parts_.foundPorts[static_cast<size_t>(selected)];
    }
    TakeForm(form, parts_.settings);
    SetupAnalysis(parts_.analysis, AnalysisSettingsFrom(parts_.settings));
    shell_.Close(true);
}

void SettingsEditor::OnCancel() {
    parts_.settings = backup_;
    shell_.Close(false);
}

bool SettingsEditor::PrepareLink() const {
    // A measurement started meanwhile by another program owns the port object: no exchange then,
    // nor while such a start searches for its port.
    if (parts_.measurementBusy()) return false;
    // A receive thread given up by the last stop may still hold the port for its last read.
    if (!parts_.sessionLink.WaitUntilIdle()) return false;
    parts_.link.SetLineConfig(parts_.settings.com, parts_.settings.bit);
    return true;
}

void SettingsEditor::SendClock() {
    const LocalTime t = shell_.Now();  // one reading for date and time, so a transfer at midnight cannot mix days
    const std::string command = device::ClockCommand(t.year, t.month, t.day, t.hour, t.minute, t.second);
    bool sent = false;
    {
        BusyScope busy(shell_);
        sent = PrepareLink() && device::SendClock(parts_.link, command);
    }
    shell_.Tell(sent ? device::ClockSentText(command).c_str() : device::kTextClockFailed);
}

bool SettingsEditor::ReadThresholds() {
    std::optional<device::Thresholds> read;
    {
        BusyScope busy(shell_);
        if (PrepareLink()) read = device::ReadThresholds(parts_.link, parts_.tickClock);
    }
    if (!read) {
        shell_.Tell(device::kTextThresholdReadError);
        return false;
    }
    const std::array<std::string, 4> texts = DeviceThresholdTexts({read->p, read->n1, read->n2, read->n3});
    for (size_t i = 0; i < kDeviceFields.size(); ++i) items_.SetItemText(kDeviceFields[i], texts[i]);
    thresholdsRead_ = true;
    return true;
}

void SettingsEditor::WriteThresholds() {
    if (const std::optional<RangeError> e = FirstThresholdError(Texts(kThresholdInputs))) {
        shell_.Tell(e->message);
        return;
    }
    if (!thresholdsRead_) {
        shell_.Tell(kTextReadBeforeWrite);
        return;
    }
    const std::string question = ThresholdWriteQuestion(Texts(kDeviceFields), Texts(kThresholdInputs));
    if (!shell_.Confirm(question.c_str())) return;
    const std::array<int, 4> v = ThresholdCommandValues(Texts(kThresholdInputs));
    bool written = false;
    {
        BusyScope busy(shell_);
        written = PrepareLink() &&
                  device::WriteThresholdCommand(parts_.link, device::ThresholdWriteCommand({v[0], v[1], v[2], v[3]}));
    }
    if (written) (void)ReadThresholds();
    else shell_.Tell(device::kTextThresholdWriteError);
}

}  // namespace app
