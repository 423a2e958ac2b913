// The data handler of the main window: takes the queued samples, converts them to gal, shows the
// recorder's low-pass setting, keeps the peaks, fills the rings and hands the batch on.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "device/SampleHandOff.h"
#include "pipeline/PeakHold.h"
#include "pipeline/WaveBuffer.h"

namespace app {

// The converted samples of one call, in gal: one vector per axis (X, Y, Z), all of length n.
using GalBatch = std::array<std::vector<double>, 3>;

// The low-pass field's text (at most six characters): "------" for exactly 0.0, otherwise the
// value with three decimals, trailing zeros removed but one digit kept after the point,
// right-aligned in six characters and cut at six ("   5.0", "  40.0", "  12.5").
[[nodiscard]] std::string FormatLowPass(double hz);


// Where a call's results go after the rings were filled, called in the order of the members.
// Each may be empty. All run on the user-interface thread with no lock held.
struct PipelineHooks {
    // The batch as received (counts, arrival times, breaks), before the conversion; the live
    // miniSEED archive writes it.
    std::function<void(const device::SampleBatch& counts)> countsBatch;
    // The low-pass field's text; `changed` is false when it is the text the last call showed.
    std::function<void(const std::string& text, bool changed)> showLowPass;
    // The manual recording writes the batch, oldest sample first.
    std::function<void(const GalBatch& batch)> recordBatch;
    // Trigger detection and trigger recording on the batch (the rings already hold it).
    std::function<void(const GalBatch& batch)> triggerBatch;
    // The graphs of both monitors take the n samples newly stored in the rings.
    std::function<void(int n)> advanceGraphs;
    // Samples arrived while the call ran: post the data notice again (the receive thread posts
    // none for them).
    std::function<void()> notifyAgain;
};

class SamplePipeline {
public:
    // Takes every queued sample and processes it: conversion with [SPEC] KANZAN as it stands now,
    // low-pass text, peaks, rings, then the hooks; finally clears the pending notice. Returns the
    // number of samples taken. With an empty queue it returns 0 and touches nothing, not even the
    // pending notice. Samples queued while it runs stay queued for the next call, which
    // hooks.notifyAgain asks for.
    // Without `measuring` (the receive thread queued a last record after the stop) the queued
    // samples are dropped: no ring, peak, hook or recording sees them; the notice is cleared and
    // 0 returned.
    // With `holdNotice` the notice stays pending after a run that took samples, so the receive
    // thread posts none: the caller comes back on its own (a timer) and releases the notice with
    // SampleHandOff::FinishNotice when a run finds the queue empty.
    int OnSampleData(device::SampleHandOff& handOff, const Settings& settings, WaveBuffer (&rings)[3],
                     PeakHold& peaks, bool measuring, bool holdNotice = false);

    // The batch of the last call that took samples.
    const GalBatch& Batch() const { return batch_; }
    // The low-pass text the last call that took samples showed ("" before the first).
    const std::string& LowPassText() const { return lowPassText_; }

    PipelineHooks hooks;

private:
    device::SampleBatch taken_;  // the queues' contents; swapped with them, so capacity is kept
    GalBatch batch_;             // keeps its capacity between calls
    std::string lowPassText_;    // at most six characters, so it never allocates
};

}  // namespace app
