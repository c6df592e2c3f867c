#include <Foundation/NSString.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <memory>
#include <optional>
#include <string>

#include <glib.h>

#include <Foundation/NSException.h>
#include <Foundation/NumberReader.h>
#include <Foundation/Unicode.h>

namespace {

// Upper-cases a run of non-ASCII text with glib's full case mapping. glib
// follows the process locale only for ASCII "i" (Turkic and Lithuanian rules);
// ASCII never reaches it, so the result is the same in every locale, as
// Foundation's locale-free uppercaseString is.
void appendUppercased(std::string& result, const std::string& run) {
    if (run.empty()) {
        return;
    }
    std::unique_ptr<gchar, decltype(&g_free)> upper(
        g_utf8_strup(run.data(), static_cast<gssize>(run.size())), &g_free);
    result += upper.get();
}

// Makes printf run in the C locale on this thread for as long as it lives.
class CLocaleScope {
public:
    CLocaleScope() : _previous(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return locale;
    }
    locale_t _previous;
};

template <class Number>
void appendPrintf(std::string& result, const std::string& directive, Number value) {
    CLocaleScope scope;
    char buffer[128];
    int size = std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
    if (size < 0) {
        return;
    }
    if (static_cast<size_t>(size) < sizeof buffer) {
        result.append(buffer, static_cast<size_t>(size));
        return;
    }
    size_t start = result.size();
    result.resize(start + static_cast<size_t>(size) + 1);
    std::snprintf(result.data() + start, static_cast<size_t>(size) + 1, directive.c_str(), value);
    result.resize(start + static_cast<size_t>(size));
}

using FormatArgument = NSString::FormatArgument;

enum class LengthModifier { None, Char, Short, Long };

// One parsed conversion: everything between "%" and the conversion character,
// with "*" widths and precisions already taken from the arguments.
struct Conversion {
    std::string flags;
    std::optional<int> width;
    std::optional<int> precision;
    LengthModifier length = LengthModifier::None;
    char conversion = 0;

    bool hasFlag(char flag) const { return flags.find(flag) != std::string::npos; }

    // The printf directive for the number, always with the given length
    // modifier, since numbers are passed at their widest.
    std::string printfSpecification(const char* lengthModifier) const {
        std::string directive = "%" + flags;
        if (width) {
            directive += std::to_string(*width);
        }
        if (precision) {
            directive += "." + std::to_string(*precision);
        }
        return directive + lengthModifier + conversion;
    }
};

// Arguments in order, as a variadic call takes them; "n$" picks one by position.
class ArgumentCursor {
public:
    ArgumentCursor(const FormatArgument* arguments, size_t count)
        : _arguments(arguments), _count(count) {}

    // The argument, or nullptr when there is none: nothing is read past the list.
    const FormatArgument* take(std::optional<size_t> position) {
        if (position && *position == 0) {
            return nullptr;
        }
        size_t index = position ? *position - 1 : _next++;
        return index < _count ? &_arguments[index] : nullptr;
    }

private:
    const FormatArgument* _arguments;
    size_t _count;
    size_t _next = 0;
};

// Decimal digits at `offset`, saturating at INT_MAX.
int readCount(std::string_view format, size_t& offset) {
    long long count = 0;
    while (offset < format.size() && Unicode::isASCIIDigit(format[offset])) {
        count = std::min<long long>(count * 10 + (format[offset] - '0'), INT_MAX);
        ++offset;
    }
    return static_cast<int>(count);
}

// "n$" at `offset`: an argument position. Leaves `offset` alone when absent.
std::optional<size_t> readPosition(std::string_view format, size_t& offset) {
    size_t end = offset;
    while (end < format.size() && Unicode::isASCIIDigit(format[end])) {
        ++end;
    }
    if (end == offset || end >= format.size() || format[end] != '$') {
        return std::nullopt;
    }
    size_t position = static_cast<size_t>(readCount(format, offset));
    ++offset;
    return position;
}

// A number argument as the bits a C caller would have passed; a text has none.
std::optional<unsigned long long> integerBits(const FormatArgument& argument) {
    switch (argument.kind) {
    case FormatArgument::Kind::Signed:
        return static_cast<unsigned long long>(argument.signedValue);
    case FormatArgument::Kind::Unsigned:
        return argument.unsignedValue;
    case FormatArgument::Kind::Real: {
        double value = argument.realValue;
        if (std::isnan(value)) {
            return 0;
        }
        if (value >= 0x1p63) {
            return static_cast<unsigned long long>(std::numeric_limits<long long>::max());
        }
        if (value <= -0x1p63) {
            return static_cast<unsigned long long>(std::numeric_limits<long long>::min());
        }
        return static_cast<unsigned long long>(static_cast<long long>(value));
    }
    case FormatArgument::Kind::Text:
        break;
    }
    return std::nullopt;
}

std::optional<double> realValue(const FormatArgument& argument) {
    switch (argument.kind) {
    case FormatArgument::Kind::Signed:
        return static_cast<double>(argument.signedValue);
    case FormatArgument::Kind::Unsigned:
        return static_cast<double>(argument.unsignedValue);
    case FormatArgument::Kind::Real:
        return argument.realValue;
    case FormatArgument::Kind::Text:
        break;
    }
    return std::nullopt;
}

// What %@ prints: a text as it is, nil as "(null)", a number as NSNumber's
// description (decimal integers, the shortest text that reads back as the real).
std::string description(const FormatArgument& argument) {
    switch (argument.kind) {
    case FormatArgument::Kind::Text:
        return argument.text.value_or("(null)");
    case FormatArgument::Kind::Signed:
        return std::to_string(argument.signedValue);
    case FormatArgument::Kind::Unsigned:
        return std::to_string(argument.unsignedValue);
    case FormatArgument::Kind::Real: {
        char buffer[64];
        auto written = std::to_chars(buffer, buffer + sizeof buffer, argument.realValue);
        return std::string(buffer, written.ptr);
    }
    }
    return {};
}

// A text conversion's width and precision count UTF-16 units, as Foundation
// counts %@; a character is never cut, so the precision may leave one unit
// unused before a surrogate pair.
void appendText(std::string& result, std::string_view text, const Conversion& conversion) {
    size_t end = text.size();
    size_t units = 0;
    if (conversion.precision) {
        const size_t limit = static_cast<size_t>(*conversion.precision);
        for (end = 0; end < text.size();) {
            Unicode::Character character = Unicode::decode(text, end);
            size_t width = Unicode::utf16Units(character.codePoint);
            if (units + width > limit) {
                break;
            }
            units += width;
            end += character.size;
        }
    } else {
        units = Unicode::utf16Length(text);
    }
    size_t padding = conversion.width && static_cast<size_t>(*conversion.width) > units
                         ? static_cast<size_t>(*conversion.width) - units
                         : 0;
    bool leftJustified = conversion.hasFlag('-');
    if (!leftJustified) {
        result.append(padding, ' ');
    }
    result.append(text.substr(0, end));
    if (leftJustified) {
        result.append(padding, ' ');
    }
}

// The character a %c (a byte, read as Latin-1), %lc (a code point) or %C (a
// UTF-16 unit) argument stands for.
std::string characterText(unsigned long long bits, const Conversion& conversion) {
    char32_t codePoint;
    if (conversion.conversion == 'C') {
        codePoint = static_cast<char16_t>(bits);
    } else if (conversion.length == LengthModifier::Long) {
        codePoint = static_cast<char32_t>(static_cast<uint32_t>(bits));
    } else {
        codePoint = static_cast<unsigned char>(bits);
    }
    std::string text;
    Unicode::append(text, codePoint);
    return text;
}

long long narrowSigned(unsigned long long bits, LengthModifier length) {
    switch (length) {
    case LengthModifier::Char:
        return static_cast<signed char>(bits);
    case LengthModifier::Short:
        return static_cast<short>(bits);
    case LengthModifier::None:
        return static_cast<int>(bits);
    case LengthModifier::Long:
        break;
    }
    return static_cast<long long>(bits);
}

unsigned long long narrowUnsigned(unsigned long long bits, LengthModifier length) {
    switch (length) {
    case LengthModifier::Char:
        return static_cast<unsigned char>(bits);
    case LengthModifier::Short:
        return static_cast<unsigned short>(bits);
    case LengthModifier::None:
        return static_cast<unsigned>(bits);
    case LengthModifier::Long:
        break;
    }
    return bits;
}

// Prints one conversion of `argument`. A text given for a number prints
// nothing, as a missing argument does.
void appendConversion(std::string& result, const Conversion& conversion,
                      const FormatArgument& argument) {
    switch (conversion.conversion) {
    case 'd':
    case 'i': {
        auto bits = integerBits(argument);
        if (bits) {
            appendPrintf(result, conversion.printfSpecification("ll"),
                         narrowSigned(*bits, conversion.length));
        }
        break;
    }
    case 'o':
    case 'u':
    case 'x':
    case 'X': {
        auto bits = integerBits(argument);
        if (bits) {
            appendPrintf(result, conversion.printfSpecification("ll"),
                         narrowUnsigned(*bits, conversion.length));
        }
        break;
    }
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A': {
        auto value = realValue(argument);
        if (value) {
            appendPrintf(result, conversion.printfSpecification(""), *value);
        }
        break;
    }
    case 'c':
    case 'C': {
        auto bits = integerBits(argument);
        if (bits) {
            appendText(result, characterText(*bits, conversion), conversion);
        }
        break;
    }
    case '@':
    case 's':
        appendText(result, description(argument), conversion);
        break;
    }
}

bool isConversion(char character) {
    static constexpr std::string_view kConversions = "diouxXeEfFgGaAcCs@";
    return kConversions.find(character) != std::string_view::npos;
}

// A "*" width or precision: an int argument, or nullopt when it is missing.
std::optional<int> countArgument(const FormatArgument* argument) {
    if (!argument) {
        return std::nullopt;
    }
    auto bits = integerBits(*argument);
    if (!bits) {
        return std::nullopt;
    }
    return static_cast<int>(*bits);
}

} // namespace

size_t NSString::length(std::string_view text) {
    return Unicode::utf16Length(text);
}

std::string NSString::uppercaseString(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::string run;
    for (size_t offset = 0; offset < text.size();) {
        char byte = text[offset];
        if (static_cast<unsigned char>(byte) < 0x80) {
            appendUppercased(result, run);
            run.clear();
            result.push_back(byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A')
                                                        : byte);
            ++offset;
            continue;
        }
        Unicode::Character character = Unicode::decode(text, offset);
        Unicode::append(run, character.codePoint);
        offset += character.size;
    }
    appendUppercased(result, run);
    return result;
}

bool NSString::containsString(std::string_view text, std::string_view other) {
    return !other.empty() && text.find(other) != std::string_view::npos;
}

std::string NSString::stringByReplacingOccurrencesOfString(std::string_view text,
                                                           std::string_view target,
                                                           std::string_view replacement) {
    if (target.empty()) {
        return std::string(text);
    }
    std::string result;
    size_t start = 0;
    for (size_t found = text.find(target); found != std::string_view::npos;
         found = text.find(target, start)) {
        result.append(text.substr(start, found - start));
        result.append(replacement);
        start = found + target.size();
    }
    result.append(text.substr(start));
    return result;
}

std::vector<std::string> NSString::componentsSeparatedByString(std::string_view text,
                                                               std::string_view separator) {
    if (separator.empty()) {
        return {std::string(text)};
    }
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t found = text.find(separator); found != std::string_view::npos;
         found = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string NSString::substringToIndex(std::string_view text, size_t index) {
    std::string result;
    size_t units = 0;
    size_t offset = 0;
    while (units < index && offset < text.size()) {
        Unicode::Character character = Unicode::decode(text, offset);
        size_t width = Unicode::utf16Units(character.codePoint);
        if (units + width > index) {
            // The index falls between the two halves of a surrogate pair: the
            // kept high surrogate cannot stand alone in UTF-8, so it is kept as
            // U+FFFD, one unit, and the result still has `index` units.
            Unicode::append(result, Unicode::kReplacementCharacter);
            units = index;
            break;
        }
        Unicode::append(result, character.codePoint);
        units += width;
        offset += character.size;
    }
    if (units < index) {
        throw NSException(NSRangeException,
                          "-[NSString substringToIndex:]: Index " + std::to_string(index) +
                              " out of bounds; string length " + std::to_string(units));
    }
    return result;
}

double NSString::doubleValue(std::string_view text) {
    double result = 0;
    NumberReader::readDouble(text, 0, result);
    return result;
}

float NSString::floatValue(std::string_view text) {
    float result = 0;
    NumberReader::readFloat(text, 0, result);
    return result;
}

int32_t NSString::intValue(std::string_view text) {
    long long result = 0;
    NumberReader::readInteger(text, 0, INT32_MIN, INT32_MAX, result);
    return static_cast<int32_t>(result);
}

long NSString::integerValue(std::string_view text) {
    long long result = 0;
    NumberReader::readInteger(text, 0, LONG_MIN, LONG_MAX, result);
    return static_cast<long>(result);
}

bool NSString::boolValue(std::string_view text) {
    size_t offset = Unicode::skipWhitespaceAndNewlines(text, 0);
    if (offset < text.size() && (text[offset] == '+' || text[offset] == '-')) {
        ++offset;
    }
    while (offset < text.size() && text[offset] == '0') {
        ++offset;
    }
    if (offset == text.size()) {
        return false;
    }
    char first = text[offset];
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' ||
           (first >= '1' && first <= '9');
}

std::string NSString::formatWithArguments(std::string_view format, const FormatArgument* arguments,
                                          size_t count) {
    std::string result;
    ArgumentCursor cursor(arguments, count);
    size_t offset = 0;
    while (offset < format.size()) {
        size_t percent = format.find('%', offset);
        result.append(format.substr(offset, percent - offset));
        if (percent == std::string_view::npos) {
            break;
        }
        offset = percent + 1;
        if (offset < format.size() && format[offset] == '%') {
            result.push_back('%');
            ++offset;
            continue;
        }

        Conversion conversion;
        bool missingArgument = false;
        std::optional<size_t> position = readPosition(format, offset);
        while (offset < format.size() &&
               std::string_view("-+ #0'").find(format[offset]) != std::string_view::npos) {
            conversion.flags.push_back(format[offset++]);
        }
        if (offset < format.size() && format[offset] == '*') {
            ++offset;
            std::optional<int> width = countArgument(cursor.take(readPosition(format, offset)));
            missingArgument = !width;
            if (width && *width < 0) {
                // A negative width is a left-justified one.
                conversion.flags.push_back('-');
                width = *width == INT_MIN ? INT_MAX : -*width;
            }
            conversion.width = width;
        } else if (offset < format.size() && Unicode::isASCIIDigit(format[offset])) {
            conversion.width = readCount(format, offset);
        }
        if (offset < format.size() && format[offset] == '.') {
            ++offset;
            if (offset < format.size() && format[offset] == '*') {
                ++offset;
                std::optional<int> precision =
                    countArgument(cursor.take(readPosition(format, offset)));
                missingArgument = missingArgument || !precision;
                // A negative precision counts as none.
                if (precision && *precision >= 0) {
                    conversion.precision = precision;
                }
            } else {
                conversion.precision = readCount(format, offset);
            }
        }
        if (offset < format.size() && format[offset] == 'h') {
            ++offset;
            conversion.length = LengthModifier::Short;
            if (offset < format.size() && format[offset] == 'h') {
                ++offset;
                conversion.length = LengthModifier::Char;
            }
        } else if (offset < format.size() && format[offset] == 'l') {
            ++offset;
            conversion.length = LengthModifier::Long;
            if (offset < format.size() && format[offset] == 'l') {
                ++offset;
            }
        } else if (offset < format.size() &&
                   std::string_view("qjztL").find(format[offset]) != std::string_view::npos) {
            ++offset;
            conversion.length = LengthModifier::Long;
        }

        if (offset >= format.size() || !isConversion(format[offset])) {
            // Not a conversion (a lone "%" at the end, or an unknown or
            // unsupported character such as %n): the text stays as written.
            result.append(format.substr(percent, offset - percent));
            continue;
        }
        conversion.conversion = format[offset++];
        const FormatArgument* argument = cursor.take(position);
        if (argument && !missingArgument) {
            appendConversion(result, conversion, *argument);
        }
    }
    return result;
}
