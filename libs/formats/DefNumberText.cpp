#include "formats/DefNumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace slipway {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips white space and reads a sign; returns true for a minus sign.
bool skipSpaceAndSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

}  // namespace

std::string formatDefInt(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatDefFloat(float value) {
    // to_chars with a precision writes exactly what printf's "%.5g" writes in the C locale.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 5);
    return std::string(buffer, result.ptr);
}

std::int32_t readLeadingInt(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipSpaceAndSign(text, i);
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit)
            value = kLimit;  // saturate; further digits cannot bring it back
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}

float readLeadingFloat(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipSpaceAndSign(text, i);
    const std::size_t start = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++intDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return 0.0f;  // a sign alone is no number
    std::size_t end = i;
    // An exponent counts only when digits follow its letter and sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            end = j;
        }
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + end;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double's range. It overflowed when the first significant digit, moved by
        // the exponent, stands left of the point; otherwise it underflowed.
        long long firstDigitPower = 0;  // the power of ten of the first non-zero digit, plus 1
        bool nonZero = false;
        long long zeros = 0;
        for (std::size_t k = start; k < i && !nonZero; ++k) {
            if (text[k] == '.')
                continue;
            if (text[k] == '0') {
                ++zeros;
            } else {
                nonZero = true;
            }
        }
        if (nonZero)
            firstDigitPower = static_cast<long long>(intDigits) - zeros;
        long long exponent = 0;
        if (end > i) {
            std::size_t d = i + 1;
            const bool exponentNegative = text[d] == '-';
            if (text[d] == '+' || text[d] == '-')
                ++d;
            for (; d < end; ++d)
                exponent = std::min(exponent * 10 + (text[d] - '0'), 1000000LL);
            if (exponentNegative)
                exponent = -exponent;
        }
        value = nonZero && firstDigitPower + exponent > 0 ? std::numeric_limits<double>::infinity()
                                                          : 0.0;
    }
    if (negative)
        value = -value;
    // Narrowing: beyond the largest float plus half a step rounds to infinity.
    constexpr double kFloatOverflow = 0x1.ffffffp127;
    if (std::fabs(value) >= kFloatOverflow) {
        return value < 0 ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

}  // namespace slipway
