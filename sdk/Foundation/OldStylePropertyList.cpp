#include <Foundation/OldStylePropertyList.h>

#include <cstdint>
#include <cstdio>
#include <string_view>

#include <Foundation/Unicode.h>

namespace {

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 units to UTF-8, pairing surrogates; a lone surrogate becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(std::string& out) : _out(out) {}

    void unit(char32_t value) {
        if (_high) {
            if (isLowSurrogate(value)) {
                appendUtf8(_out, 0x10000 + ((_high - 0xD800) << 10) + (value - 0xDC00));
                _high = 0;
                return;
            }
            flush();
        }
        if (isHighSurrogate(value)) {
            _high = value;
        } else {
            appendUtf8(_out, isLowSurrogate(value) ? kReplacementCharacter : value);
        }
    }
    void flush() {
        if (_high) {
            appendUtf8(_out, kReplacementCharacter);
            _high = 0;
        }
    }

private:
    std::string& _out;
    char32_t _high = 0;
};

std::string decodeText(const NSData& bytes) {
    const size_t size = bytes.size();
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        return std::string(bytes.begin() + 3, bytes.end());
    }
    bool bigEndian = size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    bool littleEndian = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    size_t start = 2;
    // UTF-16 without a mark: text starts with a character below U+0100 (a
    // quote, a letter, a comment), so exactly one of its first two bytes is
    // 0, which UTF-8 text never holds.
    if (!bigEndian && !littleEndian && size >= 2 && size % 2 == 0 &&
        (bytes[0] == 0) != (bytes[1] == 0)) {
        bigEndian = bytes[0] == 0;
        littleEndian = !bigEndian;
        start = 0;
    }
    if (!bigEndian && !littleEndian) {
        return std::string(bytes.begin(), bytes.end());
    }
    std::string text;
    Utf16Decoder decoder(text);
    for (size_t i = start; i + 1 < size; i += 2) {
        char32_t high = bytes[bigEndian ? i : i + 1];
        char32_t low = bytes[bigEndian ? i + 1 : i];
        decoder.unit((high << 8) | low);
    }
    decoder.flush();
    return text;
}

// Deeper nesting is refused rather than parsed by a recursion that could run
// out of stack.
constexpr int kMaximumDepth = 512;

bool isBareCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

class Parser {
public:
    explicit Parser(std::string_view text) : _text(text) {}

    std::optional<Value> parseDocument() {
        if (!skipSpace()) {
            return std::nullopt;
        }
        if (atEnd()) {
            return Value(Value::Dictionary{});
        }
        const size_t start = _position;
        std::optional<Value> value = parseValue();
        if (!value || !skipSpace()) {
            return std::nullopt;
        }
        if (atEnd()) {
            return value;
        }
        // A text followed by "=" or ";" opens a .strings table: pairs
        // without the braces around them.
        if (value->isString() && (peek() == '=' || peek() == ';')) {
            _position = start;
            _line = lineAt(start);
            return parseDictionaryBody(false);
        }
        return fail("Unexpected character " + characterAt(_position) + " after the value");
    }

    const std::string& error() const { return _error; }

private:
    std::string_view _text;
    size_t _position = 0;
    size_t _line = 1;
    int _depth = 0;
    std::string _error;

    bool atEnd() const { return _position >= _text.size(); }
    char peek() const { return _text[_position]; }

    size_t lineAt(size_t position) const {
        size_t line = 1;
        for (size_t i = 0; i < position; ++i) {
            line += _text[i] == '\n' ? 1 : 0;
        }
        return line;
    }

    // The character at the position for a message: in quotes, or as U+XXXX
    // when it is a control character (a NUL would end the message early).
    std::string characterAt(size_t position) const {
        const Unicode::Character character = Unicode::decode(_text, position);
        if (character.codePoint < 0x20 || character.codePoint == 0x7F) {
            char name[8];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character.codePoint));
            return name;
        }
        return "'" + std::string(_text.substr(position, character.size)) + "'";
    }

    std::nullopt_t fail(const std::string& message) {
        if (_error.empty()) {
            _error = message + " on line " + std::to_string(_line);
        }
        return std::nullopt;
    }

    void advance() {
        if (_text[_position] == '\n') {
            ++_line;
        }
        ++_position;
    }

    // Skips white space and comments; false for a comment left open.
    bool skipSpace() {
        while (!atEnd()) {
            char c = peek();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                advance();
            } else if (_text.substr(_position, 2) == "//") {
                while (!atEnd() && peek() != '\n') {
                    advance();
                }
            } else if (_text.substr(_position, 2) == "/*") {
                size_t opened = _line;
                advance();
                advance();
                while (!atEnd() && _text.substr(_position, 2) != "*/") {
                    advance();
                }
                if (atEnd()) {
                    _line = opened;
                    fail("Unterminated comment");
                    return false;
                }
                advance();
                advance();
            } else {
                return true;
            }
        }
        return true;
    }

    std::optional<Value> parseValue() {
        if (atEnd()) {
            return fail("Unexpected end of text where a value was expected");
        }
        char c = peek();
        if (c == '{' || c == '(') {
            if (_depth == kMaximumDepth) {
                return fail("Nested too deeply");
            }
            advance();
            ++_depth;
            std::optional<Value> container = c == '{' ? parseDictionaryBody(true) : parseArray();
            --_depth;
            return container;
        }
        if (c == '<') {
            advance();
            return parseData();
        }
        if (c == '"' || c == '\'') {
            return parseQuoted();
        }
        if (isBareCharacter(c)) {
            size_t start = _position;
            while (!atEnd() && isBareCharacter(peek())) {
                advance();
            }
            return Value(std::string(_text.substr(start, _position - start)));
        }
        return fail("Unexpected character " + characterAt(_position) +
                    " where a value was expected");
    }

    std::optional<Value> parseDictionaryBody(bool braced) {
        Value::Dictionary entries;
        for (;;) {
            if (!skipSpace()) {
                return std::nullopt;
            }
            if (atEnd()) {
                if (braced) {
                    return fail("Missing '}'");
                }
                return Value(std::move(entries));
            }
            if (braced && peek() == '}') {
                advance();
                return Value(std::move(entries));
            }
            std::optional<Value> key = parseValue();
            if (!key) {
                return std::nullopt;
            }
            if (!key->isString()) {
                return fail("A dictionary key is not a text");
            }
            if (!skipSpace()) {
                return std::nullopt;
            }
            // `"key";` alone stands for `"key" = "key";`.
            if (!atEnd() && peek() == ';') {
                advance();
                entries.insert_or_assign(*key->string(), *key);
                continue;
            }
            if (atEnd() || peek() != '=') {
                return fail("Missing '=' after a key");
            }
            advance();
            if (!skipSpace()) {
                return std::nullopt;
            }
            std::optional<Value> value = parseValue();
            if (!value || !skipSpace()) {
                return std::nullopt;
            }
            if (atEnd() || peek() != ';') {
                return fail("Missing ';' after a value");
            }
            advance();
            entries.insert_or_assign(*key->string(), std::move(*value));
        }
    }

    std::optional<Value> parseArray() {
        Value::Array items;
        for (;;) {
            if (!skipSpace()) {
                return std::nullopt;
            }
            if (!atEnd() && peek() == ')') {
                advance();
                return Value(std::move(items));
            }
            std::optional<Value> item = parseValue();
            if (!item || !skipSpace()) {
                return std::nullopt;
            }
            items.push_back(std::move(*item));
            if (atEnd()) {
                return fail("Missing ')'");
            }
            if (peek() == ',') {
                advance();
            } else if (peek() != ')') {
                return fail("Missing ',' between array items");
            }
        }
    }

    std::optional<Value> parseData() {
        NSData bytes;
        int high = -1;
        for (;;) {
            if (atEnd()) {
                return fail("Missing '>'");
            }
            char c = peek();
            advance();
            if (c == '>') {
                break;
            }
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                continue;
            }
            int digit = hexDigit(c);
            if (digit < 0) {
                return fail("Unexpected character " + characterAt(_position - 1) + " in data");
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>((high << 4) | digit));
                high = -1;
            }
        }
        if (high >= 0) {
            return fail("Odd number of hex digits in data");
        }
        return Value(std::move(bytes));
    }

    std::optional<Value> parseQuoted() {
        const char quote = peek();
        const size_t openedOn = _line;
        advance();
        std::string text;
        Utf16Decoder escapes(text);
        for (;;) {
            if (atEnd()) {
                _line = openedOn;
                return fail("Unterminated quoted text");
            }
            char c = peek();
            advance();
            if (c == quote) {
                break;
            }
            if (c != '\\') {
                escapes.flush();
                text += c;
                continue;
            }
            if (atEnd()) {
                continue;
            }
            char escaped = peek();
            advance();
            if (escaped == 'U' || escaped == 'u') {
                // \U followed by up to four hex digits: one UTF-16 unit.
                char32_t unit = 0;
                int digits = 0;
                for (; digits < 4 && !atEnd() && hexDigit(peek()) >= 0; ++digits) {
                    unit = (unit << 4) | static_cast<char32_t>(hexDigit(peek()));
                    advance();
                }
                if (digits == 0) {
                    return fail("\\U without hex digits");
                }
                escapes.unit(unit);
                continue;
            }
            escapes.flush();
            if (escaped >= '0' && escaped <= '7') {
                // Up to three octal digits naming one character (read as Latin-1).
                char32_t code = static_cast<char32_t>(escaped - '0');
                for (int digits = 1; digits < 3 && !atEnd() && peek() >= '0' && peek() <= '7';
                     ++digits) {
                    code = (code << 3) | static_cast<char32_t>(peek() - '0');
                    advance();
                }
                appendUtf8(text, code);
                continue;
            }
            switch (escaped) {
            case 'a':
                text += '\a';
                break;
            case 'b':
                text += '\b';
                break;
            case 'f':
                text += '\f';
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'v':
                text += '\v';
                break;
            default:
                // \" \' \\ and any other character stand for themselves.
                text += escaped;
                break;
            }
        }
        escapes.flush();
        return Value(std::move(text));
    }
};

} // namespace

std::optional<Value> OldStylePropertyList::parse(const NSData& bytes, std::string* error) {
    const std::string text = decodeText(bytes);
    // Text the platform cannot decode is not read at all.
    if (!Unicode::isValidUTF8(text)) {
        if (error) {
            *error = "The text is not valid UTF-8";
        }
        return std::nullopt;
    }
    Parser parser(text);
    std::optional<Value> value = parser.parseDocument();
    if (!value && error) {
        *error = parser.error();
    }
    return value;
}
