// Self-sorting (Stockham) mixed-radix passes of radix 2, 3, 4, 5 and any odd prime, and the Bluestein
// convolution for lengths with large prime factors.
#include "fft/ComplexFft.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace fft {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// Data layout of one pass: input CC(i, j, k) = cc[i + ido·(j + radix·k)], output
// CH(i, k, j) = ch[i + ido·(k + l1·j)], twiddle WA(j, i) = wa[(j − 1)·(ido − 1) + i − 1].

inline Cpx Add(Cpx a, Cpx b) { return {a.re + b.re, a.im + b.im}; }
inline Cpx Sub(Cpx a, Cpx b) { return {a.re - b.re, a.im - b.im}; }
inline Cpx Mul(Cpx a, Cpx w) { return {a.re * w.re - a.im * w.im, a.re * w.im + a.im * w.re}; }

// Runs a butterfly over every (i, k); the first element of each sub-transform needs no twiddle, so
// the loops are split to keep the test out of the inner loop.
template <class Body>
inline void RunPass(int ido, int l1, Body& body) {
    if (ido == 1) {
        for (int k = 0; k < l1; ++k) body(0, k, std::false_type{});
        return;
    }
    for (int k = 0; k < l1; ++k) {
        body(0, k, std::false_type{});
        for (int i = 1; i < ido; ++i) body(i, k, std::true_type{});
    }
}

void Pass2(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const int cdim = 2;
    auto CC = [&](int i, int j, int k) -> const Cpx& { return cc[i + ido * (j + cdim * k)]; };
    auto CH = [&](int i, int k, int j) -> Cpx& { return ch[i + ido * (k + l1 * j)]; };
    for (int k = 0; k < l1; ++k) {
        CH(0, k, 0) = Add(CC(0, 0, k), CC(0, 1, k));
        CH(0, k, 1) = Sub(CC(0, 0, k), CC(0, 1, k));
        for (int i = 1; i < ido; ++i) {
            CH(i, k, 0) = Add(CC(i, 0, k), CC(i, 1, k));
            CH(i, k, 1) = Mul(Sub(CC(i, 0, k), CC(i, 1, k)), wa[i - 1]);
        }
    }
}

void Pass3(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const int cdim = 3;
    const double tw1r = -0.5, tw1i = -0.86602540378443864676372317075294;
    auto CC = [&](int i, int j, int k) -> const Cpx& { return cc[i + ido * (j + cdim * k)]; };
    auto CH = [&](int i, int k, int j) -> Cpx& { return ch[i + ido * (k + l1 * j)]; };
    auto body = [&](int i, int k, auto twiddled) {
        const Cpx c0 = CC(i, 0, k);
        const Cpx t1 = Add(CC(i, 1, k), CC(i, 2, k));
        const Cpx t2 = Sub(CC(i, 1, k), CC(i, 2, k));
        const Cpx ca{c0.re + tw1r * t1.re, c0.im + tw1r * t1.im};
        const Cpx cb{-tw1i * t2.im, tw1i * t2.re};
        CH(i, k, 0) = Add(c0, t1);
        if constexpr (decltype(twiddled)::value) {
            CH(i, k, 1) = Mul(Add(ca, cb), wa[i - 1]);
            CH(i, k, 2) = Mul(Sub(ca, cb), wa[(ido - 1) + i - 1]);
        } else {
            CH(i, k, 1) = Add(ca, cb);
            CH(i, k, 2) = Sub(ca, cb);
        }
    };
    RunPass(ido, l1, body);
}

void Pass4(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const int cdim = 4;
    auto CC = [&](int i, int j, int k) -> const Cpx& { return cc[i + ido * (j + cdim * k)]; };
    auto CH = [&](int i, int k, int j) -> Cpx& { return ch[i + ido * (k + l1 * j)]; };
    auto body = [&](int i, int k, auto twiddled) {
        const Cpx t1 = Add(CC(i, 0, k), CC(i, 2, k));
        const Cpx t2 = Sub(CC(i, 0, k), CC(i, 2, k));
        const Cpx t3 = Add(CC(i, 1, k), CC(i, 3, k));
        const Cpx d = Sub(CC(i, 1, k), CC(i, 3, k));
        const Cpx t4{d.im, -d.re};  // −i·(x1 − x3)
        CH(i, k, 0) = Add(t1, t3);
        if constexpr (decltype(twiddled)::value) {
            CH(i, k, 1) = Mul(Add(t2, t4), wa[i - 1]);
            CH(i, k, 2) = Mul(Sub(t1, t3), wa[(ido - 1) + i - 1]);
            CH(i, k, 3) = Mul(Sub(t2, t4), wa[2 * (ido - 1) + i - 1]);
        } else {
            CH(i, k, 1) = Add(t2, t4);
            CH(i, k, 2) = Sub(t1, t3);
            CH(i, k, 3) = Sub(t2, t4);
        }
    };
    RunPass(ido, l1, body);
}

void Pass5(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const int cdim = 5;
    const double tw1r = 0.3090169943749474241022934171828191,
                 tw1i = -0.9510565162951535721164393333793821,
                 tw2r = -0.8090169943749474241022934171828191,
                 tw2i = -0.5877852522924731291687059546390728;
    auto CC = [&](int i, int j, int k) -> const Cpx& { return cc[i + ido * (j + cdim * k)]; };
    auto CH = [&](int i, int k, int j) -> Cpx& { return ch[i + ido * (k + l1 * j)]; };
    auto body = [&](int i, int k, auto twiddled) {
        {
            const Cpx c0 = CC(i, 0, k);
            const Cpx t1 = Add(CC(i, 1, k), CC(i, 4, k));
            const Cpx t4 = Sub(CC(i, 1, k), CC(i, 4, k));
            const Cpx t2 = Add(CC(i, 2, k), CC(i, 3, k));
            const Cpx t3 = Sub(CC(i, 2, k), CC(i, 3, k));
            const Cpx y0{c0.re + t1.re + t2.re, c0.im + t1.im + t2.im};
            const Cpx ca1{c0.re + tw1r * t1.re + tw2r * t2.re, c0.im + tw1r * t1.im + tw2r * t2.im};
            // cb = i·(tw1i·t4 + tw2i·t3)
            const Cpx cb1{-(tw1i * t4.im + tw2i * t3.im), tw1i * t4.re + tw2i * t3.re};
            const Cpx ca2{c0.re + tw2r * t1.re + tw1r * t2.re, c0.im + tw2r * t1.im + tw1r * t2.im};
            // cb = i·(tw2i·t4 − tw1i·t3)
            const Cpx cb2{-(tw2i * t4.im - tw1i * t3.im), tw2i * t4.re - tw1i * t3.re};
            CH(i, k, 0) = y0;
            if constexpr (decltype(twiddled)::value) {
                CH(i, k, 1) = Mul(Add(ca1, cb1), wa[i - 1]);
                CH(i, k, 4) = Mul(Sub(ca1, cb1), wa[3 * (ido - 1) + i - 1]);
                CH(i, k, 2) = Mul(Add(ca2, cb2), wa[(ido - 1) + i - 1]);
                CH(i, k, 3) = Mul(Sub(ca2, cb2), wa[2 * (ido - 1) + i - 1]);
            } else {
                CH(i, k, 1) = Add(ca1, cb1);
                CH(i, k, 4) = Sub(ca1, cb1);
                CH(i, k, 2) = Add(ca2, cb2);
                CH(i, k, 3) = Sub(ca2, cb2);
            }
        }
    };
    RunPass(ido, l1, body);
}

// Any odd radix p: sums and differences of the mirrored inputs halve the multiplications.
// `roots`[m] = e^(−2πim/p); `pairs` has room for p − 1 values.
void PassGeneric(int p, int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa, const Cpx* roots,
                 Cpx* pairs) {
    const int h = (p - 1) / 2;
    Cpx* sums = pairs;
    Cpx* diffs = pairs + h;
    auto CC = [&](int i, int j, int k) -> const Cpx& { return cc[i + ido * (j + p * k)]; };
    auto CH = [&](int i, int k, int j) -> Cpx& { return ch[i + ido * (k + l1 * j)]; };
    for (int k = 0; k < l1; ++k) {
        for (int i = 0; i < ido; ++i) {
            const Cpx c0 = CC(i, 0, k);
            Cpx y0 = c0;
            for (int u = 1; u <= h; ++u) {
                const Cpx a = CC(i, u, k);
                const Cpx b = CC(i, p - u, k);
                sums[u - 1] = Add(a, b);
                diffs[u - 1] = Sub(a, b);
                y0 = Add(y0, sums[u - 1]);
            }
            CH(i, k, 0) = y0;
            for (int m = 1; m <= h; ++m) {
                double ar = c0.re, ai = c0.im, br = 0.0, bi = 0.0;
                int idx = 0;
                for (int u = 1; u <= h; ++u) {
                    idx += m;
                    if (idx >= p) idx -= p;
                    const Cpx w = roots[idx];
                    ar += w.re * sums[u - 1].re;
                    ai += w.re * sums[u - 1].im;
                    br += w.im * diffs[u - 1].re;
                    bi += w.im * diffs[u - 1].im;
                }
                // Output m is A + i·B, output p − m is A − i·B.
                const Cpx plus{ar - bi, ai + br};
                const Cpx minus{ar + bi, ai - br};
                if (i == 0) {
                    CH(i, k, m) = plus;
                    CH(i, k, p - m) = minus;
                } else {
                    CH(i, k, m) = Mul(plus, wa[(m - 1) * (ido - 1) + i - 1]);
                    CH(i, k, p - m) = Mul(minus, wa[(p - m - 1) * (ido - 1) + i - 1]);
                }
            }
        }
    }
}

// Prime factors of n in pass order: fours first (fewest operations per level), then a two, then
// the odd primes ascending.
std::vector<int> Factorise(int n) {
    std::vector<int> factors;
    while (n % 4 == 0) {
        factors.push_back(4);
        n /= 4;
    }
    if (n % 2 == 0) {
        factors.push_back(2);
        n /= 2;
    }
    for (int p = 3; p * p <= n; p += 2) {
        while (n % p == 0) {
            factors.push_back(p);
            n /= p;
        }
    }
    if (n > 1) factors.push_back(n);
    return factors;
}

// Per-element cost of one pass, in rough floating-point operations.
double RadixCost(int p) {
    switch (p) {
    case 2: return 5.0;
    case 3: return 8.0;
    case 4: return 8.5;
    case 5: return 10.0;
    default: return 2.0 * p + 6.0;
    }
}

// e^(−2πi·m/n) with the exponent reduced exactly in integers first.
Cpx Root(long long m, long long n) {
    m %= n;
    if (m < 0) m += n;
    const double angle = kTwoPi * static_cast<double>(m) / static_cast<double>(n);
    return {std::cos(angle), -std::sin(angle)};
}

}  // namespace

ComplexFft::ComplexFft(int n) : ComplexFft(n, false) {}

ComplexFft::ComplexFft(int n, bool forceDirect) : n_(n < 1 ? 1 : n) {
    const int smooth = SmoothLength(2 * n_ - 1);
    const double bluesteinCost = 2.0 * DirectCost(smooth) + 12.0 * smooth + 10.0 * n_;
    if (!forceDirect && DirectCost(n_) > bluesteinCost)
        PlanBluestein();
    else
        PlanDirect();
}

ComplexFft::~ComplexFft() = default;

double ComplexFft::DirectCost(int n) {
    double cost = 0.0;
    for (int p : Factorise(n)) cost += RadixCost(p);
    return cost * n;
}

int ComplexFft::SmoothLength(int minLength) {
    if (minLength <= 1) return 1;
    long long best = 1;
    while (best < minLength) best *= 2;
    for (long long f5 = 1; f5 < best; f5 *= 5) {
        for (long long f35 = f5; f35 < best; f35 *= 3) {
            long long x = f35;
            while (x < minLength) x *= 2;
            if (x < best) best = x;
        }
    }
    return static_cast<int>(best);
}

void ComplexFft::PlanDirect() {
    const std::vector<int> factors = Factorise(n_);
    std::size_t twiddleCount = 0, rootCount = 0;
    for (int l1 = 1, f = 0; f < static_cast<int>(factors.size()); l1 *= factors[static_cast<std::size_t>(f)], ++f) {
        const int p = factors[static_cast<std::size_t>(f)];
        twiddleCount += static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(n_ / (l1 * p) - 1);
        if (p > 5) rootCount += static_cast<std::size_t>(p);
    }
    twiddles_.reserve(twiddleCount);
    roots_.reserve(rootCount);
    int l1 = 1;
    std::size_t largestRadix = 0;
    for (int p : factors) {
        const int ido = n_ / (l1 * p);
        Pass pass{p, l1, ido, twiddles_.size(), roots_.size()};
        for (int j = 1; j < p; ++j)
            for (int i = 1; i < ido; ++i)
                twiddles_.push_back(Root(static_cast<long long>(j) * l1 * i, n_));
        if (p > 5) {
            for (int m = 0; m < p; ++m) roots_.push_back(Root(m, p));
            if (static_cast<std::size_t>(p) > largestRadix) largestRadix = static_cast<std::size_t>(p);
        }
        passes_.push_back(pass);
        l1 *= p;
    }
    scratch_.resize(static_cast<std::size_t>(n_));
    pairs_.resize(largestRadix);
}

void ComplexFft::PlanBluestein() {
    const int length = SmoothLength(2 * n_ - 1);
    inner_.reset(new ComplexFft(length, true));
    chirp_.resize(static_cast<std::size_t>(n_));
    const long long twoN = 2LL * n_;
    for (long long k = 0; k < n_; ++k) chirp_[static_cast<std::size_t>(k)] = Root((k * k) % twoN, twoN);
    chirpSpectrum_.assign(static_cast<std::size_t>(length), Cpx{0.0, 0.0});
    chirpSpectrum_[0] = {chirp_[0].re, -chirp_[0].im};
    for (int k = 1; k < n_; ++k) {
        const Cpx c{chirp_[static_cast<std::size_t>(k)].re, -chirp_[static_cast<std::size_t>(k)].im};
        chirpSpectrum_[static_cast<std::size_t>(k)] = c;
        chirpSpectrum_[static_cast<std::size_t>(length - k)] = c;
    }
    inner_->Forward(chirpSpectrum_.data());
    const double inv = 1.0 / length;
    for (Cpx& c : chirpSpectrum_) c = {c.re * inv, c.im * inv};
    conv_.resize(static_cast<std::size_t>(length));
}

void ComplexFft::Forward(Cpx* data) {
    if (inner_)
        ForwardBluestein(data);
    else
        ForwardDirect(data);
}

void ComplexFft::Backward(Cpx* data) {
    for (int k = 0; k < n_; ++k) data[k].im = -data[k].im;
    Forward(data);
    for (int k = 0; k < n_; ++k) data[k].im = -data[k].im;
}

void ComplexFft::ForwardDirect(Cpx* data) {
    Cpx* in = data;
    Cpx* out = scratch_.data();
    for (const Pass& pass : passes_) {
        const Cpx* wa = twiddles_.data() + pass.twiddle;
        switch (pass.radix) {
        case 2: Pass2(pass.ido, pass.l1, in, out, wa); break;
        case 3: Pass3(pass.ido, pass.l1, in, out, wa); break;
        case 4: Pass4(pass.ido, pass.l1, in, out, wa); break;
        case 5: Pass5(pass.ido, pass.l1, in, out, wa); break;
        default:
            PassGeneric(pass.radix, pass.ido, pass.l1, in, out, wa, roots_.data() + pass.roots,
                        pairs_.data());
            break;
        }
        Cpx* t = in;
        in = out;
        out = t;
    }
    if (in != data) std::memcpy(data, in, sizeof(Cpx) * static_cast<std::size_t>(n_));
}

void ComplexFft::ForwardBluestein(Cpx* data) {
    const int length = inner_->Length();
    Cpx* conv = conv_.data();
    for (int k = 0; k < n_; ++k) conv[k] = Mul(data[k], chirp_[static_cast<std::size_t>(k)]);
    for (int k = n_; k < length; ++k) conv[k] = {0.0, 0.0};
    inner_->Forward(conv);
    // Conjugating around a forward transform gives the inverse one.
    for (int k = 0; k < length; ++k) {
        const Cpx c = Mul(conv[k], chirpSpectrum_[static_cast<std::size_t>(k)]);
        conv[k] = {c.re, -c.im};
    }
    inner_->Forward(conv);
    for (int k = 0; k < n_; ++k)
        data[k] = Mul({conv[k].re, -conv[k].im}, chirp_[static_cast<std::size_t>(k)]);
}

}  // namespace fft
