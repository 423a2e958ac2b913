// The real transform against a long-double reference DFT, round trips and the descriptor protocol.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "fft/ComplexFft.h"
#include "fft/FftDescriptor.h"
#include "fft/RealFft.h"

namespace fft {
namespace {

// Lengths beyond 1 … 64: the display-time defaults, primes, prime powers, and composites with a
// large prime factor in N or N/2 (Bluestein inside the half-length transform).
const int kLongLengths[] = {100,  128,  210,  243,  256,  360,  500,  625,  720,  800,  997,
                            1000, 1024, 1331, 2000, 2003, 2048, 2187, 2401, 2498, 2499, 3125,
                            4094, 4096, 4913, 4994, 4997, 4998, 4999, 5000};
// The same paths in fewer lengths: mixed radices, powers of 2, 3, 5 and 11, an odd prime, a
// Bluestein prime and a Bluestein half. For QUORVEL_FFT_SHORT=1: the i686 build under emulation,
// where the long-double reference sums run some fifty times slower (x87 is emulated).
const int kShortLongLengths[] = {100, 128, 210, 243, 625, 997, 1331, 2003, 2498};

bool ShortSweeps() {
    const char* v = std::getenv("QUORVEL_FFT_SHORT");
    return v != nullptr && v[0] == '1';
}

std::vector<int> LongLengths() {
    if (ShortSweeps()) return {std::begin(kShortLongLengths), std::end(kShortLongLengths)};
    return {std::begin(kLongLengths), std::end(kLongLengths)};
}

std::vector<double> RandomSamples(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-100.0, 100.0);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (double& v : x) v = dist(rng);
    return x;
}

struct Bin {
    long double re;
    long double im;
};

// X[k] for k = 0 … N/2, summed in long double with exactly reduced exponents.
std::vector<Bin> ReferenceDft(const std::vector<double>& x) {
    const int n = static_cast<int>(x.size());
    const long double twoPi = 6.283185307179586476925286766559L;
    std::vector<Bin> roots(static_cast<std::size_t>(n));
    for (int m = 0; m < n; ++m) {
        const long double a = twoPi * m / n;
        roots[static_cast<std::size_t>(m)] = {cosl(a), -sinl(a)};
    }
    std::vector<Bin> result(static_cast<std::size_t>(n / 2 + 1));
    for (int k = 0; k <= n / 2; ++k) {
        long double re = 0, im = 0;
        long long m = 0;
        for (int j = 0; j < n; ++j) {
            re += x[static_cast<std::size_t>(j)] * roots[static_cast<std::size_t>(m)].re;
            im += x[static_cast<std::size_t>(j)] * roots[static_cast<std::size_t>(m)].im;
            m += k;
            if (m >= n) m -= n;
        }
        result[static_cast<std::size_t>(k)] = {re, im};
    }
    return result;
}

// Largest error of the packed output against the reference, relative to the largest magnitude.
double PackedError(const std::vector<double>& packed, const std::vector<Bin>& ref, double scale) {
    const int n = static_cast<int>(packed.size());
    long double largest = 0;
    for (const Bin& b : ref) largest = std::max(largest, sqrtl(b.re * b.re + b.im * b.im) * scale);
    long double worst = fabsl(packed[0] - ref[0].re * scale);
    for (int k = 1; 2 * k < n; ++k) {
        worst = std::max(worst, fabsl(packed[static_cast<std::size_t>(2 * k - 1)] - ref[static_cast<std::size_t>(k)].re * scale));
        worst = std::max(worst, fabsl(packed[static_cast<std::size_t>(2 * k)] - ref[static_cast<std::size_t>(k)].im * scale));
    }
    if (n % 2 == 0) worst = std::max(worst, fabsl(packed[static_cast<std::size_t>(n - 1)] - ref[static_cast<std::size_t>(n / 2)].re * scale));
    return largest > 0 ? static_cast<double>(worst / largest) : static_cast<double>(worst);
}

void ExpectMatchesReference(int n) {
    const std::vector<double> x = RandomSamples(n, 1000u + static_cast<unsigned>(n));
    const std::vector<Bin> ref = ReferenceDft(x);
    std::vector<double> data = x;
    RealFft plan(n);
    plan.Forward(data.data(), 2.0 / n);
    EXPECT_LE(PackedError(data, ref, 2.0 / n), 1e-12) << "N = " << n;
}

TEST(RealFft, MatchesReferenceForEveryShortLength) {
    for (int n = 1; n <= 64; ++n) ExpectMatchesReference(n);
}

TEST(RealFft, MatchesReferenceForLongAndAwkwardLengths) {
    for (int n : LongLengths()) ExpectMatchesReference(n);
}

// Event-length transforms (minutes of samples): a full reference costs N², so a handful of bins
// across the spectrum are summed exactly instead, and the round trip covers every sample.
TEST(RealFft, LongLengthsKeepTheirAccuracyBothWays) {
    const long double twoPi = 6.283185307179586476925286766559L;
    // 30000 and 65536 smooth, the prime 30011 (Bluestein), 60022 = 2·30011 (Bluestein inside the half).
    for (int n : {30000, 30011, 60022, 65536}) {
        const std::vector<double> x = RandomSamples(n, 99u + static_cast<unsigned>(n));
        std::vector<double> data = x;
        RealFft plan(n);
        plan.Forward(data.data(), 1.0);
        // Every bin has magnitude about 100·sqrt(N/3) for these samples.
        const long double typical = 100.0L * sqrtl(n / 3.0L);
        long double worst = 0;
        for (int k : {1, n / 7, n / 3, (n - 1) / 2}) {
            long double re = 0, im = 0;
            long long m = 0;
            for (int j = 0; j < n; ++j) {
                const long double a = twoPi * static_cast<long double>(m) / n;
                re += x[static_cast<std::size_t>(j)] * cosl(a);
                im -= x[static_cast<std::size_t>(j)] * sinl(a);
                m += k;
                if (m >= n) m -= n;
            }
            worst = std::max(worst, fabsl(data[static_cast<std::size_t>(2 * k - 1)] - re));
            worst = std::max(worst, fabsl(data[static_cast<std::size_t>(2 * k)] - im));
        }
        EXPECT_LE(static_cast<double>(worst / typical), 1e-13) << "N = " << n;
        plan.Backward(data.data(), 1.0 / n);
        double back = 0;
        for (int i = 0; i < n; ++i) back = std::max(back, std::fabs(data[static_cast<std::size_t>(i)] - x[static_cast<std::size_t>(i)]));
        EXPECT_LE(back / 100.0, 1e-13) << "N = " << n;
    }
}

TEST(RealFft, PlanIsReusableAcrossCalls) {
    const int n = ShortSweeps() ? 2003 : 4999;  // Bluestein primes both
    RealFft plan(n);
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const std::vector<double> x = RandomSamples(n, seed);
        std::vector<double> data = x;
        plan.Forward(data.data(), 1.0);
        EXPECT_LE(PackedError(data, ReferenceDft(x), 1.0), 1e-12) << "seed " << seed;
    }
}

TEST(RealFft, SineAtBinFrequencyGivesItsAmplitude) {
    const int n = 1000;
    std::vector<double> data(n);
    for (int i = 0; i < n; ++i) data[static_cast<std::size_t>(i)] = 10.0 * std::sin(6.283185307179586 * 20 * i / n);
    RealFft plan(n);
    plan.Forward(data.data(), 2.0 / n);
    EXPECT_NEAR(data[2 * 20 - 1], 0.0, 1e-12);
    EXPECT_NEAR(data[2 * 20], -10.0, 1e-12);
    EXPECT_NEAR(data[2 * 21], 0.0, 1e-12);
}

TEST(FftDescriptor, ForwardThenBackwardReturnsTheSamples) {
    std::vector<int> lengths;
    for (int n = 1; n <= 64; ++n) lengths.push_back(n);
    lengths.insert(lengths.end(), std::begin(kLongLengths), std::end(kLongLengths));
    for (int n : lengths) {
        FftDescriptor* d = nullptr;
        ASSERT_EQ(CreateRealDescriptor(&d, n), FftStatus::Ok);
        EXPECT_EQ(SetPackedFormat(d, PackedFormat::Pack), FftStatus::Ok);
        EXPECT_EQ(SetBackwardScale(d, 0.5), FftStatus::Ok);
        EXPECT_EQ(SetForwardScale(d, 2.0 / n), FftStatus::Ok);
        ASSERT_EQ(CommitDescriptor(d), FftStatus::Ok);
        const std::vector<double> x = RandomSamples(n, 7u * static_cast<unsigned>(n));
        std::vector<double> data = x;
        ASSERT_EQ(ComputeForward(d, data.data()), FftStatus::Ok);
        ASSERT_EQ(ComputeBackward(d, data.data()), FftStatus::Ok);
        double worst = 0;
        for (int i = 0; i < n; ++i) worst = std::max(worst, std::fabs(data[static_cast<std::size_t>(i)] - x[static_cast<std::size_t>(i)]));
        EXPECT_LE(worst / 100.0, 1e-12) << "N = " << n;
        EXPECT_EQ(FreeDescriptor(&d), FftStatus::Ok);
        EXPECT_EQ(d, nullptr);
    }
}

TEST(FftDescriptor, RejectsMisuseWithoutTouchingData) {
    FftDescriptor* d = reinterpret_cast<FftDescriptor*>(&d);  // must be overwritten
    EXPECT_EQ(CreateRealDescriptor(&d, 0), FftStatus::InvalidLength);
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(CreateRealDescriptor(&d, -5), FftStatus::InvalidLength);
    EXPECT_EQ(CreateRealDescriptor(nullptr, 8), FftStatus::NullHandle);

    double data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(ComputeForward(nullptr, data), FftStatus::NullHandle);
    ASSERT_EQ(CreateRealDescriptor(&d, 8), FftStatus::Ok);
    EXPECT_EQ(ComputeForward(d, data), FftStatus::NotCommitted);
    EXPECT_EQ(data[0], 1.0);
    EXPECT_EQ(SetForwardScale(d, std::nan("")), FftStatus::InvalidValue);
    ASSERT_EQ(CommitDescriptor(d), FftStatus::Ok);
    EXPECT_EQ(ComputeForward(d, nullptr), FftStatus::NullHandle);
    EXPECT_EQ(SetForwardScale(d, 0.25), FftStatus::Ok);
    EXPECT_EQ(ComputeForward(d, data), FftStatus::NotCommitted);  // a changed setting needs a commit
    ASSERT_EQ(CommitDescriptor(d), FftStatus::Ok);
    EXPECT_EQ(ComputeForward(d, data), FftStatus::Ok);
    EXPECT_DOUBLE_EQ(data[0], 36.0 * 0.25);
    EXPECT_EQ(FreeDescriptor(&d), FftStatus::Ok);
    EXPECT_EQ(FreeDescriptor(&d), FftStatus::Ok);  // freeing a null handle is harmless
}

TEST(ComplexFft, PlannerUsesBluesteinOnlyForLargePrimeFactors) {
    EXPECT_TRUE(ComplexFft(4999).UsesBluestein());
    EXPECT_TRUE(ComplexFft(2003).UsesBluestein());
    EXPECT_TRUE(ComplexFft(2497).UsesBluestein());  // 11 · 227, the half of 4994
    EXPECT_FALSE(ComplexFft(2500).UsesBluestein());
    EXPECT_FALSE(ComplexFft(1000).UsesBluestein());
    EXPECT_FALSE(ComplexFft(7).UsesBluestein());
    EXPECT_EQ(ComplexFft::SmoothLength(9997), 10000);
    EXPECT_EQ(ComplexFft::SmoothLength(1), 1);
    EXPECT_EQ(ComplexFft::SmoothLength(7), 8);
}

}  // namespace
}  // namespace fft
