// The control panel's recording controls: the record button, the trigger check box, the record and
// trigger lamps, and the recordings' messages to the operator.
#include "app/BtnDialog.h"

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"
#include "graphs/GraphMoniDialog.h"
#include "graphs/Indicator.h"
#include "graphs/PsdMoniDialog.h"
#include "ui/MessageBox.h"

void CBtnDialog::ConnectRecorder() {
    app::RecordingHooks& hooks = theApp.recorder.hooks;
    hooks.addLog = [this](const char* text) { AddLog(text, 0); };
    hooks.recordingChanged = [this](bool on) {
        SetItemText(IDC_RECORD, on ? "記録停止" : "記録");
        recordLamp_->SetState(on ? 0 : 4);
    };
    hooks.triggerChanged = [this](bool on) { trigLamp_->SetState(on ? 0 : 4); };
    hooks.showMessage = [this](const std::string& text) { recordingMessages_.Raise(text); };
    recordingMessages_.hooks.post = [this] { PostMessageA(Handle(), kMsgRecordingMessage, 0, 0); };
    recordingMessages_.hooks.showBox = [this](const std::string& text) {
        // Modal for the operator, but its message loop keeps the data handler running.
        ui::ShowMessage(GetParent(Handle()), text.c_str(), MB_OK);
    };
    recordingMessages_.hooks.log = [this](const std::string& row) { AddLog(row, 0); };
}

void CBtnDialog::OnRecord() {
    // Samples received before the press belong before it: those still queued are taken first.
    theApp.OnSampleData();
    theApp.recorder.ToggleRecording();
}

void CBtnDialog::OnTrigMode() {
    // The setting flips whatever the box shows; the box then follows the setting.
    theApp.settings.trigMode = theApp.settings.trigMode ? 0 : 1;
    ShowTriggerSettings();
    // The time graphs draw the trigger levels only while trigger recording is on.
    // (The panes clip their children: the graphs themselves are repainted, and the "T" labels
    // placed again.)
    if (mainWindow) {
        if (mainWindow->WaveMonitor()) mainWindow->WaveMonitor()->RepaintGraphs();
        if (mainWindow->PsdMonitor()) mainWindow->PsdMonitor()->RepaintGraphs();
    }
}

void CBtnDialog::OnRecordingMessage() { recordingMessages_.ShowNext(); }
