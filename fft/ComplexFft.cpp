// Self-sorting (Stockham) mixed-radix passes of radix 2, 3, 4, 5, 8, 16 and any odd prime, and the
// Bluestein convolution for lengths with large prime factors.
//
// Layout: complex values are interleaved (re, im) doubles; the butterflies hold one value per SSE2
// register (low lane re, high lane im). A pass of radix p over l1 finished sub-transforms reads
// CC(i, j, k) = cc[i + ido·(j + p·k)] and writes CH(i, k, j) = ch[i + ido·(k + l1·j)], ping-ponging
// between the caller's buffer and scratch, so no reordering pass is needed. The twiddles of a pass are
// stored in the order the inner loop reads them, each split in two for a shuffle-free multiply:
// w = e^(−2πi·j·l1·i/n) is wa[2·((i − 1)·(p − 1) + j − 1)] = (Re w, Re w) and the next (−Im w, Im w)
// (or plain when the plan keeps its memory small, see MulTwiddle). Pass order: odd factors first, powers of two last; the last pass (ido = 1)
// has no twiddles.
#include "fft/ComplexFft.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace fft {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

using V = __m128d;  // one complex value: low lane re, high lane im

inline V Load(const Cpx* p) { return _mm_loadu_pd(&p->re); }
inline void Store(Cpx* p, V v) { _mm_storeu_pd(&p->re, v); }
inline V Swap(V a) { return _mm_shuffle_pd(a, a, 1); }  // (im, re)
// A constant (lo, hi) in lane order, e.g. a sign mask or a coefficient with its sign folded in.
inline V Pair(double lo, double hi) { return _mm_set_pd(hi, lo); }
inline V Splat(double v) { return _mm_set1_pd(v); }

// a·w as complex numbers.
inline V Mul(V a, V w) {
    const V wr = _mm_unpacklo_pd(w, w);
    const V wi = _mm_unpackhi_pd(w, w);
    const V cross = _mm_mul_pd(Swap(a), wi);                                    // (ai·wi, ar·wi)
    return _mm_add_pd(_mm_mul_pd(a, wr), _mm_xor_pd(cross, Pair(-0.0, 0.0)));  // (−ai·wi, ar·wi)
}
// a·w for w stored split as w[0] = (wr, wr), w[1] = (−wi, wi): no shuffles of w needed.
inline V MulSplit(V a, const Cpx* w) {
    return _mm_add_pd(_mm_mul_pd(a, Load(w)), _mm_mul_pd(Swap(a), Load(w + 1)));
}
// a·w for a twiddle of width W: 2 = split as above (faster multiply), 1 = plain (half the memory,
// which planning pays for in page faults; used for the large Bluestein convolutions).
template <int W>
inline V MulTwiddle(V a, const Cpx* w) {
    if constexpr (W == 2)
        return MulSplit(a, w);
    else
        return Mul(a, Load(w));
}
// −i·a.
inline V MulMinusI(V a) { return _mm_xor_pd(Swap(a), Pair(0.0, -0.0)); }

// Calls body(in, out, w, twiddled) for every butterfly of a pass: `in` points at CC(i, 0, k), `out`
// at CH(i, k, 0), `w` at the p − 1 twiddles of i; i = 0 needs none, so it gets std::false_type.
template <int P, int W, class Body>
inline void EachButterfly(int ido, int l1, const Cpx* __restrict cc, Cpx* __restrict ch,
                          const Cpx* __restrict wa, Body body) {
    for (int k = 0; k < l1; ++k) {
        const Cpx* in = cc + static_cast<std::ptrdiff_t>(ido) * P * k;
        Cpx* out = ch + static_cast<std::ptrdiff_t>(ido) * k;
        body(in, out, wa, std::false_type{});
        const Cpx* w = wa;
        for (int i = 1; i < ido; ++i, w += W * (P - 1)) body(in + i, out + i, w, std::true_type{});
    }
}

// Stores y, multiplied by the twiddle w[j] when the butterfly is twiddled.
template <bool Twiddled, int W>
inline void Put(Cpx* out, V y, const Cpx* w, int j) {
    if constexpr (Twiddled)
        Store(out, MulTwiddle<W>(y, w + W * j));
    else
        Store(out, y);
}

template <int W>
void Pass2(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    EachButterfly<2, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        const V a = Load(in), b = Load(in + is);
        Store(out, _mm_add_pd(a, b));
        Put<T, W>(out + os, _mm_sub_pd(a, b), w, 0);
    });
}

template <int W>
void Pass3(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    const double c = -0.5, s = -0.86602540378443864676372317075294;
    EachButterfly<3, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        const V c0 = Load(in), c1 = Load(in + is), c2 = Load(in + 2 * is);
        const V t1 = _mm_add_pd(c1, c2), t2 = _mm_sub_pd(c1, c2);
        const V ca = _mm_add_pd(c0, _mm_mul_pd(Splat(c), t1));
        const V cb = _mm_mul_pd(Swap(t2), Pair(-s, s));  // i·s·t2
        Store(out, _mm_add_pd(c0, t1));
        Put<T, W>(out + os, _mm_add_pd(ca, cb), w, 0);
        Put<T, W>(out + 2 * os, _mm_sub_pd(ca, cb), w, 1);
    });
}

template <int W>
void Pass4(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    EachButterfly<4, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        const V x0 = Load(in), x1 = Load(in + is), x2 = Load(in + 2 * is), x3 = Load(in + 3 * is);
        const V t1 = _mm_add_pd(x0, x2), t2 = _mm_sub_pd(x0, x2);
        const V t3 = _mm_add_pd(x1, x3), t4 = MulMinusI(_mm_sub_pd(x1, x3));
        Store(out, _mm_add_pd(t1, t3));
        if constexpr (T) {
            Store(out + os, MulTwiddle<W>(_mm_add_pd(t2, t4), w));
            Store(out + 2 * os, MulTwiddle<W>(_mm_sub_pd(t1, t3), w + W));
            Store(out + 3 * os, MulTwiddle<W>(_mm_sub_pd(t2, t4), w + 2 * W));
        } else {
            Store(out + os, _mm_add_pd(t2, t4));
            Store(out + 2 * os, _mm_sub_pd(t1, t3));
            Store(out + 3 * os, _mm_sub_pd(t2, t4));
        }
    });
}

template <int W>
void Pass5(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    const double c1 = 0.3090169943749474241022934171828191, s1 = -0.9510565162951535721164393333793821,
                 c2 = -0.8090169943749474241022934171828191, s2 = -0.5877852522924731291687059546390728;
    EachButterfly<5, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        const V x0 = Load(in), x1 = Load(in + is), x2 = Load(in + 2 * is), x3 = Load(in + 3 * is),
                x4 = Load(in + 4 * is);
        const V t1 = _mm_add_pd(x1, x4), t4 = Swap(_mm_sub_pd(x1, x4));
        const V t2 = _mm_add_pd(x2, x3), t3 = Swap(_mm_sub_pd(x2, x3));
        Store(out, _mm_add_pd(x0, _mm_add_pd(t1, t2)));
        const V ca1 = _mm_add_pd(x0, _mm_add_pd(_mm_mul_pd(Splat(c1), t1), _mm_mul_pd(Splat(c2), t2)));
        const V ca2 = _mm_add_pd(x0, _mm_add_pd(_mm_mul_pd(Splat(c2), t1), _mm_mul_pd(Splat(c1), t2)));
        // cb1 = i·(s1·t4 + s2·t3), cb2 = i·(s2·t4 − s1·t3); t3, t4 are already swapped.
        const V cb1 = _mm_add_pd(_mm_mul_pd(Pair(-s1, s1), t4), _mm_mul_pd(Pair(-s2, s2), t3));
        const V cb2 = _mm_sub_pd(_mm_mul_pd(Pair(-s2, s2), t4), _mm_mul_pd(Pair(-s1, s1), t3));
        if constexpr (T) {
            Store(out + os, MulTwiddle<W>(_mm_add_pd(ca1, cb1), w));
            Store(out + 2 * os, MulTwiddle<W>(_mm_add_pd(ca2, cb2), w + W));
            Store(out + 3 * os, MulTwiddle<W>(_mm_sub_pd(ca2, cb2), w + 2 * W));
            Store(out + 4 * os, MulTwiddle<W>(_mm_sub_pd(ca1, cb1), w + 3 * W));
        } else {
            Store(out + os, _mm_add_pd(ca1, cb1));
            Store(out + 2 * os, _mm_add_pd(ca2, cb2));
            Store(out + 3 * os, _mm_sub_pd(ca2, cb2));
            Store(out + 4 * os, _mm_sub_pd(ca1, cb1));
        }
    });
}

// Two radix-4 butterflies on the even and odd inputs joined by e^(−2πik/8).
template <int W>
void Pass8(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    const V r = Splat(0.70710678118654752440084436210484903928);
    EachButterfly<8, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        const V x0 = Load(in), x4 = Load(in + 4 * is), x2 = Load(in + 2 * is), x6 = Load(in + 6 * is);
        const V a0 = _mm_add_pd(x0, x4), a1 = _mm_sub_pd(x0, x4);
        const V a2 = _mm_add_pd(x2, x6), a3 = MulMinusI(_mm_sub_pd(x2, x6));
        const V e0 = _mm_add_pd(a0, a2), e2 = _mm_sub_pd(a0, a2);
        const V e1 = _mm_add_pd(a1, a3), e3 = _mm_sub_pd(a1, a3);
        const V x1 = Load(in + is), x5 = Load(in + 5 * is), x3 = Load(in + 3 * is), x7 = Load(in + 7 * is);
        const V b0 = _mm_add_pd(x1, x5), b1 = _mm_sub_pd(x1, x5);
        const V b2 = _mm_add_pd(x3, x7), b3 = MulMinusI(_mm_sub_pd(x3, x7));
        const V o0 = _mm_add_pd(b0, b2), o2 = MulMinusI(_mm_sub_pd(b0, b2));
        const V p1 = _mm_add_pd(b1, b3), p3 = _mm_sub_pd(b1, b3);
        const V o1 = _mm_mul_pd(r, _mm_add_pd(p1, MulMinusI(p1)));  // e^(−iπ/4)·p1
        const V o3 = _mm_mul_pd(r, _mm_sub_pd(MulMinusI(p3), p3));  // e^(−3iπ/4)·p3
        Store(out, _mm_add_pd(e0, o0));
        Put<T, W>(out + os, _mm_add_pd(e1, o1), w, 0);
        Put<T, W>(out + 2 * os, _mm_add_pd(e2, o2), w, 1);
        Put<T, W>(out + 3 * os, _mm_add_pd(e3, o3), w, 2);
        Put<T, W>(out + 4 * os, _mm_sub_pd(e0, o0), w, 3);
        Put<T, W>(out + 5 * os, _mm_sub_pd(e1, o1), w, 4);
        Put<T, W>(out + 6 * os, _mm_sub_pd(e2, o2), w, 5);
        Put<T, W>(out + 7 * os, _mm_sub_pd(e3, o3), w, 6);
    });
}

// e^(−2πik/16) for k = 1 … 9, split as in the twiddle tables.
constexpr double kC16 = 0.92387953251128675612818318939678829, kS16 = 0.38268343236508977172845998403039887,
                 kR16 = 0.70710678118654752440084436210484903928;
const Cpx kInner16[18] = {{kC16, kC16},   {kS16, -kS16}, {kR16, kR16},   {kR16, -kR16}, {kS16, kS16},
                          {kC16, -kC16},  {0, 0},        {1, -1},        {-kS16, -kS16}, {kC16, -kC16},
                          {-kR16, -kR16}, {kR16, -kR16}, {-kC16, -kC16}, {kS16, -kS16}, {-1, -1},
                          {0, 0},         {-kC16, -kC16}, {-kS16, kS16}};

// Radix 4 by 4: radix-4 butterflies on the inputs j, j + 4, j + 8, j + 12, the inner twiddles
// e^(−2πi·j·m/16), then radix-4 butterflies across j. Output m + 4q lands in place m + 4q.
template <int W>
void Pass16(int ido, int l1, const Cpx* cc, Cpx* ch, const Cpx* wa) {
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    EachButterfly<16, W>(ido, l1, cc, ch, wa, [=](const Cpx* in, Cpx* out, const Cpx* w, auto tw) {
        constexpr bool T = decltype(tw)::value;
        V y[16];  // y[4m + j]: output m of the j-th first-stage butterfly, twiddled
#pragma GCC unroll 4
        for (int j = 0; j < 4; ++j) {
            const V x0 = Load(in + j * is), x1 = Load(in + (j + 4) * is), x2 = Load(in + (j + 8) * is),
                    x3 = Load(in + (j + 12) * is);
            const V t1 = _mm_add_pd(x0, x2), t2 = _mm_sub_pd(x0, x2);
            const V t3 = _mm_add_pd(x1, x3), t4 = MulMinusI(_mm_sub_pd(x1, x3));
            y[j] = _mm_add_pd(t1, t3);
            y[4 + j] = _mm_add_pd(t2, t4);
            y[8 + j] = _mm_sub_pd(t1, t3);
            y[12 + j] = _mm_sub_pd(t2, t4);
        }
#pragma GCC unroll 3
        for (int m = 1; m < 4; ++m)
#pragma GCC unroll 3
            for (int j = 1; j < 4; ++j) y[4 * m + j] = MulSplit(y[4 * m + j], kInner16 + 2 * (j * m - 1));
#pragma GCC unroll 4
        for (int m = 0; m < 4; ++m) {
            const V t1 = _mm_add_pd(y[4 * m], y[4 * m + 2]), t2 = _mm_sub_pd(y[4 * m], y[4 * m + 2]);
            const V t3 = _mm_add_pd(y[4 * m + 1], y[4 * m + 3]);
            const V t4 = MulMinusI(_mm_sub_pd(y[4 * m + 1], y[4 * m + 3]));
            if (m == 0)
                Store(out, _mm_add_pd(t1, t3));
            else
                Put<T, W>(out + m * os, _mm_add_pd(t1, t3), w, m - 1);
            Put<T, W>(out + (m + 4) * os, _mm_add_pd(t2, t4), w, m + 3);
            Put<T, W>(out + (m + 8) * os, _mm_sub_pd(t1, t3), w, m + 7);
            Put<T, W>(out + (m + 12) * os, _mm_sub_pd(t2, t4), w, m + 11);
        }
    });
}

// Any odd radix p: sums and differences of the mirrored inputs halve the multiplications.
// `cosines` and `sines` hold the h × h = ((p − 1)/2)² broadcast values cos and sin of −2π·m·u/p
// (row m − 1, column u − 1); `pairs` has room for p − 1 values.
template <int W>
void PassGeneric(int p, int ido, int l1, const Cpx* __restrict cc, Cpx* __restrict ch,
                 const Cpx* __restrict wa, const Cpx* __restrict cosines,
                 const Cpx* __restrict sines, Cpx* __restrict pairs) {
    const int h = (p - 1) / 2;
    const std::ptrdiff_t is = ido, os = static_cast<std::ptrdiff_t>(ido) * l1;
    Cpx* sums = pairs;
    Cpx* diffs = pairs + h;
    for (int k = 0; k < l1; ++k) {
        for (int i = 0; i < ido; ++i) {
            const Cpx* in = cc + i + static_cast<std::ptrdiff_t>(ido) * p * k;
            Cpx* out = ch + i + static_cast<std::ptrdiff_t>(ido) * k;
            const V c0 = Load(in);
            V y0 = c0;
            for (int u = 1; u <= h; ++u) {
                const V a = Load(in + u * is), b = Load(in + (p - u) * is);
                const V s = _mm_add_pd(a, b);
                Store(sums + u - 1, s);
                Store(diffs + u - 1, Swap(_mm_sub_pd(a, b)));
                y0 = _mm_add_pd(y0, s);
            }
            Store(out, y0);
            const Cpx* cs = cosines;
            const Cpx* sn = sines;
            for (int m = 1; m <= h; ++m, cs += h, sn += h) {
                V a = c0, b = _mm_setzero_pd();
                for (int u = 0; u < h; ++u) {
                    a = _mm_add_pd(a, _mm_mul_pd(Load(cs + u), Load(sums + u)));
                    b = _mm_add_pd(b, _mm_mul_pd(Load(sn + u), Load(diffs + u)));
                }
                // b holds swapped lanes; output m is A + i·B, output p − m is A − i·B.
                const V ib = _mm_xor_pd(b, Pair(-0.0, 0.0));
                const V plus = _mm_add_pd(a, ib), minus = _mm_sub_pd(a, ib);
                if (i == 0) {
                    Store(out + m * os, plus);
                    Store(out + (p - m) * os, minus);
                } else {
                    const Cpx* w = wa + static_cast<std::ptrdiff_t>(i - 1) * W * (p - 1);
                    Store(out + m * os, MulTwiddle<W>(plus, w + W * (m - 1)));
                    Store(out + (p - m) * os, MulTwiddle<W>(minus, w + W * (p - m - 1)));
                }
            }
        }
    }
}
// Factors of n in pass order: odd primes descending, then the power of two as eights with one
// sixteen, four or two for the remainder (fewest passes); the last pass needs no twiddles.
std::vector<int> Factorise(int n) {
    std::vector<int> factors;
    int twos = 0;
    for (; n % 2 == 0; n /= 2) ++twos;
    if (twos >= 4 && twos % 3 == 1) {
        factors.push_back(16);
        twos -= 4;
    }
    for (; twos >= 3; twos -= 3) factors.push_back(8);
    if (twos == 2) factors.push_back(4);
    if (twos == 1) factors.push_back(2);
    for (int p = 3; p * p <= n; p += 2) {
        while (n % p == 0) {
            factors.push_back(p);
            n /= p;
        }
    }
    if (n > 1) factors.push_back(n);
    std::reverse(factors.begin(), factors.end());
    return factors;
}

// Per-element cost of one pass, in rough floating-point operations.
double RadixCost(int p) {
    switch (p) {
    case 2: return 5.0;
    case 3: return 8.0;
    case 4: return 8.5;
    case 5: return 10.0;
    case 8: return 7.0;
    case 16: return 6.5;
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

ComplexFft::ComplexFft(int n, bool forceDirect) : n_(n < 1 ? 1 : n), splitTwiddles_(!forceDirect) {
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
    const std::size_t width = splitTwiddles_ ? 2 : 1;
    std::size_t twiddleCount = 0, rootCount = 0;
    for (int l1 = 1, f = 0; f < static_cast<int>(factors.size()); l1 *= factors[static_cast<std::size_t>(f)], ++f) {
        const int p = factors[static_cast<std::size_t>(f)];
        twiddleCount += width * static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(n_ / (l1 * p) - 1);
        if (p > 5 && p % 2 == 1) rootCount += static_cast<std::size_t>((p - 1) / 2) * static_cast<std::size_t>(p - 1);
    }
    twiddles_.reserve(twiddleCount);
    // All n roots e^(−2πim/n) once, held in the scratch buffer until the first transform; the upper
    // half mirrors the lower, which halves the cos/sin calls that dominate planning.
    scratch_.resize(static_cast<std::size_t>(n_));
    Cpx* unit = scratch_.data();
    for (int m = 0; 2 * m <= n_; ++m) unit[m] = Root(m, n_);
    for (int m = n_ / 2 + 1; m < n_; ++m) unit[m] = {unit[n_ - m].re, -unit[n_ - m].im};
    int l1 = 1;
    std::size_t largestRadix = 0;
    for (int p : factors) {
        const int ido = n_ / (l1 * p);
        Pass pass{p, l1, ido, twiddles_.size(), roots_.size()};
        for (int i = 1; i < ido; ++i)
            for (int j = 1; j < p; ++j) {
                const Cpx w = unit[(static_cast<long long>(j) * l1 * i) % n_];
                if (width == 2) {
                    twiddles_.push_back({w.re, w.re});
                    twiddles_.push_back({-w.im, w.im});
                } else {
                    twiddles_.push_back(w);
                }
            }
        if (p > 5 && p % 2 == 1) {
            // Broadcast cosines (h rows of h) then sines of the generic butterfly.
            const int h = (p - 1) / 2;
            for (int part = 0; part < 2; ++part)
                for (int m = 1; m <= h; ++m)
                    for (int u = 1; u <= h; ++u) {
                        const Cpx r = Root(static_cast<long long>(m) * u, p);
                        const double v = part == 0 ? r.re : r.im;
                        roots_.push_back({v, v});
                    }
            if (static_cast<std::size_t>(p) > largestRadix) largestRadix = static_cast<std::size_t>(p);
        }
        passes_.push_back(pass);
        l1 *= p;
    }
    pairs_.resize(largestRadix);
}

void ComplexFft::PlanBluestein() {
    const int length = SmoothLength(2 * n_ - 1);
    inner_.reset(new ComplexFft(length, true));
    chirp_.resize(static_cast<std::size_t>(n_));
    const long long twoN = 2LL * n_;
    for (long long k = 0; k < n_; ++k) chirp_[static_cast<std::size_t>(k)] = Root((k * k) % twoN, twoN);
    // The conjugate chirp is symmetric (c[k] = c[L − k]), so is its spectrum: keep bins 0 … L/2.
    conv_.assign(static_cast<std::size_t>(length), Cpx{0.0, 0.0});
    conv_[0] = {chirp_[0].re, -chirp_[0].im};
    for (int k = 1; k < n_; ++k) {
        const Cpx c{chirp_[static_cast<std::size_t>(k)].re, -chirp_[static_cast<std::size_t>(k)].im};
        conv_[static_cast<std::size_t>(k)] = c;
        conv_[static_cast<std::size_t>(length - k)] = c;
    }
    inner_->Forward(conv_.data());
    const double inv = 1.0 / length;
    chirpSpectrum_.resize(static_cast<std::size_t>(length / 2 + 1));
    for (std::size_t k = 0; k < chirpSpectrum_.size(); ++k) chirpSpectrum_[k] = {conv_[k].re * inv, conv_[k].im * inv};
}

void ComplexFft::Forward(Cpx* data) {
    if (inner_) {
        ForwardBluestein(data, data);
    } else if (passes_.size() % 2 == 0) {
        ForwardDirect(data, data);  // the first pass writes to scratch, the last back to data
    } else {
        std::memcpy(scratch_.data(), data, sizeof(Cpx) * static_cast<std::size_t>(n_));
        ForwardDirect(scratch_.data(), data);
    }
}

void ComplexFft::Forward(const Cpx* in, Cpx* out) {
    if (inner_)
        ForwardBluestein(in, out);
    else
        ForwardDirect(in, out);
}

void ComplexFft::Backward(Cpx* data) {
    for (int k = 0; k < n_; ++k) data[k].im = -data[k].im;
    Forward(data);
    for (int k = 0; k < n_; ++k) data[k].im = -data[k].im;
}

void ComplexFft::ForwardDirect(const Cpx* in, Cpx* out) {
    if (passes_.empty()) {
        out[0] = in[0];
        return;
    }
    // Ping-pong between out and scratch, starting so that the last pass lands in out.
    Cpx* scratch = scratch_.data();
    Cpx* target = passes_.size() % 2 == 1 ? out : scratch;
    const Cpx* source = in;
    for (const Pass& pass : passes_) {
        RunPass(pass, source, target);
        source = target;
        target = target == out ? scratch : out;
    }
}

void ComplexFft::RunPass(const Pass& pass, const Cpx* in, Cpx* out) {
    if (splitTwiddles_)
        RunPassOfWidth<2>(pass, in, out);
    else
        RunPassOfWidth<1>(pass, in, out);
}

template <int W>
void ComplexFft::RunPassOfWidth(const Pass& pass, const Cpx* in, Cpx* out) {
    const Cpx* wa = twiddles_.data() + pass.twiddle;
    switch (pass.radix) {
    case 2: Pass2<W>(pass.ido, pass.l1, in, out, wa); break;
    case 3: Pass3<W>(pass.ido, pass.l1, in, out, wa); break;
    case 4: Pass4<W>(pass.ido, pass.l1, in, out, wa); break;
    case 5: Pass5<W>(pass.ido, pass.l1, in, out, wa); break;
    case 8: Pass8<W>(pass.ido, pass.l1, in, out, wa); break;
    case 16: Pass16<W>(pass.ido, pass.l1, in, out, wa); break;
    default: {
        const int h = (pass.radix - 1) / 2;
        const Cpx* cosines = roots_.data() + pass.roots;
        PassGeneric<W>(pass.radix, pass.ido, pass.l1, in, out, wa, cosines, cosines + h * h, pairs_.data());
        break;
    }
    }
}

void ComplexFft::ForwardBluestein(const Cpx* in, Cpx* out) {
    const int length = inner_->Length();
    Cpx* conv = conv_.data();
    const Cpx* chirp = chirp_.data();
    const Cpx* spectrum = chirpSpectrum_.data();
    const V conjugate = Pair(0.0, -0.0);
    for (int k = 0; k < n_; ++k) Store(conv + k, Mul(Load(in + k), Load(chirp + k)));
    for (int k = n_; k < length; ++k) conv[k] = {0.0, 0.0};
    inner_->Forward(conv);
    // Conjugating around a forward transform gives the inverse one.
    for (int k = 0; 2 * k <= length; ++k)
        Store(conv + k, _mm_xor_pd(Mul(Load(conv + k), Load(spectrum + k)), conjugate));
    for (int k = length / 2 + 1; k < length; ++k)
        Store(conv + k, _mm_xor_pd(Mul(Load(conv + k), Load(spectrum + length - k)), conjugate));
    inner_->Forward(conv);
    for (int k = 0; k < n_; ++k)
        Store(out + k, Mul(_mm_xor_pd(Load(conv + k), conjugate), Load(chirp + k)));
}

}  // namespace fft
