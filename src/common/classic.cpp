#include "common/classic.h"

#include <cmath>
#include <limits>

namespace qm {

namespace {

// The low `digits` hex digits of the value's two's complement.
std::string LowHexDigits(std::int64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint64_t>(value);
    std::string out(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kDigits[bits & 0xF];
        bits >>= 4;
    }
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string NumberText(std::int64_t value) { return std::to_string(value); }

std::string SignBlankText(std::int64_t value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::int32_t LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so the 32-bit minimum is reachable without overflow.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMax + 1) magnitude = kMax + 1;  // saturated; keep reading digits
    }
    std::int64_t result = negative ? -magnitude : magnitude;
    if (result > kMax) result = kMax;
    if (result < kMin) result = kMin;
    return static_cast<std::int32_t>(result);
}

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    double lower = std::floor(value);
    double fraction = value - lower;  // exact for doubles in the 32-bit range
    double rounded = lower;
    if (fraction > 0.5) {
        rounded = lower + 1;
    } else if (fraction == 0.5) {
        rounded = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    }
    return static_cast<std::int32_t>(rounded);
}

std::string HexText(std::uint32_t value) {
    std::string digits = LowHexDigits(value, 8);
    std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

std::string Hex2(std::int64_t value) { return LowHexDigits(value, 2); }
std::string Hex4(std::int64_t value) { return LowHexDigits(value, 4); }

}  // namespace qm
