// The control panel: the operator's buttons, the trigger levels, the recorder's low-pass setting,
// the link status with its lamps and the log list. It also runs measurements (start and stop).
#pragma once

#include <memory>
#include <string>

#include "app/RecordingMessages.h"
#include "resources/resource.h"
#include "ui/Dialog.h"

class CIndicator;

class CBtnDialog : public ui::Dialog {
public:
    CBtnDialog();
    ~CBtnDialog() override;

    // "スタート/停止": starts when idle, stops when running.
    void ToggleMeasurement();
    // Appends an event and its time stamp (pcClock 0: " MM.DD_hh:mm:ss", 1: "PCyyMMddhhmmss").
    void AddLog(const std::string& text, int pcClock);
    // The recorder's low-pass setting as the panel shows it.
    void ShowLowPass(const std::string& text);
    // Tells the receive thread to stop and gives its handle up without waiting (window closing).
    void ReleaseReceiveThread();

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}      // Enter does nothing inside the panel
    void OnCancel() override {}  // nor does Escape

private:
    void StartMeasurement();
    // Rings sized by the settings in force and emptied, peaks cleared, both monitors at an empty
    // sweep: the first step of a start.
    void ResetRingsAndMonitors();
    void StopMeasurement();
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
    void SetStatus(int lamp, const char* text);
    void SetIdleButtons(bool idle);
    void ShowStartStopPicture();
    void ShowTriggerSettings();

    std::unique_ptr<CIndicator> comLamp_, recordLamp_, trigLamp_;
    HFONT largeFont_ = nullptr;
    RECT logRect_{};      // the log list's rectangle at start; its bottom follows the panel's
    SIZE initialSize_{};  // the panel's client size at start
    bool toggling_ = false;  // a start or stop is in progress
    app::RecordingMessages recordingMessages_;  // one box at a time, from kMsgRecordingMessage
    bool importing_ = false;  // an import's file dialog or read is under way
};
