#include "core/NumberFormat.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumetra {

namespace {

// Enough for any double in fixed form; keeps a wild argument from asking for megabytes.
constexpr int MaxDigitsAsked = 400;

// |value| as decimal digits with the weight 10^Exponent on the first one.
struct Decimal {
    std::string Digits;
    int Exponent = 0;
};

// 17 significant digits represent every double; parsed without relying on the
// separator snprintf takes from the locale.
Decimal SignificantDigits(double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", magnitude);
    Decimal d;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.Digits += *p;
    if (*p == 'e') {
        ++p;
        const bool negative = *p == '-';
        if (*p == '-' || *p == '+')
            ++p;
        int e = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            e = e * 10 + (*p - '0');
        d.Exponent = negative ? -e : e;
    }
    return d;
}

// Keeps `count` leading digits (count may be 0 or less), rounding half away from zero.
Decimal RoundToDigits(Decimal d, int count) {
    if (count >= static_cast<int>(d.Digits.size()))
        return d;
    if (count < 0)
        return {"0", d.Exponent};
    const bool up = d.Digits[static_cast<std::size_t>(count)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        for (; i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9'; --i)
            d.Digits[static_cast<std::size_t>(i)] = '0';
        if (i >= 0) {
            ++d.Digits[static_cast<std::size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    if (d.Digits.empty())
        d.Digits = "0";
    return d;
}

bool IsZero(const Decimal& d) { return d.Digits.find_first_not_of('0') == std::string::npos; }

std::string ExponentForm(const Decimal& d, bool negative, char separator) {
    std::string mantissa = d.Digits;
    const std::size_t last = mantissa.find_last_not_of('0');
    mantissa.resize(last == std::string::npos ? 1 : last + 1);
    std::string text = negative ? "-" : "";
    text += mantissa[0];
    if (mantissa.size() > 1) {
        text += separator;
        text.append(mantissa, 1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.Exponent < 0 ? '-' : '+', std::abs(d.Exponent));
    return text + exponent;
}

// Digit of weight 10^power, zero outside the kept digits.
char DigitAt(const Decimal& d, int power) {
    const int index = d.Exponent - power;
    if (index < 0 || index >= static_cast<int>(d.Digits.size()))
        return '0';
    return d.Digits[static_cast<std::size_t>(index)];
}

} // namespace

char LocaleDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    if (conv == nullptr || conv->decimal_point == nullptr || conv->decimal_point[0] == '\0')
        return '.';
    return conv->decimal_point[0];
}

std::string FormatFixed(double value, int precision, int decimals) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, MaxDigitsAsked);
    decimals = std::clamp(decimals, 0, MaxDigitsAsked);
    const char separator = LocaleDecimalSeparator();

    Decimal d = value == 0.0 ? Decimal{"0", 0} : SignificantDigits(std::fabs(value));
    const int integerDigits = d.Exponent + 1;
    d = RoundToDigits(d, std::min(precision, integerDigits + decimals));
    const bool zero = IsZero(d);
    const bool negative = value < 0 && !zero;
    if (!zero && d.Exponent + 1 > precision)
        return ExponentForm(d, negative, separator);

    std::string text = negative ? "-" : "";
    if (zero || d.Exponent < 0) {
        text += '0';
    } else {
        for (int power = d.Exponent; power >= 0; --power)
            text += DigitAt(d, power);
    }
    if (decimals > 0) {
        text += separator;
        for (int k = 1; k <= decimals; ++k)
            text += zero ? '0' : DigitAt(d, -k);
    }
    return text;
}

} // namespace lumetra
