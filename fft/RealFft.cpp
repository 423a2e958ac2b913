// Real transform: for even N the samples are paired into N/2 complex values and split afterwards;
// odd N runs the complex transform of N with zero imaginary parts.
#include "fft/RealFft.h"

#include <cmath>
#include <cstring>

namespace fft {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

}  // namespace

RealFft::RealFft(int n) : n_(n < 1 ? 1 : n) {
    const bool even = n_ % 2 == 0;
    const int complexLength = even ? n_ / 2 : n_;
    complex_.reset(new ComplexFft(complexLength));
    buffer_.resize(static_cast<std::size_t>(complexLength));
    if (even) {
        const int half = n_ / 2;
        split_.resize(static_cast<std::size_t>(half / 2 + 1));
        for (int k = 0; k <= half / 2; ++k) {
            const double angle = kTwoPi * k / n_;
            split_[static_cast<std::size_t>(k)] = {std::cos(angle), -std::sin(angle)};
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
    const int half = n_ / 2;
    std::memcpy(z, data, sizeof(double) * static_cast<std::size_t>(n_));
    complex_->Forward(z);
    data[0] = (z[0].re + z[0].im) * scale;
    data[n_ - 1] = (z[0].re - z[0].im) * scale;
    // Bins k and N/2 − k come from the same pair Z[k], Z[N/2 − k]:
    // X[k] = E + w^k·O and X[N/2 − k] = conj(E − w^k·O), with E, O the spectra of the even and odd
    // samples recovered from the pair.
    for (int k = 1; 2 * k <= half; ++k) {
        const int mk = half - k;
        const Cpx a = z[k];
        const Cpx b = z[mk];
        const double er = 0.5 * (a.re + b.re), ei = 0.5 * (a.im - b.im);
        const double orr = 0.5 * (a.im + b.im), oi = -0.5 * (a.re - b.re);
        const Cpx w = split_[static_cast<std::size_t>(k)];
        const double tr = w.re * orr - w.im * oi, ti = w.re * oi + w.im * orr;
        data[2 * k - 1] = (er + tr) * scale;
        data[2 * k] = (ei + ti) * scale;
        if (mk != k) {
            data[2 * mk - 1] = (er - tr) * scale;
            data[2 * mk] = (ti - ei) * scale;
        }
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
