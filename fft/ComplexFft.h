// Planned complex discrete Fourier transform of any length: mixed radix for small factors, Bluestein
// for lengths whose large prime factors would make the direct passes slow.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace fft {

// One complex value; a plain pair so the butterflies compile to straight arithmetic.
struct Cpx {
    double re;
    double im;
};

class ComplexFft {
public:
    // Plans a transform of length n (n >= 1). All tables and scratch are allocated here.
    explicit ComplexFft(int n);
    ~ComplexFft();
    ComplexFft(const ComplexFft&) = delete;
    ComplexFft& operator=(const ComplexFft&) = delete;

    int Length() const { return n_; }
    bool UsesBluestein() const { return inner_ != nullptr; }

    // In place: data[k] = sum over j of data[j]·e^(−2πijk/n). Allocates nothing.
    void Forward(Cpx* data);
    // Out of place: out[k] = sum over j of in[j]·e^(−2πijk/n); in and out must not overlap, in is
    // left unchanged. Allocates nothing.
    void Forward(const Cpx* in, Cpx* out);
    // In place, unnormalised inverse: data[j] = sum over k of data[k]·e^(+2πijk/n).
    void Backward(Cpx* data);

    // Rough operation count of the direct passes for length n; the planner compares it with the
    // cost of a Bluestein convolution.
    static double DirectCost(int n);
    // Smallest length >= minLength whose only prime factors are 2, 3 and 5.
    static int SmoothLength(int minLength);

private:
    struct Pass {
        int radix;
        int l1;                   // transforms already combined before this pass
        int ido;                  // length of each remaining sub-transform after this pass
        std::size_t twiddle;      // offset in twiddles_ of (ido − 1)·(radix − 1) twiddles, i-major
        std::size_t roots;        // offset in roots_ of the generic radix's cosine and sine tables
    };

    ComplexFft(int n, bool forceDirect);
    void PlanDirect();
    void PlanBluestein();
    // in may be out only when the pass count is even, or scratch_ itself.
    void ForwardDirect(const Cpx* in, Cpx* out);
    void RunPass(const Pass& pass, const Cpx* in, Cpx* out);
    template <int W>
    void RunPassOfWidth(const Pass& pass, const Cpx* in, Cpx* out);
    // in may be out.
    void ForwardBluestein(const Cpx* in, Cpx* out);

    int n_;
    // Twiddles stored split (2 values each, faster) or plain (1 value; the inner transform of a
    // Bluestein plan, whose tables are large enough that planning time goes into page faults).
    bool splitTwiddles_;
    std::vector<Pass> passes_;
    std::vector<Cpx> twiddles_;
    std::vector<Cpx> roots_;      // per generic pass: h·h broadcast cosines then h·h sines, h = (p−1)/2
    std::vector<Cpx> scratch_;    // n values (direct) — ping-pong partner of the caller's data
    std::vector<Cpx> pairs_;      // generic-radix butterfly sums and differences, largest radix
    // Bluestein: the convolution runs through inner_ of a smooth length L >= 2n − 1.
    std::unique_ptr<ComplexFft> inner_;
    std::vector<Cpx> chirp_;          // e^(−πik²/n), k = 0 … n − 1
    std::vector<Cpx> chirpSpectrum_;  // transform of the conjugate chirp divided by L, bins 0 … L/2
                                      // (the rest mirror them)
    std::vector<Cpx> conv_;           // L values of convolution work
};

}  // namespace fft
