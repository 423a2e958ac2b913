// The program's shared core: start-up after the settings, samples in, the port proof and the
// receive thread's news.
#include "app/AppCore.h"

#include "analysis/AnalysisFromSettings.h"
#include "pipeline/MeasurementRules.h"

namespace app {

void LinkEvents::Push(const std::string& text, int kind) {
    std::lock_guard<std::mutex> hold(lock_);
    events_.push_back({text, kind});
}

std::deque<LinkEvents::Event> LinkEvents::TakeAll() {
    std::deque<Event> taken;
    std::lock_guard<std::mutex> hold(lock_);
    taken.swap(events_);
    return taken;
}

void LinkEvents::HandOverPort(const std::string& name) {
    std::lock_guard<std::mutex> hold(lock_);
    port_ = name;
}

std::string LinkEvents::TakePort() {
    std::string name;
    std::lock_guard<std::mutex> hold(lock_);
    name.swap(port_);
    return name;
}

AppCore::AppCore(const AppPlatform& p)
    : link(p.serialPort, p.tickClock, p.linkSink, p.portFallback),
      awake(p.systemAwake),
      recorder(p.waveFileSystem, settings),
      session({settings, waveBuffers, peaks, recorder, awake}, p.sessionLink, p.sessionClock, p.follower) {}

void AppCore::SetUpFromSettings() {
    peaks.Clear();
    SetupAnalysis(analysis, AnalysisSettingsFrom(settings));
    const int rings = ResetRings(waveBuffers, settings.ringBufMinSize);
    if (rings < settings.ringBufMinSize) startupNotice = RingShortfallText(rings);
}

int AppCore::OnSampleData(bool holdNotice) {
    // A record the receive thread queued after the stop belongs to no measurement.
    return pipeline.OnSampleData(link.samples, settings, waveBuffers, peaks, session.Running(), holdNotice);
}

bool AppCore::ProvePortOnce(const std::string& com, int bit) {
    link.SetLineConfig(com, bit);
    if (!link.OpenPort(true)) return false;
    link.ClosePort();
    return true;
}

bool AppCore::WaitForLinkIdle(bool untilEnded, const std::function<void()>& handleSent) {
    bool idle = false;
    for (int i = 0; !idle && (untilEnded || i < 250); ++i) {
        idle = link.WaitUntilIdle(20);
        if (!idle) handleSent();
    }
    if (!idle) idle = link.WaitUntilIdle(0);
    if (idle) TakePortChange();
    return idle;
}

void AppCore::TakePortChange() {
    const std::string name = linkEvents.TakePort();
    if (!name.empty()) settings.com = name;
}

}  // namespace app
