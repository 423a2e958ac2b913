// Spectrum analysis of a graph's window: set-up from the settings (length, window, tables) and the
// amplitude spectrum with high-pass cut-off and peak search.
#pragma once

#include <memory>
#include <vector>

#include "fft/FftDescriptor.h"

namespace app {

// Longest analysis the set-up accepts (about 2.9 hours of samples); a display time beyond it, like
// one below 10 ms, gives no analysis at all instead of an allocation the process cannot survive.
constexpr int kMaxAnalysisLength = 1 << 20;

// The settings the analysis reads, already resolved from the settings record.
struct AnalysisSettings {
    double displayTime = 10.0;   // seconds: [SCALE] TIME[TIME_SEL]
    int psdEnabled = 1;          // [PSD] FLG, non-zero = spectra on
    int windowType = 2;          // [PSD] WINDOW_TYPE: 0 none, 1 Hamming, 2 Hanning, 3 Blackman, 4 flat-top
    int highPassEnabled = 1;     // [PSD] HIPASSFILTER_FLG, non-zero = cut-off applied
    double highPassCutoff = 0.5; // [PSD] HIPASSFILTER, Hz
};

// A graph's analysis window over its axis's ring, described without any window object.
struct AnalysisWindow {
    const double* samples = nullptr;  // ring storage; null = the graph has no ring
    int capacity = 0;                 // ring capacity C, the size of samples
    int oldestIndex = 0;              // ring index of the oldest held sample
    int heldCount = 0;                // samples held, 0 … C
    int start = 0;                    // ring index of sample 0 of the window (sweepStart)
    int count = 0;                    // samples in the window (sweepCount)
    int length = 0;                   // samples in a full window (sweepLength), normally N
};

// The spectrum fields of one PSD graph, written by ComputeSpectrum.
struct PsdResult {
    std::vector<double> psdValues;  // amplitude in gal per bin k = 0 … N/2 − 1 (the graph sizes it)
    bool psdValid = false;          // psdValues and the peak fields are current
    double psdPeak = 0.0;           // largest amplitude at or above the cut-off
    double psdPeakFreq = 0.0;       // its frequency, Hz
    double psdPeakCopy = 0.0;       // second copy of psdPeak
};

struct DescriptorDeleter {
    void operator()(fft::FftDescriptor* d) const { fft::FreeDescriptor(&d); }
};

// The analysis state of the program, owned by the application and used by the UI thread only.
struct AnalysisState {
    std::unique_ptr<fft::FftDescriptor, DescriptorDeleter> transform;  // null = none
    int transformLength = 0;      // N the transform was made for; 0 = none
    double df = 0.0;              // frequency resolution 100/N Hz
    double fMaxAnalysed = 0.0;    // (N/2 − 1)·df
    std::vector<double> work;     // N + 1: samples, then the packed spectrum, then real parts
    std::vector<double> imaginary;  // N + 1: imaginary parts
    std::vector<double> window;   // N + 1 taper coefficients, the first N used
    int windowKind = 0;           // copy of [PSD] WINDOW_TYPE; 0 = no window
    double windowGain = 1.0;      // N / sum of the coefficients; 1.0 without window

    int analysisLength = 0;             // N, >= 0; 0 = no analysis (nonsense display time)
    std::vector<double> freqTable;      // N/2 values k·df, Hz
    std::vector<double> logFreqTable;   // N/2 values log10(k·df); the first is −infinity
};

// Analysis length for a display time in seconds: 100·T rounded up; 0 when that is below 1, above
// kMaxAnalysisLength or not a number.
[[nodiscard]] int AnalysisLengthFor(double displayTime);

// (Re)builds the state from the settings. The transform is recreated only when N changed; the
// window, gain, resolution and tables are rebuilt on every call.
void SetupAnalysis(AnalysisState& state, const AnalysisSettings& settings);

// Frees the transform, sets its length to 0 and empties the work vectors; the tables stay. A later
// SetupAnalysis builds everything again.
void ReleaseAnalysis(AnalysisState& state);

// Computes the amplitude spectrum of the window into `result`. Returns true when a new valid result
// was stored (the caller then rescales and repaints the graph). Without ring, with spectra off, with
// a window that is not full or without a usable transform the result is marked invalid with zero
// peak fields and false is returned. Allocates nothing once psdValues has N/2 elements.
bool ComputeSpectrum(AnalysisState& state, const AnalysisSettings& settings,
                     const AnalysisWindow& window, PsdResult& result);

}  // namespace app
