// Planned real-input discrete Fourier transform of any length N >= 1, in the packed "pack" layout.
#pragma once

#include <memory>
#include <vector>

#include "fft/ComplexFft.h"

namespace fft {

// Packed layout of a spectrum of N real samples, X[k] = sum over n of x[n]·e^(−2πikn/N):
//   data[0]          = Re X[0]
//   data[2k − 1]     = Re X[k]   for k = 1 … (N − 1)/2   (integer division)
//   data[2k]         = Im X[k]   for k = 1 … (N − 1)/2
//   data[N − 1]      = Re X[N/2] only when N is even (X[N/2] is real)
// The remaining bins follow from X[N − k] = conj(X[k]). N values in all, so it works in place.
class RealFft {
public:
    // Plans length n (n >= 1): factorisation, twiddles and scratch are all allocated here.
    explicit RealFft(int n);
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    int Length() const { return n_; }

    // data[0 … N − 1] real samples in, packed spectrum times `scale` out. Allocates nothing.
    void Forward(double* data, double scale);
    // Packed spectrum in, data[n] = scale · sum over k = 0 … N − 1 of X[k]·e^(+2πikn/N) out (the
    // unnormalised inverse, so scale 1/N undoes an unscaled Forward). Allocates nothing.
    void Backward(double* data, double scale);

private:
    // Even N: packed bins 1 … N/2 − 1 times `scale` from the half-length spectrum z.
    void Split(const Cpx* z, double* data, double scale) const;

    int n_;
    std::unique_ptr<ComplexFft> complex_;  // length N/2 for even N (samples paired), N for odd N
    std::vector<Cpx> buffer_;              // complex_->Length() values
    std::vector<Cpx> split_;               // w^k = e^(−2πik/N), k = 0 … N/4, even N only
    std::vector<Cpx> splitForward_;        // the same w^k as pairs (Re, −Re), (Im, Im)
};

}  // namespace fft
