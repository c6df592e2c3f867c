#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 walking shared by the text operations. Text arrives as UTF-8 bytes that
// may be ill-formed; every byte that does not start a well-formed sequence reads
// as one U+FFFD, so lengths, indices and case mapping agree on such text and
// nothing ever reads past its end.
class Unicode {
public:
    Unicode() = delete;

    static constexpr char32_t kReplacementCharacter = 0xFFFD;

    struct Character {
        char32_t codePoint;
        // Bytes the character takes in the text (1 for an ill-formed byte).
        size_t size;
    };

    // '0' to '9' only, whatever the locale.
    static constexpr bool isASCIIDigit(char character) {
        return character >= '0' && character <= '9';
    }

    // The character starting at `offset`, which must be inside `text`.
    static Character decode(std::string_view text, size_t offset);
    // UTF-16 code units the character takes: 2 beyond the Basic Multilingual Plane.
    static size_t utf16Units(char32_t codePoint) { return codePoint >= 0x10000 ? 2 : 1; }
    static size_t utf16Length(std::string_view text);
    // Whether every byte belongs to a well-formed sequence.
    static bool isValidUTF8(std::string_view text);
    // Appends the UTF-8 encoding; surrogates and values beyond U+10FFFF become U+FFFD.
    static void append(std::string& text, char32_t codePoint);

    // Foundation's whitespaceAndNewlineCharacterSet: general category Z*, U+0009
    // to U+000D and U+0085.
    static bool isWhitespaceOrNewline(char32_t codePoint);
    // The offset of the first character at or after `offset` outside that set.
    static size_t skipWhitespaceAndNewlines(std::string_view text, size_t offset);
};
