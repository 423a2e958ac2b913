// The control panel: the operator's buttons, the trigger levels, the recorder's low-pass setting,
// the link status with its lamps and the log list. Its buttons ask the measurement session to start
// and stop; the session shows its progress through the panel.
#pragma once

#include <memory>
#include <string>

#include "app/MeasurementSession.h"
#include "recording/RecordingMessages.h"
#include "resources/resource.h"
#include "ui/Dialog.h"

class CIndicator;
class SettingsView;

class CBtnDialog : public ui::Dialog, public app::SessionPanel {
public:
    // `view`: the windows that show the settings (the main window), which outlive the panel.
    explicit CBtnDialog(SettingsView& view);
    ~CBtnDialog() override;

    // Appends an event and its time stamp (pcClock 0: " MM.DD_hh:mm:ss", 1: "PCyyMMddhhmmss").
    void AddLog(const std::string& text, int pcClock);
    // The recorder's low-pass setting as the panel shows it.
    void ShowLowPass(const std::string& text);

    // app::SessionPanel
    void ShowMessage(const char* text) override;
    void SetIdleButtons(bool idle) override;
    void DisableLoads() override;
    void SetStatus(int lamp, const char* text) override;
    void AddLog(const std::string& text) override { AddLog(text, 0); }
    void ShowRunning(bool running) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}      // Enter does nothing inside the panel
    void OnCancel() override {}  // nor does Escape

private:
    void OnTimer();
    void OnSize(int width, int height);
    void OnTrigMode();
    void OnRecord();
    void ConnectRecorder();
    void OnRecordingMessage();
    void OnPeakClear();
    // "データ読み込み" (sd false) and "ＳＤ読み込み" (sd true): choose a file, load it, review it.
    void OnImport(bool sd);
    void OnPrint();
    void OnSettings();

    SettingsView& view_;
    std::unique_ptr<CIndicator> comLamp_, recordLamp_, trigLamp_;
    HFONT largeFont_ = nullptr;
    // Kept: the field changes with every batch, and each GetDlgItem is a server call under Wine.
    HWND lowPassField_ = nullptr;
    ui::Anchor logAnchor_;  // the log list at start: only its bottom follows the panel's
    SIZE initialSize_{};  // the panel's client size at start
    app::RecordingMessages recordingMessages_;  // one box at a time, from kMsgRecordingMessage
    bool importing_ = false;  // an import's file dialog or read is under way
};
