#include <Foundation/PropertyListIntegers.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include <Foundation/BinaryPropertyListObjects.h>

namespace {

constexpr std::string_view kOpen = "<integer";
constexpr std::string_view kClose = "</integer";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (hex && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (hex && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The number an <integer> holds, in decimal; nil and why when it holds none
// or one beyond 64 signed bits.
std::optional<std::string> canonical(std::string_view text, std::string& why) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
    }
    bool hex = false;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) {
        why = "Encountered empty <integer>";
        return std::nullopt;
    }
    const uint64_t limit =
        negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const uint64_t base = hex ? 16 : 10;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], hex);
        if (digit < 0) {
            why = "Unknown character '" + std::string(1, text[i]) + "' in <integer>";
            return std::nullopt;
        }
        if (magnitude > (limit - static_cast<uint64_t>(digit)) / base) {
            why = negative ? "Integer underflow in <integer>" : "Integer overflow in <integer>";
            return std::nullopt;
        }
        magnitude = magnitude * base + static_cast<uint64_t>(digit);
    }
    return (negative && magnitude != 0 ? "-" : "") + std::to_string(magnitude);
}

} // namespace

std::optional<std::string> PropertyListIntegers::normalisedXML(const NSData& data, size_t start,
                                                               std::string* error) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()) + start,
                                data.size() - start);
    auto fail = [&](size_t at, const std::string& why) -> std::optional<std::string> {
        if (error) {
            const auto end = data.begin() + static_cast<long>(start + at);
            const size_t line = 1 + static_cast<size_t>(std::count(data.begin(), end, '\n'));
            *error = why + " on line " + std::to_string(line);
        }
        return std::nullopt;
    };
    auto skipPast = [&](size_t position, std::string_view end) {
        size_t found = text.find(end, position);
        return found == std::string_view::npos ? text.size() : found + end.size();
    };
    auto isNameEnd = [&](size_t position) {
        return position >= text.size() || text[position] == '>' || text[position] == '/' ||
               isSpace(text[position]);
    };

    std::string out;
    out.reserve(text.size());
    size_t copied = 0;
    size_t position = 0;
    while ((position = text.find('<', position)) != std::string_view::npos) {
        if (text.compare(position, 4, "<!--") == 0) {
            position = skipPast(position + 4, "-->");
            continue;
        }
        if (text.compare(position, 9, "<![CDATA[") == 0) {
            position = skipPast(position + 9, "]]>");
            continue;
        }
        if (text.compare(position, kOpen.size(), kOpen) != 0 ||
            !isNameEnd(position + kOpen.size())) {
            ++position;
            continue;
        }
        const size_t tagEnd = text.find('>', position);
        if (tagEnd == std::string_view::npos) {
            return fail(position, "Unterminated <integer> tag");
        }
        if (text[tagEnd - 1] == '/') {
            return fail(position, "Encountered empty <integer>");
        }
        const size_t contentStart = tagEnd + 1;
        const size_t contentEnd = text.find('<', contentStart);
        if (contentEnd == std::string_view::npos ||
            text.compare(contentEnd, kClose.size(), kClose) != 0) {
            return fail(position, "Malformed <integer>");
        }
        std::string why;
        std::optional<std::string> number =
            canonical(text.substr(contentStart, contentEnd - contentStart), why);
        if (!number) {
            return fail(position, why);
        }
        out.append(text, copied, contentStart - copied);
        out += *number;
        copied = contentEnd;
        position = contentEnd + kClose.size();
    }
    out.append(text, copied, std::string_view::npos);
    return out;
}

bool PropertyListIntegers::binaryWithin64Bits(const NSData& data) {
    BinaryPropertyListObjects objects(data);
    if (!objects.readTrailer()) {
        return false;
    }
    for (uint64_t object = 0; object < objects.count(); ++object) {
        if (!objects.integerFitsIn64Bits(object)) {
            return false;
        }
    }
    return true;
}
