// The classic number and text rules the programs' texts are built with.
//
// The status lines, the branding style string and the window arithmetic were written for a
// classic forms toolkit; these helpers reproduce its number formatting, its leading-number
// parse and its half-to-even rounding so the texts and positions come out the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// A number as text: its decimal digits, a minus sign when negative, no blanks ("5", "-5").
std::string NumberText(std::int64_t value);

// A number with its sign blank: one blank in the sign position when not negative (" 5"),
// the minus sign otherwise ("-5").
std::string SignBlankText(std::int64_t value);

// Leading-number parse of a text, as the classic parse reads a number:
// - leading blanks (space, tab, CR, LF) are skipped;
// - then one optional sign, "+" or "-", directly followed by the digits;
// - the decimal digits that follow count, and reading stops at the first character that is
//   not a digit. Only whole numbers are read: a decimal point, an exponent letter, a blank
//   or any other character ends the number ("1A" gives 1, "1 2" gives 1, ".5" gives 0);
// - no digits at all give 0 ("", "  ", "-", "A1").
// A number beyond the 32-bit range saturates at its limit instead of wrapping.
std::int32_t LeadingNumber(std::string_view text);

// The integer nearest to `value`; an exact half goes to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Values beyond the 32-bit range saturate at its limit; NaN gives 0.
std::int32_t RoundHalfEven(double value);

// Hexadecimal digits in upper case, without leading zeros ("0", "3F8", "FFFF").
std::string HexText(std::uint32_t value);

// The last two / four characters of "00" / "0000" + the hexadecimal of the value, that is
// the low 8 / 16 bits as two / four upper-case digits (Hex2(10) = "0A", Hex4(1016) = "03F8",
// Hex4(0xFFFF) = "FFFF"). A negative value is taken in two's complement, as the classic hex
// conversion shows it, so Hex2(-1) = "FF" and Hex4(-2) = "FFFE".
std::string Hex2(std::int64_t value);
std::string Hex4(std::int64_t value);

}  // namespace qm
