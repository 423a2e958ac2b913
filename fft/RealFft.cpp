// Real transform: for even N the samples are paired into N/2 complex values and split afterwards;
// odd N runs the complex transform of N with zero imaginary parts.
#include "fft/RealFft.h"

#include <cmath>
#include <cstring>

#include <emmintrin.h>

namespace fft {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// Two 8-byte stores: packed bins sit at odd offsets, where one 16-byte store would straddle lines.
inline void StorePair(double* p, __m128d v) {
    _mm_storel_pd(p, v);
    _mm_storeh_pd(p + 1, v);
}

}  // namespace

RealFft::RealFft(int n) : n_(n < 1 ? 1 : n) {
    const bool even = n_ % 2 == 0;
    const int complexLength = even ? n_ / 2 : n_;
    complex_.reset(new ComplexFft(complexLength));
    buffer_.resize(static_cast<std::size_t>(complexLength));
    if (even) {
        const int half = n_ / 2;
        split_.resize(static_cast<std::size_t>(half / 2 + 1));
        splitForward_.reserve(2 * split_.size());
        for (int k = 0; k <= half / 2; ++k) {
            const double angle = kTwoPi * k / n_;
            const double c = std::cos(angle), sn = -std::sin(angle);
            split_[static_cast<std::size_t>(k)] = {c, sn};
            splitForward_.push_back({c, -c});
            splitForward_.push_back({sn, sn});
        }
    }
}

void RealFft::Forward(double* data, double scale) {
    Cpx* z = buffer_.data();
    if (n_ % 2 != 0) {
        for (int k = 0; k < n_; ++k) z[k] = {data[k], 0.0};
        complex_->Forward(z);
        data[0] = z[0].re * scale;
        for (int k = 1; 2 * k < n_; ++k) {
            data[2 * k - 1] = z[k].re * scale;
            data[2 * k] = z[k].im * scale;
        }
        return;
    }
    // The pairs (x[2m], x[2m + 1]) are read in place as complex values.
    complex_->Forward(reinterpret_cast<const Cpx*>(data), z);
    data[0] = (z[0].re + z[0].im) * scale;
    data[n_ - 1] = (z[0].re - z[0].im) * scale;
    Split(z, data, scale);
}

// Bins k and N/2 − k come from the same pair Z[k], Z[N/2 − k]:
// X[k] = E + w^k·O and X[N/2 − k] = conj(E − w^k·O), with E = (Z[k] + conj Z[N/2 − k]) / 2 and
// O = −i·(Z[k] − conj Z[N/2 − k]) / 2 the spectra of the even and odd samples.
void RealFft::Split(const Cpx* __restrict z, double* __restrict data, double scale) const {
    const int half = n_ / 2;
    if (half < 2) return;  // N = 2 has no bins between 0 and N/2
    const __m128d h = _mm_set1_pd(0.5 * scale);
    const __m128d conjugate = _mm_set_pd(-0.0, 0.0);
    // X[k] = e + t and conj X[N/2 − k] = e − t for the pair at zk = &Z[k], zm = &Z[N/2 − k].
    auto bin = [=](const Cpx* zk, const Cpx* zm, const Cpx* w, __m128d& plus, __m128d& minus) {
        const __m128d a = _mm_loadu_pd(&zk->re);
        const __m128d b = _mm_xor_pd(_mm_loadu_pd(&zm->re), conjugate);
        const __m128d e = _mm_mul_pd(h, _mm_add_pd(a, b));
        const __m128d d = _mm_mul_pd(h, _mm_sub_pd(a, b));
        // t = w^k·(−i)·d = (wr·di + wi·dr, wi·di − wr·dr)
        const __m128d t = _mm_add_pd(_mm_mul_pd(_mm_loadu_pd(&w[0].re), _mm_shuffle_pd(d, d, 1)),
                                     _mm_mul_pd(_mm_loadu_pd(&w[1].re), d));
        plus = _mm_add_pd(e, t);
        minus = _mm_sub_pd(e, t);
    };
    const Cpx* zk = z + 1;
    const Cpx* zm = z + half - 1;
    const Cpx* w = splitForward_.data() + 2;
    double* xk = data + 1;
    double* xm = data + 2 * (half - 1) - 1;
    for (; zk < zm; ++zk, --zm, w += 2, xk += 2, xm -= 2) {
        __m128d plus, minus;
        bin(zk, zm, w, plus, minus);
        StorePair(xk, plus);
        StorePair(xm, _mm_xor_pd(minus, conjugate));
    }
    if (zk == zm) {  // k = N/4 pairs with itself
        __m128d plus, minus;
        bin(zk, zm, w, plus, minus);
        StorePair(xk, plus);
    }
}

void RealFft::Backward(double* data, double scale) {
    Cpx* z = buffer_.data();
    if (n_ % 2 != 0) {
        z[0] = {data[0], 0.0};
        for (int k = 1; 2 * k < n_; ++k) {
            z[k] = {data[2 * k - 1], data[2 * k]};
            z[n_ - k] = {data[2 * k - 1], -data[2 * k]};
        }
        complex_->Backward(z);
        for (int k = 0; k < n_; ++k) data[k] = z[k].re * scale;
        return;
    }
    const int half = n_ / 2;
    z[0] = {data[0] + data[n_ - 1], data[0] - data[n_ - 1]};
    for (int k = 1; k < half; ++k) {
        const int mk = half - k;
        const Cpx x{data[2 * k - 1], data[2 * k]};
        const Cpx c{data[2 * mk - 1], -data[2 * mk]};  // conj(X[N/2 − k]) = X[k + N/2]
        // w^k for k above N/4 from w^(N/2 − k) = −conj(w^k).
        const Cpx w = 2 * k <= half
                          ? split_[static_cast<std::size_t>(k)]
                          : Cpx{-split_[static_cast<std::size_t>(mk)].re,
                                split_[static_cast<std::size_t>(mk)].im};
        const double er = x.re + c.re, ei = x.im + c.im;
        const double dr = x.re - c.re, di = x.im - c.im;
        // O = (X[k] − X[k + N/2]) / w^k, and Z = E + i·O.
        const double orr = dr * w.re + di * w.im, oi = di * w.re - dr * w.im;
        z[k] = {er - oi, ei + orr};
    }
    complex_->Backward(z);
    for (int k = 0; k < half; ++k) {
        data[2 * k] = z[k].re * scale;
        data[2 * k + 1] = z[k].im * scale;
    }
}

}  // namespace fft
