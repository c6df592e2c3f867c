#include <Foundation/NSScanner.h>

#include <optional>

#include <Foundation/NumberReader.h>
#include <Foundation/Unicode.h>

namespace {

std::optional<unsigned> hexDigit(char character) {
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    if (character >= 'a' && character <= 'f') {
        return character - 'a' + 10;
    }
    if (character >= 'A' && character <= 'F') {
        return character - 'A' + 10;
    }
    return std::nullopt;
}

} // namespace

Ref<NSScanner> NSScanner::scannerWithString(std::string string) {
    return alloc<NSScanner>()->initWithString(std::move(string));
}

Ref<NSScanner> NSScanner::initWithString(std::string string) {
    _string = std::move(string);
    _location = 0;
    return self<NSScanner>();
}

size_t NSScanner::scanLocation() const {
    return Unicode::utf16Length(std::string_view(_string).substr(0, _location));
}

bool NSScanner::isAtEnd() const {
    return Unicode::skipWhitespaceAndNewlines(_string, _location) == _string.size();
}

bool NSScanner::scanHexInt(uint32_t* result) {
    const std::string_view text = _string;
    size_t position = Unicode::skipWhitespaceAndNewlines(text, _location);
    if (position + 2 < text.size() && text[position] == '0' &&
        (text[position + 1] == 'x' || text[position + 1] == 'X') && hexDigit(text[position + 2])) {
        position += 2;
    }
    size_t digits = position;
    uint32_t value = 0;
    bool overflow = false;
    for (; position < text.size(); ++position) {
        std::optional<unsigned> digit = hexDigit(text[position]);
        if (!digit) {
            break;
        }
        overflow = overflow || value > (UINT32_MAX >> 4);
        value = (value << 4) | *digit;
    }
    if (position == digits) {
        return false;
    }
    if (result) {
        *result = overflow ? UINT32_MAX : value;
    }
    _location = position;
    return true;
}

bool NSScanner::scanDouble(double* result) {
    double value = 0;
    std::optional<size_t> end = NumberReader::readDouble(_string, _location, value);
    if (!end) {
        return false;
    }
    if (result) {
        *result = value;
    }
    _location = *end;
    return true;
}

bool NSScanner::scanInt(int32_t* result) {
    long long value = 0;
    std::optional<size_t> end =
        NumberReader::readInteger(_string, _location, INT32_MIN, INT32_MAX, value);
    if (!end) {
        return false;
    }
    if (result) {
        *result = static_cast<int32_t>(value);
    }
    _location = *end;
    return true;
}
