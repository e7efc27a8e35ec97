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
// separator for whole numbers.
std::string NumberText(double v, char decimalSeparator);        // up to 15 digits
std::string SingleText(float v, char decimalSeparator);         // up to 7 digits
std::string ValueText(Value v, char decimalSeparator);

// A number typed by the user: blanks around it, optional sign, digits with at
// most one decimal separator ('.' or ',' whatever the locale), optional
// exponent. nullopt for anything else, and for values that are not finite.
std::optional<double> ParseTyped(std::string_view text);

// The leading number of a text, as the slot length is read for the flat-jet
// check: blanks anywhere are skipped, '.' is the only separator, reading stops
// at the first character that cannot continue the number; 0 if none.
double LeadingNumber(std::string_view text);

}  // namespace nimbo
