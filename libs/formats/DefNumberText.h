#pragma once
// Numbers as the editor writes them into its cells and reads them from typed text. Always the
// C locale's forms, whatever the user's locale: a point for decimals, no grouping.

#include <cstdint>
#include <string>
#include <string_view>

namespace slipway {

// Signed decimal: "-12".
std::string formatDefInt(std::int32_t value);
// Five significant digits in the general format: fixed notation where the exponent is from -5
// to 4, exponential otherwise ("1.5", "-0", "1e+10", "1.2346e-07", "inf", "nan").
std::string formatDefFloat(float value);

// The leading decimal integer of `text`: white space, an optional sign, then digits up to the
// first other character. 0 when there are no digits; out-of-range values saturate.
std::int32_t readLeadingInt(std::string_view text);
// The leading decimal floating-point number of `text`: white space, an optional sign, digits
// with an optional point, an optional exponent. 0 (unsigned) when nothing is readable. A value too
// large for 32 bits becomes an infinity, one too small a zero, keeping the sign.
float readLeadingFloat(std::string_view text);

}  // namespace slipway
