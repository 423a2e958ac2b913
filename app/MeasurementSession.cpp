// Starting and stopping a measurement.
#include "app/MeasurementSession.h"

#include "pipeline/MeasurementRules.h"

namespace app {

namespace {

// Sets a flag for one scope, also when the scope is left by an exception.
struct FlagFor {
    bool& flag;
    explicit FlagFor(bool& f) : flag(f) { flag = true; }
    ~FlagFor() { flag = false; }
    FlagFor(const FlagFor&) = delete;
    FlagFor& operator=(const FlagFor&) = delete;
};

}  // namespace

void MeasurementSession::Toggle() {
    if (toggling_ || !panel_ || !monitors_) return;
    FlagFor toggling(toggling_);
    if (running_) Stop();
    else Start();
}

void MeasurementSession::Start() {
    // The port search and the messages below run message loops: until this start has ended or
    // failed, the imports, the history's load and the settings are refused as while measuring.
    struct Starting {
        MeasurementSession& session;
        ~Starting() {
            session.starting_ = false;
            session.data_.awake.Follow(session.running_ != 0);
            if (!session.running_ && session.panel_) session.panel_->SetIdleButtons(true);
        }
    } starting{*this};
    starting_ = true;
    if (!clock_.FolderExists(data_.settings.saveDirectory)) {
        panel_->ShowMessage("データ保存フォルダが存在しません。\n設定画面で設定してください。");
        return;
    }
    panel_->DisableLoads();
    // A receive thread given up by the last stop may still be finishing its last read.
    if (!link_.WaitUntilIdle()) {
        panel_->SetStatus(0, kStatusOpenError);
        return;
    }

    ResetRingsAndMonitors();

    // Opening once proves the port usable; the receive thread opens it itself.
    if (!link_.ProvePort(data_.settings.com, data_.settings.bit)) {
        panel_->SetStatus(0, kStatusOpenError);
        return;
    }
    if (!link_.StartReceiving()) {
        panel_->SetStatus(0, kStatusOpenError);
        return;
    }

    running_ = 1;
    panel_->SetIdleButtons(false);
    panel_->AddLog("RCV-START");
    data_.recorder.OnMeasurementStart();
    archive_.OnMeasurementStart();
    monitors_->RestoreTitle();
    panel_->ShowRunning(true);
}

void MeasurementSession::ResetRingsAndMonitors() {
    const int capacity = RingCapacity(data_.settings);
    const int got = ResetRings(data_.rings, capacity);
    ringsHoldFile = false;
    if (got < capacity) Log(RingShortfallText(got));
    data_.peaks.Clear();
    if (monitors_) monitors_->ResetMonitors();
}

void MeasurementSession::Stop() {
    link_.ReleaseReceiveThread();
    link_.DrainSamples();

    // Review position 0 is the oldest held sample, not the stop: its time is that many 10 ms earlier.
    reviewBaseTime = clock_.LocalNow() - static_cast<uint64_t>(data_.rings[0].heldCount) * 100000ULL;

    running_ = 0;
    data_.awake.Follow(false);
    panel_->SetIdleButtons(true);
    data_.recorder.OnMeasurementStop();  // TRIG-END, then SAVE-END
    archive_.OnMeasurementStop();        // the archive's last records
    panel_->AddLog("RCV-END");
    panel_->SetStatus(4, kStatusIdle);
    monitors_->ReviewAfterStop();
    panel_->ShowRunning(false);
}

void MeasurementSession::Log(const std::string& text) {
    if (panel_) panel_->AddLog(text);
}

}  // namespace app
