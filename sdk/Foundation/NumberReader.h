#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The leading-number readers behind NSString's number values and NSScanner.
// Each starts at `offset`, skips white space and newlines, and reads the number
// found there, never by the process locale: "." is the only decimal separator.
// Each returns the offset just past the number, or nullopt (leaving `result`
// untouched) when no number begins there.
class NumberReader {
public:
    NumberReader() = delete;

    // An optional sign, digits with an optional fraction after "." (whole or
    // fractional digits may be missing, not both), then an optional exponent:
    // "e" or "E", an optional sign and at least one digit. "inf", "nan" and hex
    // forms are not numbers. Too large a number reads as an infinity of its
    // sign, too small a one as a zero of its sign. Correctly rounded.
    static std::optional<size_t> readDouble(std::string_view text, size_t offset, double& result);
    // The same text rounded once, straight to single precision.
    static std::optional<size_t> readFloat(std::string_view text, size_t offset, float& result);
    // An optional sign and decimal digits. Out of range, the result saturates
    // at `minimum` or `maximum` (minimum <= 0 <= maximum) and every digit is
    // still consumed.
    static std::optional<size_t> readInteger(std::string_view text, size_t offset,
                                             long long minimum, long long maximum,
                                             long long& result);
};
