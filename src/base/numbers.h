#pragma once
// Number helpers with the rules the stored files and texts rely on.
#include <cstdint>
#include <string>
#include <string_view>

namespace harlune {

// Rounds to the nearest integer; exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t roundHalfEven(double value);

// Reads a whole decimal integer: optional leading blanks, an optional sign and digits, nothing
// after them; "$1F" and "0x1F" are read as hexadecimal. Anything else, or a value outside the
// 32-bit range, gives `fallback`.
int toIntDef(std::string_view text, int fallback);
// True when toIntDef would read a number.
bool isInteger(std::string_view text);

// The leading decimal number of a text: optional blanks, sign, digits and one decimal point
// ("3.52a" -> 3.52, "abc" -> 0).
double leadingNumber(std::string_view text);

// The leading integer of a text, or `fallback` when the text does not start with a digit or
// a sign followed by one ("12/15" -> 12).
int leadingInt(std::string_view text, int fallback);

// Fixed-point text with a point as decimal separator ("8.00").
std::string formatFixed(double value, int decimals);

} // namespace harlune
