#include "calc/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include "text/utf8.h"

namespace nimbo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// to_chars in the general format already drops trailing zeros; what is left
// is the locale's separator and the exponent letter of the original display.
std::string Localised(const char* first, const char* last, char decimalSeparator)
{
    std::string out(first, last);
    for (char& c : out) {
        if (c == '.')
            c = decimalSeparator;
        else if (c == 'e')
            c = 'E';
    }
    return out;
}

// Digits of a decimal number in the plain form from_chars reads: the
// mantissa's whole and fraction digits and the exponent, sign kept apart.
struct DecimalParts {
    bool negative = false;
    std::string whole, fraction, exponent;  // exponent may carry its own '-'

    std::string plain() const
    {
        std::string s = whole.empty() ? "0" : whole;
        if (!fraction.empty())
            s += '.' + fraction;
        if (!exponent.empty())
            s += 'e' + exponent;
        return s;
    }

    // Order of magnitude of the first significant digit, to tell an overflow
    // from an underflow when from_chars reports the value out of range.
    bool tooLarge() const
    {
        long long e = 0;
        const char* end = exponent.data() + exponent.size();
        if (std::from_chars(exponent.data(), end, e).ec == std::errc::result_out_of_range)
            e = exponent.starts_with('-') ? -1'000'000 : 1'000'000;
        const std::size_t lead = whole.find_first_not_of('0');
        if (lead != std::string::npos)
            return e + static_cast<long long>(whole.size() - lead) - 1 > 0;
        const std::size_t leadFraction = fraction.find_first_not_of('0');
        return leadFraction != std::string::npos && e - static_cast<long long>(leadFraction) - 1 > 0;
    }
};

// How a number may be written where it is read.
struct NumberSyntax {
    std::string_view separators;       // decimal separators, at most one taken
    std::string_view exponentLetters;  // an exponent counts only with digits after it
};

// Reads the number at the start of t into parts: optional sign, digits with
// at most one separator, optional exponent. Returns where the number ends;
// 0 when t starts with no digits (before or after the separator).
std::size_t ScanNumber(std::string_view t, const NumberSyntax& syntax, DecimalParts& parts)
{
    auto digits = [&t](std::size_t& i, std::string& out) {
        while (i < t.size() && IsDigit(t[i]))
            out += t[i++];
    };
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        parts.negative = t[i++] == '-';
    digits(i, parts.whole);
    if (i < t.size() && syntax.separators.find(t[i]) != std::string_view::npos) {
        ++i;
        digits(i, parts.fraction);
    }
    if (parts.whole.empty() && parts.fraction.empty())
        return 0;
    if (i < t.size() && syntax.exponentLetters.find(t[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string exponent;
        if (j < t.size() && (t[j] == '+' || t[j] == '-'))
            if (t[j++] == '-')
                exponent += '-';
        const std::size_t digitsFrom = j;
        digits(j, exponent);
        if (j > digitsFrom) {
            parts.exponent = std::move(exponent);
            i = j;
        }
    }
    return i;
}

enum class Conversion { Ok, Overflow, Underflow };

Conversion Convert(const DecimalParts& parts, double& value)
{
    const std::string s = parts.plain();
    double v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        return parts.tooLarge() ? Conversion::Overflow : Conversion::Underflow;
    value = parts.negative ? -v : v;
    return Conversion::Ok;
}

}  // namespace

double Lg(double x) { return std::log(x) / std::log(10.0); }

double Round(double v, int decimals)
{
    // Beyond 2^53 every double is a whole number already.
    if (!std::isfinite(v) || std::fabs(v) >= 9007199254740992.0)
        return v;
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    // to_chars in the fixed format rounds the exact binary value and sends
    // exact halves to the even neighbour, which is the rule of the display.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    double r = v;
    std::from_chars(buf, written.ptr, r);
    return r;
}

std::string NumberText(double v, char decimalSeparator)
{
    if (!std::isfinite(v))
        return "-";
    if (v == 0)
        return "0";  // also for -0: a rounded "-0" means nothing to the reader
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return Localised(buf, written.ptr, decimalSeparator);
}

std::string SingleText(float v, char decimalSeparator)
{
    if (!std::isfinite(v))
        return "-";
    if (v == 0)
        return "0";
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
    return Localised(buf, written.ptr, decimalSeparator);
}

std::string ValueText(Value v, char decimalSeparator)
{
    return v.single ? SingleText(static_cast<float>(v.v), decimalSeparator)
                    : NumberText(v.v, decimalSeparator);
}

TypedNumber ParseTypedNumber(std::string_view text)
{
    const std::string_view t = TrimSpace(text);
    if (t.empty())
        return {TypedStatus::Empty, 0};
    DecimalParts parts;
    const std::size_t end = ScanNumber(t, {".,", "eE"}, parts);
    if (end == 0 || end != t.size())
        return {TypedStatus::NotANumber, 0};
    double value = 0;
    if (Convert(parts, value) != Conversion::Ok)
        return {TypedStatus::OutOfRange, 0};
    return {TypedStatus::Number, value};
}

std::optional<double> ParseTyped(std::string_view text)
{
    const TypedNumber n = ParseTypedNumber(text);
    if (n.status != TypedStatus::Number)
        return std::nullopt;
    return n.value;
}

double LeadingNumber(std::string_view text)
{
    std::string t;
    for (char c : text)
        if (!IsSpace(c))
            t += c;
    DecimalParts parts;
    if (ScanNumber(t, {".", "eEdD"}, parts) == 0)
        return 0;

    double value = 0;
    switch (Convert(parts, value)) {
    case Conversion::Ok:
        return value;
    case Conversion::Overflow:
        return parts.negative ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
    case Conversion::Underflow:
        break;
    }
    return parts.negative ? -0.0 : 0.0;
}

}  // namespace nimbo
