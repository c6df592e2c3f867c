#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// NSString's operations over UTF-8 text, with Foundation's semantics: lengths
// and indices count UTF-16 code units, case mapping is Unicode's full mapping,
// numbers are read by their longest leading decimal number, formats follow
// printf in the C locale.
class NSString {
public:
    NSString() = delete;

    // Number of UTF-16 code units.
    static size_t length(std::string_view text);
    static std::string uppercaseString(std::string_view text);
    static bool containsString(std::string_view text, std::string_view other);
    static std::string stringByReplacingOccurrencesOfString(std::string_view text,
                                                            std::string_view target,
                                                            std::string_view replacement);
    // Splits at every occurrence; empty pieces count as pieces.
    static std::vector<std::string> componentsSeparatedByString(std::string_view text,
                                                                std::string_view separator);
    // The first `index` UTF-16 units. Raises NSRangeException past the end.
    static std::string substringToIndex(std::string_view text, size_t index);

    static double doubleValue(std::string_view text);
    static float floatValue(std::string_view text);
    static int32_t intValue(std::string_view text);
    static long integerValue(std::string_view text);
    static bool boolValue(std::string_view text);

    // One argument of stringWithFormat:. A text (or nil, printed "(null)") for
    // %@ and %s, a number for the numeric conversions.
    struct FormatArgument {
        enum class Kind { Text, Signed, Unsigned, Real };
        Kind kind;
        std::optional<std::string> text;
        long long signedValue = 0;
        unsigned long long unsignedValue = 0;
        double realValue = 0;

        FormatArgument(const std::string& value) : kind(Kind::Text), text(value) {}
        FormatArgument(std::string_view value) : kind(Kind::Text), text(std::string(value)) {}
        FormatArgument(const char* value) : kind(Kind::Text) {
            if (value) {
                text = value;
            }
        }
        FormatArgument(const std::optional<std::string>& value) : kind(Kind::Text), text(value) {}
        FormatArgument(int value) : kind(Kind::Signed), signedValue(value) {}
        FormatArgument(long value) : kind(Kind::Signed), signedValue(value) {}
        FormatArgument(long long value) : kind(Kind::Signed), signedValue(value) {}
        FormatArgument(unsigned value) : kind(Kind::Unsigned), unsignedValue(value) {}
        FormatArgument(unsigned long value) : kind(Kind::Unsigned), unsignedValue(value) {}
        FormatArgument(unsigned long long value) : kind(Kind::Unsigned), unsignedValue(value) {}
        FormatArgument(double value) : kind(Kind::Real), realValue(value) {}
        FormatArgument(float value) : kind(Kind::Real), realValue(value) {}
    };

    // printf rules in the C locale, whatever the process locale is, plus %@
    // for a text. Arguments are taken in order, as a C variadic call would.
    template <class... Args>
    static std::string stringWithFormat(std::string_view format, const Args&... arguments) {
        const FormatArgument list[] = {FormatArgument(arguments)..., FormatArgument(0)};
        return formatWithArguments(format, list, sizeof...(Args));
    }
    static std::string formatWithArguments(std::string_view format, const FormatArgument* arguments,
                                           size_t count);
};
