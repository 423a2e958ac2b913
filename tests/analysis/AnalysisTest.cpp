// Set-up and spectrum of the analysis: lengths and tables, windows, cut-off, peak search, the
// invalid cases, and that a spectrum allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "analysis/Analysis.h"
#include "common/CountingNew.h"

namespace app {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

AnalysisSettings Settings(double displayTime, int windowType, int highPass, double cutoff) {
    AnalysisSettings s;
    s.displayTime = displayTime;
    s.psdEnabled = 1;
    s.windowType = windowType;
    s.highPassEnabled = highPass;
    s.highPassCutoff = cutoff;
    return s;
}

// A ring holding `n` samples of f(t) (t in seconds, 10 ms apart) starting at ring index `start`.
struct Ring {
    std::vector<double> samples;
    AnalysisWindow window;

    Ring(int capacity, int start, int n, const std::function<double(double)>& f)
        : samples(static_cast<std::size_t>(capacity), 0.0) {
        for (int i = 0; i < n; ++i) samples[static_cast<std::size_t>((start + i) % capacity)] = f(i * 0.01);
        window.samples = samples.data();
        window.capacity = capacity;
        window.oldestIndex = start;
        window.heldCount = n;
        window.start = start;
        window.count = n;
        window.length = n;
    }
};

struct Analysed {
    AnalysisState state;
    PsdResult result;
    bool stored = false;
};

Analysed Analyse(const AnalysisSettings& settings, const std::function<double(double)>& f, int start = 0) {
    Analysed a;
    SetupAnalysis(a.state, settings);
    const int n = a.state.analysisLength;
    Ring ring(2 * n, start, n, f);
    a.result.psdValues.resize(static_cast<std::size_t>(n / 2));
    a.stored = ComputeSpectrum(a.state, settings, ring.window, a.result);
    return a;
}

TEST(SetupAnalysis, DefaultDisplayTimesGiveLengthResolutionAndHighestFrequency) {
    const struct {
        double time;
        int n;
        double df;
        double fMax;
    } cases[] = {{5, 500, 0.2, 49.8}, {8, 800, 0.125, 49.875}, {10, 1000, 0.1, 49.9}, {20, 2000, 0.05, 49.95}};
    for (const auto& c : cases) {
        AnalysisState state;
        SetupAnalysis(state, Settings(c.time, 2, 1, 0.5));
        EXPECT_EQ(state.analysisLength, c.n) << c.time;
        EXPECT_EQ(state.transformLength, c.n);
        EXPECT_DOUBLE_EQ(state.df, c.df);
        EXPECT_NEAR(state.fMaxAnalysed, c.fMax, 1e-9);
        EXPECT_EQ(state.work.size(), static_cast<std::size_t>(c.n + 1));
        EXPECT_EQ(state.imaginary.size(), static_cast<std::size_t>(c.n + 1));
        EXPECT_EQ(state.window.size(), static_cast<std::size_t>(c.n + 1));
        ASSERT_EQ(state.freqTable.size(), static_cast<std::size_t>(c.n / 2));
        ASSERT_EQ(state.logFreqTable.size(), static_cast<std::size_t>(c.n / 2));
        EXPECT_EQ(state.logFreqTable[0], -std::numeric_limits<double>::infinity());
        EXPECT_DOUBLE_EQ(state.freqTable[c.n / 2 - 1], c.fMax);
        EXPECT_NEAR(state.logFreqTable[10], std::log10(10 * c.df), 1e-15);
    }
}

TEST(SetupAnalysis, LengthIsDisplayTimeRoundedUpAndNonsenseGivesNoAnalysis) {
    EXPECT_EQ(AnalysisLengthFor(2.345), 235);
    EXPECT_EQ(AnalysisLengthFor(1.0), 100);
    EXPECT_EQ(AnalysisLengthFor(49.99), 4999);
    EXPECT_EQ(AnalysisLengthFor(0.001), 1);
    EXPECT_EQ(AnalysisLengthFor(0.0), 0);
    EXPECT_EQ(AnalysisLengthFor(-5.0), 0);
    EXPECT_EQ(AnalysisLengthFor(std::nan("")), 0);
    EXPECT_EQ(AnalysisLengthFor(1e12), 0);
    EXPECT_EQ(AnalysisLengthFor(std::numeric_limits<double>::infinity()), 0);

    for (double time : {0.0, -1.0, 1e12}) {
        AnalysisState state;
        SetupAnalysis(state, Settings(time, 2, 1, 0.5));
        EXPECT_EQ(state.analysisLength, 0);
        EXPECT_FALSE(state.transform);
        EXPECT_TRUE(state.freqTable.empty());
        std::vector<double> ring(100, 1.0);
        AnalysisWindow window{ring.data(), 100, 0, 100, 0, 100, 0};
        PsdResult result;
        result.psdPeak = 4.0;
        EXPECT_FALSE(ComputeSpectrum(state, Settings(time, 2, 1, 0.5), window, result));
        EXPECT_FALSE(result.psdValid);
        EXPECT_EQ(result.psdPeak, 0.0);
    }
}

TEST(SetupAnalysis, TinyLengthsGiveFiniteWindowsAndNoBins) {
    for (int kind = 0; kind <= 4; ++kind) {
        for (double time : {0.01, 0.02, 0.03}) {
            AnalysisState state;
            const AnalysisSettings s = Settings(time, kind, 1, 0.5);
            SetupAnalysis(state, s);
            EXPECT_TRUE(std::isfinite(state.windowGain)) << kind << " " << time;
            const int n = state.analysisLength;
            Ring ring(n, 0, n, [](double) { return 2.0; });
            PsdResult result;
            EXPECT_TRUE(ComputeSpectrum(state, s, ring.window, result));
            EXPECT_EQ(result.psdValues.size(), static_cast<std::size_t>(n / 2));
            for (double v : result.psdValues) EXPECT_TRUE(std::isfinite(v));
        }
    }
}

TEST(SetupAnalysis, TransformIsKeptForSameLengthButWindowChangesAtOnce) {
    AnalysisState state;
    SetupAnalysis(state, Settings(10, 0, 1, 0.5));
    const fft::FftDescriptor* first = state.transform.get();
    EXPECT_EQ(state.windowGain, 1.0);
    SetupAnalysis(state, Settings(10, 2, 1, 0.5));
    EXPECT_EQ(state.transform.get(), first);
    EXPECT_EQ(state.windowKind, 2);
    EXPECT_NEAR(state.windowGain, 2.0 * 1000 / 999, 1e-12);  // Hanning's coefficients sum to (N − 1)/2
    SetupAnalysis(state, Settings(5, 2, 1, 0.5));
    EXPECT_EQ(state.transformLength, 500);
    EXPECT_EQ(state.transform->length, 500);
}

TEST(SetupAnalysis, WindowShapesAreSymmetricWithTheirEndAndCentreValues) {
    AnalysisState state;
    const int n = 101;
    const struct {
        int kind;
        double end;
        double centre;
    } cases[] = {{1, 0.08, 1.0}, {2, 0.0, 1.0}, {3, 0.0, 1.0}, {4, 0.0, 1.0}, {0, 1.0, 1.0}};
    for (const auto& c : cases) {
        SetupAnalysis(state, Settings(n * 0.01, c.kind, 1, 0.5));
        ASSERT_EQ(state.analysisLength, n);
        EXPECT_NEAR(state.window[0], c.end, 1e-15) << c.kind;
        EXPECT_NEAR(state.window[n / 2], c.centre, 1e-15) << c.kind;
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(state.window[static_cast<std::size_t>(i)], state.window[static_cast<std::size_t>(n - 1 - i)], 1e-15);
    }
    // Flat-top: the sinc factor is sin(u)/u with u = 4πx/D; at x = D/8, u = π/2.
    SetupAnalysis(state, Settings(0.81, 4, 1, 0.5));  // N = 81, D = 80, i = 50 gives x = 10
    EXPECT_NEAR(state.window[50], (0.54 + 0.46 * std::cos(kTwoPi / 8)) * (1.0 / (kTwoPi / 4)), 1e-15);
}

TEST(SetupAnalysis, UnknownWindowTypeUsesOnesWithUnitGainButRemovesTheMean) {
    Analysed a = Analyse(Settings(10, 9, 0, 0.0), [](double t) { return 3.0 + 10.0 * std::sin(kTwoPi * 2.0 * t); });
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.state.window[static_cast<std::size_t>(i)], 1.0);
    EXPECT_EQ(a.state.windowGain, 1.0);
    EXPECT_NEAR(a.result.psdValues[0], 0.0, 1e-12);
    EXPECT_NEAR(a.result.psdValues[20], 10.0, 1e-9);
}

TEST(ComputeSpectrum, SineAtBinFrequencyShowsItsAmplitudeAndFrequency) {
    const auto sine = [](double t) { return 10.0 * std::sin(kTwoPi * 2.0 * t); };
    Analysed a = Analyse(Settings(10, 0, 0, 0.5), sine);
    ASSERT_TRUE(a.stored);
    EXPECT_TRUE(a.result.psdValid);
    EXPECT_NEAR(a.result.psdValues[20], 10.0, 1e-9);
    EXPECT_NEAR(a.result.psdValues[19], 0.0, 1e-9);
    EXPECT_NEAR(a.result.psdPeak, 10.0, 1e-9);
    EXPECT_EQ(a.result.psdPeakCopy, a.result.psdPeak);
    EXPECT_DOUBLE_EQ(a.result.psdPeakFreq, 2.0);

    // Every taper is corrected by its gain, so the peak gives the amplitude: within 0.05 % (what
    // leaks in from the negative frequency); a gain of (N − 1)/sum instead of N/sum is 0.1 % off.
    for (int kind = 1; kind <= 4; ++kind) {
        Analysed w = Analyse(Settings(10, kind, 1, 0.5), sine);
        EXPECT_NEAR(w.result.psdPeak, 10.0, 0.005) << kind;
        EXPECT_DOUBLE_EQ(w.result.psdPeakFreq, 2.0) << kind;
    }
}

TEST(ComputeSpectrum, ConstantSignalIsBinZeroWithoutWindowAndRemovedWithOne) {
    Analysed a = Analyse(Settings(10, 0, 0, 0.5), [](double) { return 3.0; });
    EXPECT_NEAR(a.result.psdValues[0], 3.0, 1e-12);
    for (std::size_t k = 1; k < a.result.psdValues.size(); ++k) ASSERT_NEAR(a.result.psdValues[k], 0.0, 1e-12) << k;
    EXPECT_DOUBLE_EQ(a.result.psdPeakFreq, 0.0);

    for (int kind = 1; kind <= 4; ++kind) {
        Analysed w = Analyse(Settings(10, kind, 0, 0.5), [](double) { return 3.0; });
        EXPECT_NEAR(w.result.psdValues[0], 0.0, 1e-12) << kind;
    }
}

TEST(ComputeSpectrum, HighPassCutOffClearsLowBinsAndKeepsThemOutOfThePeak) {
    // A strong 0.3 Hz component (bin 3) and 3 gal offset under the cut-off, a 2 Hz one above it.
    const auto signal = [](double t) {
        return 3.0 + 50.0 * std::sin(kTwoPi * 0.3 * t) + 10.0 * std::sin(kTwoPi * 2.0 * t);
    };
    for (double cutoff : {0.5, 0.55}) {
        Analysed a = Analyse(Settings(10, 0, 1, cutoff), signal);
        for (int k = 0; k <= 5; ++k) EXPECT_EQ(a.result.psdValues[static_cast<std::size_t>(k)], 0.0) << cutoff << " bin " << k;
        EXPECT_NEAR(a.result.psdValues[6], 0.0, 1e-9);
        EXPECT_NEAR(a.result.psdPeak, 10.0, 1e-9);
        EXPECT_DOUBLE_EQ(a.result.psdPeakFreq, 2.0);
    }
    Analysed off = Analyse(Settings(10, 0, 0, 0.5), signal);
    EXPECT_NEAR(off.result.psdValues[0], 3.0, 1e-9);
    EXPECT_NEAR(off.result.psdPeak, 50.0, 1e-9);
    EXPECT_NEAR(off.result.psdPeakFreq, 0.3, 1e-12);

    Analysed zero = Analyse(Settings(10, 0, 1, 0.0), signal);
    EXPECT_NEAR(zero.result.psdValues[0], 3.0, 1e-9);
}

TEST(ComputeSpectrum, CutOffOutsideTheRangeStaysWithinTheBins) {
    const auto signal = [](double t) { return 10.0 * std::sin(kTwoPi * 2.0 * t); };
    Analysed high = Analyse(Settings(10, 0, 1, 1000.0), signal);  // clamped to the last bin, 499
    ASSERT_TRUE(high.stored);
    EXPECT_EQ(high.result.psdValues[498], 0.0);
    EXPECT_NEAR(high.result.psdPeakFreq, 49.9, 1e-9);
    for (double cutoff : {-0.5, std::nan("")}) {
        Analysed a = Analyse(Settings(10, 0, 1, cutoff), [](double) { return 3.0; });
        EXPECT_NEAR(a.result.psdValues[0], 3.0, 1e-9) << cutoff;
    }
}

TEST(ComputeSpectrum, PeakSearchIsStrictSoTheFirstEqualMaximumWins) {
    // All amplitudes are 0: the peak stays at the first bin searched, the cut-off bin.
    Analysed a = Analyse(Settings(10, 0, 1, 0.5), [](double) { return 0.0; });
    ASSERT_TRUE(a.result.psdValid);
    EXPECT_EQ(a.result.psdPeak, 0.0);
    EXPECT_NEAR(a.result.psdPeakFreq, 0.6, 1e-12);
    Analysed b = Analyse(Settings(10, 0, 0, 0.5), [](double) { return 0.0; });
    EXPECT_EQ(b.result.psdPeakFreq, 0.0);
}

TEST(ComputeSpectrum, WindowThatWrapsTheRingMatchesTheSameSamplesInOneRun) {
    const auto signal = [](double t) { return 7.0 * std::cos(kTwoPi * 3.3 * t) + t; };
    Analysed straight = Analyse(Settings(10, 2, 1, 0.5), signal, 0);
    Analysed wrapped = Analyse(Settings(10, 2, 1, 0.5), signal, 1500);  // capacity 2000
    ASSERT_TRUE(wrapped.stored);
    for (std::size_t k = 0; k < straight.result.psdValues.size(); ++k)
        ASSERT_NEAR(wrapped.result.psdValues[k], straight.result.psdValues[k], 1e-12) << k;
    EXPECT_EQ(wrapped.result.psdPeakFreq, straight.result.psdPeakFreq);

    // A start beyond the capacity or below 0 is taken modulo the capacity.
    Ring ring(2000, 1500, 1000, signal);
    ring.window.start = 1500 - 4000;
    PsdResult result;
    EXPECT_TRUE(ComputeSpectrum(straight.state, Settings(10, 2, 1, 0.5), ring.window, result));
    EXPECT_NEAR(result.psdPeak, straight.result.psdPeak, 1e-12);
}

TEST(ComputeSpectrum, InvalidWithoutRingWithSpectraOffOrWindowNotFull) {
    AnalysisState state;
    const AnalysisSettings on = Settings(10, 2, 1, 0.5);
    SetupAnalysis(state, on);
    Ring ring(2000, 0, 1000, [](double t) { return std::sin(kTwoPi * t); });
    const std::vector<double> untouched(500, 42.0);

    auto expectInvalid = [&](const AnalysisSettings& s, const AnalysisWindow& w, const char* what) {
        PsdResult result;
        result.psdValues = untouched;
        result.psdValid = true;
        result.psdPeak = result.psdPeakFreq = result.psdPeakCopy = 5.0;
        EXPECT_FALSE(ComputeSpectrum(state, s, w, result)) << what;
        EXPECT_FALSE(result.psdValid) << what;
        EXPECT_EQ(result.psdPeak, 0.0) << what;
        EXPECT_EQ(result.psdPeakFreq, 0.0) << what;
        EXPECT_EQ(result.psdPeakCopy, 0.0) << what;
        EXPECT_EQ(result.psdValues, untouched) << what;
    };
    AnalysisWindow noRing = ring.window;
    noRing.samples = nullptr;
    expectInvalid(on, noRing, "no ring");
    AnalysisWindow noCapacity = ring.window;
    noCapacity.capacity = 0;
    expectInvalid(on, noCapacity, "zero capacity");
    AnalysisSettings off = on;
    off.psdEnabled = 0;
    expectInvalid(off, ring.window, "spectra off");
    AnalysisWindow filling = ring.window;
    filling.count = 999;
    expectInvalid(on, filling, "window not full");

    ReleaseAnalysis(state);
    EXPECT_EQ(state.transformLength, 0);
    EXPECT_TRUE(state.work.empty() && state.imaginary.empty() && state.window.empty());
    expectInvalid(on, ring.window, "released");
    SetupAnalysis(state, on);
    PsdResult again;
    EXPECT_TRUE(ComputeSpectrum(state, on, ring.window, again));
    EXPECT_NEAR(again.psdPeakFreq, 1.0, 1e-12);
}

TEST(ComputeSpectrum, ResultOfTheWrongSizeIsResizedToTheBins) {
    AnalysisState state;
    const AnalysisSettings s = Settings(10, 0, 0, 0.5);
    SetupAnalysis(state, s);
    Ring ring(1000, 0, 1000, [](double) { return 1.0; });
    PsdResult result;
    result.psdValues.resize(10);
    EXPECT_TRUE(ComputeSpectrum(state, s, ring.window, result));
    EXPECT_EQ(result.psdValues.size(), 500u);
}

TEST(ComputeSpectrum, AllocatesNothingOnceSetUp) {
    {
        const long long before = AllocationCount();
        std::vector<double> probe(10);
        ASSERT_GT(AllocationCount(), before) << "the counting operator new is not in effect";
    }
    for (double time : {10.0, 49.99, 49.98, 20.03}) {
        for (int kind : {0, 4}) {
            AnalysisState state;
            const AnalysisSettings s = Settings(time, kind, 1, 0.5);
            SetupAnalysis(state, s);
            const int n = state.analysisLength;
            Ring ring(2 * n, n / 3, n, [](double t) { return std::sin(kTwoPi * 5.0 * t); });
            PsdResult result;
            result.psdValues.resize(static_cast<std::size_t>(n / 2));
            const long long before = AllocationCount();
            bool stored = true;
            for (int i = 0; i < 3; ++i) stored = ComputeSpectrum(state, s, ring.window, result) && stored;
            const long long after = AllocationCount();
            EXPECT_TRUE(stored);
            EXPECT_EQ(after - before, 0) << "N = " << n;
        }
    }
}

}  // namespace
}  // namespace app
