// Instrumental seismic intensity (計測震度) of a three-component acceleration record in gal and its
// class (震度階級); the method and its rounding are described in docs/INTENSITY.md.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace fft {
class RealFft;
}

namespace app {

// Samples per second of every record here (samples are 10 ms apart).
constexpr double kIntensitySampleRate = 100.0;
// Samples of the 0.3 s total the level must be reached for.
constexpr std::size_t kIntensityLevelSamples = 30;
// Longest record computed (about 5.8 hours); longer events get no intensity rather than a transform
// the 32-bit process may not be able to hold.
constexpr std::size_t kMaxIntensitySamples = std::size_t{1} << 21;

// The intensity classes in order; index 5 … 8 are 5弱, 5強, 6弱, 6強.
constexpr int kIntensityClassCount = 10;

// Gain of the combined filter at f Hz: period effect (1/f)^½ · high cut at 10 Hz · low cut at
// 0.5 Hz. 0 for f <= 0 (the low cut removes the mean entirely).
[[nodiscard]] double IntensityFilterGain(double f);

// The intensity value for a level a > 0 gal: I = 2·log10(a) + 0.94, rounded half up at the second
// decimal and then truncated to one decimal, returned in tenths (5.1 → 51). Negative values are
// rounded and truncated on their magnitude.
[[nodiscard]] int IntensityTenths(double level);
// Class index 0 … 9 of an intensity in tenths: below 0.5 → 0, [0.5, 1.5) → 1, … [4.5, 5.0) → 5弱,
// [5.0, 5.5) → 5強, [5.5, 6.0) → 6弱, [6.0, 6.5) → 6強, 6.5 and above → 7.
[[nodiscard]] int IntensityClassOf(int tenths);
// "0" … "4", "5弱", "5強", "6弱", "6強", "7" (code page 932); "" for an index out of range.
[[nodiscard]] const char* IntensityClassName(int intensityClass);
// The intensity with one decimal: 51 → "5.1", -3 → "-0.3".
[[nodiscard]] std::string FormatIntensityTenths(int tenths);

struct IntensityResult {
    bool valid = false;      // false: shorter than 0.3 s, longer than kMaxIntensitySamples, a
                             // sample that is not a finite number, or no motion at all
    double level = 0.0;      // a in gal: the filtered vector sum is >= a for 0.3 s in total
    int tenths = 0;          // the intensity in tenths
    int intensityClass = 0;  // 0 … 9
};

// Computes intensities; keeps the transform plan and filter gains of the last length, so records
// of similar length cost no planning. Not shared between threads.
class IntensityCalculator {
public:
    IntensityCalculator();
    ~IntensityCalculator();
    IntensityCalculator(const IntensityCalculator&) = delete;
    IntensityCalculator& operator=(const IntensityCalculator&) = delete;

    // x, y, z: n samples each in gal, 10 ms apart.
    IntensityResult Compute(const double* x, const double* y, const double* z, std::size_t n);

    // Transform length used for n samples: the smallest even length >= n whose only prime factors
    // are 2, 3 and 5.
    [[nodiscard]] static std::size_t TransformLength(std::size_t n);

private:
    // One axis: mean removed, zero-padded, filtered in the frequency domain, back in time; adds the
    // squares of the first n filtered samples to sum2_.
    void FilterAxis(const double* samples, std::size_t n);
    void Plan(std::size_t length);

    std::unique_ptr<fft::RealFft> plan_;
    std::vector<double> gains_;  // gain of bin k = 0 … L/2 for the planned length L
    std::vector<double> work_;   // L values
    std::vector<double> sum2_;   // n squared vector sums
};

}  // namespace app
