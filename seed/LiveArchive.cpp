// The live archive's run: settings, start and stop, batches on the PC clock, reports.
#include "seed/LiveArchive.h"

namespace seed {

LiveArchive::LiveArchive(ArchiveFiles& files, ArchiveClock& clock) : clock_(clock), writer_(files) {
    writer_.reports.openFailed = [this](const std::string&) { Report("FILE OPEN ERROR"); };
    writer_.reports.writeFailed = [this](const std::string& path) { Report(app::WriteFailureMessage(path).c_str()); };
}

void LiveArchive::Attach(Settings& appSettings, const app::RecordingHooks& reports, const int* running) {
    appSettings_ = &appSettings;
    reports_ = &reports;
    running_ = running;
}

void LiveArchive::Report(const char* message) const {
    // Reported like the CSV writer's failures: a log row and the queued message box.
    if (!reports_) return;
    if (reports_->addLog) reports_->addLog(kLogSeedError);
    if (reports_->showMessage) reports_->showMessage(message);
}

void LiveArchive::LoadSettings(IProfileStore& store) { LoadArchiveSettings(store, settings); }

void LiveArchive::SaveSettings(IProfileStore& store) { SaveArchiveSettings(store, settings); }

void LiveArchive::OnMeasurementStart() {
    writer_.Stop();
    if (!settings.enabled) return;
    offsetUs_ = clock_.UtcMicros() - clock_.SteadyMicros();
    (void)writer_.Start(ArchiveRoot(settings, appSettings_->saveDirectory), settings.codes, appSettings_->kanzan,
                        clock_.UtcMicros() / 100);
}

void LiveArchive::OnMeasurementStop() { writer_.Stop(); }

void LiveArchive::OnBatch(const device::SampleBatch& batch) {
    if (!writer_.Running() || batch.size() == 0) return;
    // The PC clock may have been set since: a step beyond 50 ms is taken over (the archive then
    // starts a new segment), smaller wobbles of the reading are not.
    const long long offset = clock_.UtcMicros() - clock_.SteadyMicros();
    if (offset - offsetUs_ > 50000 || offsetUs_ - offset > 50000) offsetUs_ = offset;
    arrival_.resize(batch.size());
    for (size_t i = 0; i < batch.size(); ++i) {
        const long long utc = batch.arrivalUs[i] + offsetUs_;
        arrival_[i] = utc >= 0 ? utc / 100 : -((-utc + 99) / 100);
    }
    CountBatch counts;
    counts.counts[0] = batch.x.data();
    counts.counts[1] = batch.y.data();
    counts.counts[2] = batch.z.data();
    counts.arrival = arrival_.data();
    counts.breakBefore = batch.breakBefore.data();
    counts.n = batch.size();
    writer_.Add(counts);
}

}  // namespace seed
