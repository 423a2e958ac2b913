// A graph over default settings, real rings and the real analysis, with a host that records what
// the window would have been asked to do.
#pragma once

#include <vector>

#include "analysis/AnalysisFromSettings.h"
#include "graphs/GraphCore.h"

struct RecordingHost : graphs::GraphHost {
    bool exists = true;
    int fullInvalidations = 0;
    std::vector<graphs::PixelRect> bands;
    int updates = 0;
    std::vector<graphs::GraphNotice> notices;
    const graphs::GraphCore* graph = nullptr;  // set: whole invalidations note whether it appended
    std::vector<bool> wholeWhileAppending;

    bool WindowExists() const override { return exists; }
    void Invalidate(const graphs::PixelRect* rect) override {
        if (rect) bands.push_back(*rect);
        else ++fullInvalidations;
        if (!rect && graph) wholeWhileAppending.push_back(graph->Appending());
    }
    void UpdateNow() override { ++updates; }
    void Notify(graphs::GraphNotice notice) override { notices.push_back(notice); }
};

struct GraphFixture {
    Settings settings;
    app::AnalysisState analysis;
    WaveBuffer rings[3];
    int running = 1;
    RecordingHost host;
    graphs::GraphCore graph;

    // Default settings with display time `seconds`, rings of `capacity`, a bound graph of `kind`
    // and `axis` whose client rectangle is width × height at the origin.
    explicit GraphFixture(graphs::GraphKind kind = graphs::GraphKind::Time, int axis = 0, double seconds = 10.0,
                          int capacity = 6000, int width = 402, int height = 202)
        : graph(Context(), host) {
        int windowType = 0;
        ExchangeSettings(settings, windowType, 0, std::string(), nullptr);
        settings.time[0] = seconds;
        settings.timeSel = 0;
        app::SetupAnalysis(analysis, app::AnalysisSettingsFrom(settings));
        for (WaveBuffer& r : rings) r.Reset(capacity);
        graph.Bind(kind, axis);
        graph.OnSize({0, 0, width, height});
        graph.ApplyAxisSettings();
        graph.UpdateScale();
        graph.EndPaint();
        host = RecordingHost{};
    }

    graphs::GraphContext Context() { return {&settings, &analysis, rings, &running}; }

    // Appends the same values to all three rings and tells the graph.
    void Feed(const std::vector<double>& values) {
        for (WaveBuffer& r : rings) r.Append(values.data(), values.size());
        graph.AppendSamples(static_cast<int>(values.size()));
    }
};
