// Glue of the live archive to the program: settings, pipeline, measurement, reports.
#include "seed/SeedArchive.h"

#include <chrono>

#include "config/Win32ProfileStore.h"
#include "files/ChooseImportFile.h"
#include "seed/CsvExport.h"
#include "seed/SeedDialog.h"
#include "ui/MessageBox.h"

CSeedArchive theSeedArchive;

namespace {

long long SteadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// UTC now in microseconds since 1970, as precise as the system gives it.
long long UtcMicros() {
    using Precise = VOID(WINAPI*)(LPFILETIME);
    static const Precise precise = reinterpret_cast<Precise>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now{};
    if (precise) precise(&now);
    else GetSystemTimeAsFileTime(&now);
    const unsigned long long ft = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ft / 10) - 11644473600000000LL;
}

}  // namespace

CSeedArchive::CSeedArchive() {
    writer_.reports.openFailed = [this](const std::string&) { Report("FILE OPEN ERROR"); };
    writer_.reports.writeFailed = [this](const std::string& path) { Report(app::WriteFailureMessage(path).c_str()); };
}

void CSeedArchive::Attach(Settings& appSettings, const app::RecordingHooks& reports, const int* running) {
    appSettings_ = &appSettings;
    reports_ = &reports;
    running_ = running;
}

void CSeedArchive::Report(const char* message) const {
    // Reported like the CSV writer's failures: a log row and the queued message box.
    if (!reports_) return;
    if (reports_->addLog) reports_->addLog(kLogSeedError);
    if (reports_->showMessage) reports_->showMessage(message);
}

void CSeedArchive::LoadSettings(const std::string& iniPath) {
    Win32ProfileStore store(iniPath);
    seed::LoadArchiveSettings(store, settings);
}

void CSeedArchive::SaveSettings(const std::string& iniPath) {
    Win32ProfileStore store(iniPath);
    seed::SaveArchiveSettings(store, settings);
}

void CSeedArchive::OnMeasurementStart() {
    writer_.Stop();
    if (!settings.enabled) return;
    offsetUs_ = UtcMicros() - SteadyMicros();
    (void)writer_.Start(seed::ArchiveRoot(settings, appSettings_->saveDirectory), settings.codes,
                        appSettings_->kanzan, UtcMicros() / 100);
}

void CSeedArchive::OnMeasurementStop() { writer_.Stop(); }

void CSeedArchive::OnBatch(const device::SampleBatch& batch) {
    if (!writer_.Running() || batch.size() == 0) return;
    // The PC clock may have been set since: a step beyond 50 ms is taken over (the archive then
    // starts a new segment), smaller wobbles of the reading are not.
    const long long offset = UtcMicros() - SteadyMicros();
    if (offset - offsetUs_ > 50000 || offsetUs_ - offset > 50000) offsetUs_ = offset;
    arrival_.resize(batch.size());
    for (size_t i = 0; i < batch.size(); ++i) {
        const long long utc = batch.arrivalUs[i] + offsetUs_;
        arrival_[i] = utc >= 0 ? utc / 100 : -((-utc + 99) / 100);
    }
    seed::CountBatch counts;
    counts.counts[0] = batch.x.data();
    counts.counts[1] = batch.y.data();
    counts.counts[2] = batch.z.data();
    counts.arrival = arrival_.data();
    counts.breakBefore = batch.breakBefore.data();
    counts.n = batch.size();
    writer_.Add(counts);
}

void CSeedArchive::OpenDialog(HWND owner) {
    CSeedDialog dialog(owner, settings, running_ && *running_ != 0);
    dialog.DoModal();
}

void CSeedArchive::ExportChosenFile(HWND owner, const seed::ArchiveCodes& codes) {
    const std::optional<std::string> path = ChooseImportFile("読み込みファイル", "csv", false, *appSettings_, owner);
    if (!path) return;
    HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const seed::ExportResult result = seed::ExportCsv(*path, files_, codes, seed::LocalFileTimeToUtc);
    SetCursor(cursor);
    const bool written = result.status == seed::ExportResult::Status::Written;
    ui::ShowMessage(owner, seed::ExportMessage(result).c_str(), written ? MB_OK | MB_ICONINFORMATION : MB_OK);
}
