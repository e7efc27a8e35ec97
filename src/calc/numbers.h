#pragma once
// The number rules every result text follows: decimal logarithm, rounding
// with exact halves to the even neighbour, and the decimal text of a value.
#include <optional>
#include <string>
#include <string_view>

namespace nimbo {

// A computed value remembers whether it is single precision: a catalogue
// value (or a product of catalogue values) is written with up to 7
// significant digits, so that a stored 1.1f reads "1.1", a double with up
// to 15.
struct Value {
    double v = 0;
    bool single = false;
    static Value Single(float f) { return {static_cast<double>(f), true}; }
    static Value Double(double d) { return {d, false}; }
};

double Lg(double x);                   // ln x / ln 10
double Round(double v, int decimals);  // exact binary value, ties to even

// Decimal text: the given separator, no grouping, no trailing zeros, no
// separator for whole numbers. Very large and very small magnitudes take an
// exponent ("1E-05", "1,5E+20"). A value that is not finite reads "-".
std::string NumberText(double v, char decimalSeparator);        // up to 15 digits
std::string SingleText(float v, char decimalSeparator);         // up to 7 digits
std::string ValueText(Value v, char decimalSeparator);

enum class TypedStatus { Number, Empty, NotANumber, OutOfRange };

struct TypedNumber {
    TypedStatus status = TypedStatus::Empty;
    double value = 0;  // only when status is Number
};

// A number typed by the user: blanks around it, optional sign, digits with at
// most one decimal separator ('.' or ',' whatever the locale), optional
// exponent. Anything else is not a number; a number beyond what a double
// holds (overflow or underflow) is out of range.
TypedNumber ParseTypedNumber(std::string_view text);
// The same reduced to the value: nullopt unless status is Number.
std::optional<double> ParseTyped(std::string_view text);

// The leading number of a text, as the slot length is read for the flat-jet
// check: blanks anywhere are skipped, '.' is the only separator, reading stops
// at the first character that cannot continue the number; 0 if none. A number
// too large for a double gives an infinity of its sign.
double LeadingNumber(std::string_view text);

}  // namespace nimbo
