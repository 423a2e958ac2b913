// Instrumental seismic intensity: frequency-domain filters over our real transform, the level
// reached for 0.3 s by the vector sum, and the rounding to one decimal.
#include "analysis/SeismicIntensity.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fft/ComplexFft.h"
#include "fft/RealFft.h"

namespace app {
namespace {

// Magnitudes of I·100 within this of a half are taken as the half: I comes out of log10 with an
// error near 1e-15, and a decimal tie such as 4.495 must round up.
constexpr double kTieTolerance = 1e-9;

}  // namespace

double IntensityFilterGain(double f) {
    if (!(f > 0.0)) return 0.0;
    const double y2 = (f / 10.0) * (f / 10.0);
    const double highCut =
        1.0 + y2 * (0.694 + y2 * (0.241 + y2 * (0.0557 + y2 * (0.009664 + y2 * (0.00134 + y2 * 0.000155)))));
    const double r = f / 0.5;
    const double lowCut = -std::expm1(-r * r * r);  // 1 − e^(−(f/0.5)³), exact for small f as well
    return std::sqrt(lowCut / (f * highCut));
}

int IntensityTenths(double level) {
    const double i = 2.0 * std::log10(level) + 0.94;
    const double hundredths = std::floor(std::fabs(i) * 100.0 + 0.5 + kTieTolerance);
    const int tenths = static_cast<int>(hundredths / 10.0);  // hundredths is whole: the quotient truncates
    return i < 0.0 ? -tenths : tenths;
}

int IntensityClassOf(int tenths) {
    static const int kLowerBounds[kIntensityClassCount - 1] = {5, 15, 25, 35, 45, 50, 55, 60, 65};
    int c = 0;
    while (c < kIntensityClassCount - 1 && tenths >= kLowerBounds[c]) ++c;
    return c;
}

const char* IntensityClassName(int intensityClass) {
    static const char* const kNames[kIntensityClassCount] = {"0", "1", "2", "3", "4",
                                                             "5弱", "5強", "6弱", "6強", "7"};
    if (intensityClass < 0 || intensityClass >= kIntensityClassCount) return "";
    return kNames[intensityClass];
}

std::string FormatIntensityTenths(int tenths) {
    char text[16];
    const int magnitude = tenths < 0 ? -tenths : tenths;
    std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", magnitude / 10, magnitude % 10);
    return text;
}

IntensityCalculator::IntensityCalculator() = default;
IntensityCalculator::~IntensityCalculator() = default;

std::size_t IntensityCalculator::TransformLength(std::size_t n) {
    const int half = static_cast<int>((n + 1) / 2);
    return 2 * static_cast<std::size_t>(fft::ComplexFft::SmoothLength(half < 1 ? 1 : half));
}

void IntensityCalculator::Plan(std::size_t length) {
    if (plan_ && static_cast<std::size_t>(plan_->Length()) == length) return;
    plan_.reset();
    plan_.reset(new fft::RealFft(static_cast<int>(length)));
    gains_.resize(length / 2 + 1);
    const double df = kIntensitySampleRate / static_cast<double>(length);
    for (std::size_t k = 0; k < gains_.size(); ++k) gains_[k] = IntensityFilterGain(static_cast<double>(k) * df);
    work_.resize(length);
}

void IntensityCalculator::FilterAxis(const double* samples, std::size_t n) {
    const std::size_t length = work_.size();
    double mean = 0.0;
    for (std::size_t i = 0; i < n; ++i) mean += samples[i];
    mean /= static_cast<double>(n);
    // The low cut removes the mean anyway; taking it out first keeps the zero padding from adding a
    // step at the end of the record.
    for (std::size_t i = 0; i < n; ++i) work_[i] = samples[i] - mean;
    std::fill(work_.begin() + static_cast<std::ptrdiff_t>(n), work_.end(), 0.0);

    plan_->Forward(work_.data(), 1.0);
    work_[0] *= gains_[0];
    for (std::size_t k = 1; 2 * k < length; ++k) {
        work_[2 * k - 1] *= gains_[k];
        work_[2 * k] *= gains_[k];
    }
    work_[length - 1] *= gains_[length / 2];  // the length is even: the last value is bin L/2
    plan_->Backward(work_.data(), 1.0 / static_cast<double>(length));
    for (std::size_t i = 0; i < n; ++i) sum2_[i] += work_[i] * work_[i];
}

IntensityResult IntensityCalculator::Compute(const double* x, const double* y, const double* z, std::size_t n) {
    IntensityResult result;
    if (n < kIntensityLevelSamples || n > kMaxIntensitySamples) return result;
    for (const double* axis : {x, y, z})
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isfinite(axis[i])) return result;

    Plan(TransformLength(n));
    sum2_.assign(n, 0.0);
    for (const double* axis : {x, y, z}) FilterAxis(axis, n);

    // The largest level reached for 0.3 s in total is the 30th largest value of the vector sum.
    const auto nth = sum2_.begin() + static_cast<std::ptrdiff_t>(kIntensityLevelSamples - 1);
    std::nth_element(sum2_.begin(), nth, sum2_.end(), [](double a, double b) { return a > b; });
    const double level = std::sqrt(*nth);
    if (!(level > 0.0) || !std::isfinite(level)) return result;

    result.valid = true;
    result.level = level;
    result.tenths = IntensityTenths(level);
    result.intensityClass = IntensityClassOf(result.tenths);
    return result;
}

}  // namespace app
