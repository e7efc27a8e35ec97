#pragma once
// What must hold for any calculation: results that are numbers (or the
// defined "-", "<10", ">100") and a record of exactly 15 columns, or a clear
// message and nothing else changed.
//
// The input is split like this, missing bytes reading as 0:
//   byte 0  bit 0 variant 2, bit 1 Frm_KSD visible, bit 2 Frm_RegForm visible,
//           bit 3 Frm_RegRash visible, bit 4 Opt_RegForm1 hidden,
//           bit 5 a model chosen, bit 6 a size chosen, bit 7 decimal comma
//   byte 1  plenum option b % 4, jet-form option b / 4 % 5,
//           regulator position b / 20 % 6 (0 = none selected)
//   byte 2  bit 7 raw catalogue bytes follow, bit 6 Frm_Rzmr visible,
//           bit 5 Frm_Dlina visible, bits 0..4 which model names the
//           generated catalogue uses
//   byte 3  row (modulo the record count + 2, so 0 and one past the end occur)
//   byte 4  size index (modulo the row's lines + 2)
//   then the texts of TxtBx_L, TxtBx_V, TxtBx_A, TxtBx_B, TxtBx_Dlina, each
//   ended by the byte 0xFF (never part of UTF-8)
//   then either the catalogue file itself (raw) or changes to a small
//   generated catalogue, each: line byte, two position bytes, then the value
//   (texts: a vocabulary index or a length and raw bytes; int16 fields: two
//   bytes; floats: a special-value index or four bytes of a float).
#include <string>
#include <string_view>

namespace nimbo::fuzz {

inline constexpr unsigned char kTextEnd = 0xFF;

// What an input led to, for tests that must know their inputs reach the
// calculation and not only the catalogue loader.
struct CalculationTrace {
    bool catalogueLoaded = false;
    bool calculated = false;  // the outcome was ok
    std::string message;      // the outcome's message when it was not
};

// Empty when every rule holds, otherwise the first broken rule.
std::string CheckCalculation(std::string_view input, CalculationTrace* trace = nullptr);

// The generated catalogue without changes (Windows-1251 bytes).
std::string GeneratedCatalogueBytes(unsigned modelChoice = 0);

}  // namespace nimbo::fuzz
