// Spectrum analysis: taper windows, frequency tables, and the amplitude spectrum of a ring window.
#include "analysis/Analysis.h"

#include <algorithm>
#include <cmath>

namespace app {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Taper coefficient i of N for a window kind; kinds outside 1 … 4 use 1.
double WindowCoefficient(int kind, int i, int n) {
    const double d = n - 1;
    const double x = i - (n - 1) / 2.0;
    // A one-sample window has D = 0; its single coefficient sits at the centre.
    const double c1 = d > 0 ? std::cos(2.0 * kPi * x / d) : 1.0;
    switch (kind) {
    case 1: return 0.54 + 0.46 * c1;
    case 2: return 0.5 + 0.5 * c1;
    case 3: return 0.42 + 0.5 * c1 + 0.08 * (d > 0 ? std::cos(4.0 * kPi * x / d) : 1.0);
    case 4: {
        const double u = d > 0 ? 4.0 * kPi * x / d : 0.0;
        return (0.54 + 0.46 * c1) * (u == 0.0 ? 1.0 : std::sin(u) / u);
    }
    default: return 1.0;
    }
}

// First bin kept by the high-pass cut-off; the comparison with trunc(q)·df is deliberate, so the
// bin at the cut-off frequency itself is removed as well.
int FirstKeptBin(const AnalysisSettings& settings, double df, int half) {
    if (!settings.highPassEnabled) return 0;
    const double q = settings.highPassCutoff / df;
    const double whole = std::trunc(q);
    double k0 = whole + (q > whole * df ? 1.0 : 0.0);
    if (!(k0 > 0.0)) return 0;  // zero, negative or not-a-number cut-off keeps every bin
    k0 = std::min(k0, static_cast<double>(half - 1));
    return k0 > 0.0 ? static_cast<int>(k0) : 0;
}

}  // namespace

int AnalysisLengthFor(double displayTime) {
    const double n = std::ceil(1000.0 * displayTime / 10.0);
    if (!(n >= 1.0) || n > kMaxAnalysisLength) return 0;
    return static_cast<int>(n);
}

void SetupAnalysis(AnalysisState& state, const AnalysisSettings& settings) {
    const int n = AnalysisLengthFor(settings.displayTime);
    state.analysisLength = n;

    if (n != state.transformLength) {
        state.transform.reset();
        state.transformLength = n;
        fft::FftDescriptor* descriptor = nullptr;
        if (fft::CreateRealDescriptor(&descriptor, n) == fft::FftStatus::Ok) {
            state.transform.reset(descriptor);
            fft::SetPackedFormat(descriptor, fft::PackedFormat::Pack);
            fft::SetBackwardScale(descriptor, 0.5);
            fft::SetForwardScale(descriptor, 2.0 / n);
            // A failed commit leaves the descriptor uncommitted; ComputeSpectrum then reports no result.
            (void)fft::CommitDescriptor(descriptor);
        }
    }

    const int half = n / 2;
    state.df = n > 0 ? 1.0 / (n * 0.01) : 0.0;
    state.work.resize(static_cast<std::size_t>(n) + 1);
    state.imaginary.resize(static_cast<std::size_t>(n) + 1);
    state.fMaxAnalysed = (half - 1) * state.df;
    state.window.resize(static_cast<std::size_t>(n) + 1);

    state.windowKind = settings.windowType;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const double w = WindowCoefficient(state.windowKind, i, n);
        state.window[static_cast<std::size_t>(i)] = w;
        sum += w;
    }
    // Kinds outside 1 … 4 (hand-edited INI) take N/sum as well, which is exactly 1 for their
    // all-ones coefficients. A degenerate sum (Hanning of two samples) keeps gain 1.
    state.windowGain = state.windowKind != 0 && sum > 0.0 ? n / sum : 1.0;

    state.freqTable.resize(static_cast<std::size_t>(half));
    state.logFreqTable.resize(static_cast<std::size_t>(half));
    for (int k = 0; k < half; ++k) {
        const double f = k * state.df;
        state.freqTable[static_cast<std::size_t>(k)] = f;
        state.logFreqTable[static_cast<std::size_t>(k)] = std::log10(f);
    }
}

void ReleaseAnalysis(AnalysisState& state) {
    state.transform.reset();
    state.transformLength = 0;
    std::vector<double>().swap(state.work);
    std::vector<double>().swap(state.imaginary);
    std::vector<double>().swap(state.window);
}

bool ComputeSpectrum(AnalysisState& state, const AnalysisSettings& settings,
                     const AnalysisWindow& window, PsdResult& result) {
    auto invalid = [&result] {
        result.psdValid = false;
        result.psdPeak = result.psdPeakFreq = result.psdPeakCopy = 0.0;
        return false;
    };
    if (window.samples == nullptr || window.capacity <= 0 || settings.psdEnabled == 0 ||
        window.count < window.length)
        return invalid();
    const int n = state.analysisLength;
    const std::size_t needed = static_cast<std::size_t>(n) + 1;
    // After ReleaseAnalysis, or with no analysis length, there is nothing to transform with.
    if (n <= 0 || !state.transform || state.transformLength != n || state.work.size() < needed ||
        state.imaginary.size() < needed || state.window.size() < needed)
        return invalid();

    const int half = n / 2;
    // The graph sizes psdValues when it takes the settings; this only guards the writes below.
    if (result.psdValues.size() != static_cast<std::size_t>(half))
        result.psdValues.resize(static_cast<std::size_t>(half));

    double* work = state.work.data();
    double* imag = state.imaginary.data();
    const int c = window.capacity;
    int index = window.start % c;
    if (index < 0) index += c;
    for (int i = 0; i < n; ++i) {
        work[i] = window.samples[index];
        if (++index == c) index = 0;
    }

    if (state.windowKind != 0) {
        double sum = 0.0;
        for (int i = 0; i < n; ++i) sum += work[i];
        const double mean = sum / n;
        const double* taper = state.window.data();
        for (int i = 0; i < n; ++i) work[i] = (work[i] - mean) * taper[i];
    }
    std::fill(imag, imag + n, 0.0);

    if (fft::ComputeForward(state.transform.get(), work) != fft::FftStatus::Ok) return invalid();

    // Unpack the packed spectrum in place: bin k's real part moves down from position 2k − 1.
    work[0] *= 0.5;
    imag[0] = 0.0;
    int k = 1;
    for (int p = 1; p < n; p += 2, ++k) {
        work[k] = work[p];
        if (p + 1 < n - 1) imag[k] = work[p + 1];
    }
    std::fill(work + half, work + n, 0.0);  // the bin at N/2 is not shown
    imag[0] = 0.0;

    const int k0 = FirstKeptBin(settings, state.df, half);
    double* values = result.psdValues.data();
    std::fill(values, values + k0, 0.0);
    const bool tapered = state.windowKind != 0;
    double peak = 0.0;
    int peakBin = k0;
    for (int bin = k0; bin < half; ++bin) {
        double a = std::sqrt(work[bin] * work[bin] + imag[bin] * imag[bin]);
        if (tapered) a *= state.windowGain;
        values[bin] = a;
        if (a > peak) {  // strictly: the first of equal maxima wins
            peak = a;
            peakBin = bin;
        }
    }

    result.psdValid = true;
    result.psdPeak = peak;
    result.psdPeakFreq = peakBin * state.df;
    result.psdPeakCopy = peak;
    return true;
}

}  // namespace app
