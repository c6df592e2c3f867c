#include <Foundation/NumberReader.h>

#include <charconv>
#include <cmath>
#include <limits>

#include <Foundation/Unicode.h>

namespace {

size_t skipDigits(std::string_view text, size_t offset) {
    while (offset < text.size() && Unicode::isASCIIDigit(text[offset])) {
        ++offset;
    }
    return offset;
}

// Where a decimal number lies in the text: its digits (after the sign) run from
// `digits` to `end`; the fraction and exponent, when present, start at
// `point` and `exponent` (npos otherwise).
struct DecimalSpan {
    bool negative = false;
    size_t digits = 0;
    size_t point = std::string_view::npos;
    size_t exponent = std::string_view::npos;
    size_t end = 0;
};

std::optional<DecimalSpan> findDecimal(std::string_view text, size_t offset) {
    DecimalSpan span;
    size_t position = Unicode::skipWhitespaceAndNewlines(text, offset);
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        span.negative = text[position] == '-';
        ++position;
    }
    span.digits = position;
    position = skipDigits(text, position);
    bool hasDigits = position > span.digits;
    if (position < text.size() && text[position] == '.') {
        size_t fractionEnd = skipDigits(text, position + 1);
        if (hasDigits || fractionEnd > position + 1) {
            span.point = position;
            hasDigits = true;
            position = fractionEnd;
        }
    }
    if (!hasDigits) {
        return std::nullopt;
    }
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        size_t exponentDigits = position + 1;
        if (exponentDigits < text.size() &&
            (text[exponentDigits] == '+' || text[exponentDigits] == '-')) {
            ++exponentDigits;
        }
        size_t exponentEnd = skipDigits(text, exponentDigits);
        if (exponentEnd > exponentDigits) {
            span.exponent = position;
            position = exponentEnd;
        }
    }
    span.end = position;
    return span;
}

// Whether a number the converter could not represent is too large (rather
// than too small): its first significant digit stands at a positive power of
// ten. Only called for nonzero numbers far outside the type's range, so the
// sign of that power decides.
bool isTooLarge(std::string_view text, const DecimalSpan& span) {
    size_t mantissaEnd = span.exponent != std::string_view::npos ? span.exponent : span.end;
    long long power = 0;
    if (span.exponent != std::string_view::npos) {
        size_t position = span.exponent + 1;
        bool negative = text[position] == '-';
        if (text[position] == '+' || negative) {
            ++position;
        }
        constexpr long long kSaturation = 1'000'000'000'000LL;
        for (; position < span.end && power < kSaturation; ++position) {
            power = power * 10 + (text[position] - '0');
        }
        power = negative ? -power : power;
    }
    size_t wholeEnd = span.point != std::string_view::npos ? span.point : mantissaEnd;
    for (size_t position = span.digits; position < wholeEnd; ++position) {
        if (text[position] != '0') {
            return power + static_cast<long long>(wholeEnd - position) > 0;
        }
    }
    if (span.point != std::string_view::npos) {
        for (size_t position = span.point + 1; position < mantissaEnd; ++position) {
            if (text[position] != '0') {
                return power - static_cast<long long>(position - span.point - 1) > 0;
            }
        }
    }
    return false;
}

template <class Real>
std::optional<size_t> readReal(std::string_view text, size_t offset, Real& result) {
    std::optional<DecimalSpan> span = findDecimal(text, offset);
    if (!span) {
        return std::nullopt;
    }
    Real magnitude = 0;
    const char* first = text.data() + span->digits;
    const char* last = text.data() + span->end;
    std::from_chars_result converted = std::from_chars(first, last, magnitude);
    if (converted.ec == std::errc::result_out_of_range) {
        magnitude = isTooLarge(text, *span) ? std::numeric_limits<Real>::infinity() : Real(0);
    }
    result = span->negative ? -magnitude : magnitude;
    return span->end;
}

} // namespace

std::optional<size_t> NumberReader::readDouble(std::string_view text, size_t offset,
                                               double& result) {
    return readReal(text, offset, result);
}

std::optional<size_t> NumberReader::readFloat(std::string_view text, size_t offset, float& result) {
    return readReal(text, offset, result);
}

std::optional<size_t> NumberReader::readInteger(std::string_view text, size_t offset,
                                                long long minimum, long long maximum,
                                                long long& result) {
    size_t position = Unicode::skipWhitespaceAndNewlines(text, offset);
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    size_t digits = position;
    position = skipDigits(text, position);
    if (position == digits) {
        return std::nullopt;
    }
    // The magnitude is gathered unsigned and capped at the limit of its sign,
    // so the most negative value is reachable and nothing overflows.
    const unsigned long long limit = negative ? 0ULL - static_cast<unsigned long long>(minimum)
                                              : static_cast<unsigned long long>(maximum);
    unsigned long long magnitude = 0;
    for (size_t index = digits; index < position; ++index) {
        unsigned digit = static_cast<unsigned>(text[index] - '0');
        if (magnitude > limit / 10 || (magnitude == limit / 10 && digit > limit % 10)) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    result =
        negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
    return position;
}
