// The shared number-to-text rule for the INI file (15 digits) and the displays (6 and 4 digits).
#include "config/FormatSignificant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// `digits` significant digits of |value| and the decimal exponent after rounding.
void SignificantDigits(double value, int digits, std::string& mantissa, int& exponent) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(value));
    mantissa.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.') mantissa += *p;
    }
    exponent = *p == 'e' ? std::atoi(p + 1) : 0;
}

// log10(a), made exact for values that are a power of ten to 16 digits, so the branch taken does
// not depend on the last bit of the C library's log10.
double DecimalLog(double a) {
    double l = std::log10(a);
    double k = std::nearbyint(l);
    if (std::fabs(l - k) < 1e-9) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15e", a);
        if (std::strncmp(buf, "1.000000000000000e", 18) == 0) l = k;
    }
    return l;
}

void StripTrailingZeros(std::string& s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
}

std::string ThreeDigitExponent(int exponent) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return buf;
}

// The general form before the fix-ups: "100.", "0.125", "1.e+020", "1.5e-005".
std::string GeneralForm(double value, int digits) {
    std::string mantissa;
    int exponent = 0;
    SignificantDigits(value, digits, mantissa, exponent);
    std::string text = value < 0 ? "-" : "";
    if (exponent < -1 || exponent >= digits) {
        std::string fraction = mantissa.substr(1);
        StripTrailingZeros(fraction);
        text += mantissa[0];
        text += '.';
        text += fraction;
        text += ThreeDigitExponent(exponent);
    } else if (exponent == -1) {
        StripTrailingZeros(mantissa);
        text += "0.";
        text += mantissa;
    } else {
        std::string fraction = mantissa.substr(static_cast<size_t>(exponent) + 1);
        StripTrailingZeros(fraction);
        text += mantissa.substr(0, static_cast<size_t>(exponent) + 1);
        text += '.';
        text += fraction;
    }
    return text;
}

void FixUp(std::string& text) {
    if (!text.empty() && text.back() == '.') text += '0';
    size_t e = text.find(".e");
    if (e != std::string::npos) text.insert(e + 1, "0");
    size_t exp = text.find('e');
    if (exp != std::string::npos && exp + 1 < text.size() &&
        (text[exp + 1] == '+' || text[exp + 1] == '-')) {
        size_t first = exp + 2;
        size_t last = first;
        while (last + 1 < text.size() && text[last] == '0') ++last;  // keep one digit at least
        text.erase(first, last - first);
    }
}

}  // namespace

std::string FormatSignificant(double value, int digits) {
    if (value == 0.0) return "0.0";
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (digits < 1) digits = 1;
    if (digits > 40) digits = 40;  // beyond double's precision; keeps the buffers bounded
    int e = static_cast<int>(DecimalLog(std::fabs(value)));  // truncated toward zero
    if (e >= -3 && e <= -1) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%.*f", digits - e, value);
        std::string text = buf;
        while (text.size() > 3 && text.back() == '0') text.pop_back();
        return text;
    }
    std::string text = GeneralForm(value, digits);
    FixUp(text);
    return text;
}
