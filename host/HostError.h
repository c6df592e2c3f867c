#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include <Foundation/Unicode.h>

// Why the host, or a program over it, cannot go on: a request it cannot
// take (Usage), a page that cannot be loaded (Load), an act on the page that
// names nothing or cannot apply (Step, with its line when it came from a
// script), output that cannot be written (Output), or values that could not
// be stored although everything else ran (Store). The program decides what
// each kind means for it, such as its exit status.
class HostError : public std::runtime_error {
public:
    enum class Kind { Usage, Load, Step, Output, Store };

    HostError(Kind kind, const std::string& message, std::optional<size_t> line = std::nullopt)
        : std::runtime_error(message), _kind(kind), _line(line) {}

    // Throw one of a kind: a request the program cannot take, a page that
    // cannot be loaded, a step that cannot apply.
    [[noreturn]] static void throwUsage(const std::string& message) {
        throw HostError(Kind::Usage, message);
    }
    [[noreturn]] static void throwLoad(const std::string& message) {
        throw HostError(Kind::Load, message);
    }
    [[noreturn]] static void throwStep(const std::string& message) {
        throw HostError(Kind::Step, message);
    }

    Kind kind() const { return _kind; }
    const std::optional<size_t>& line() const { return _line; }

    // The most bytes of a text that a message shows.
    static constexpr size_t kQuotedLength = 200;

    // A text from a script or a bundle, in double quotes for a message: a
    // quote or backslash is escaped, and so is every control character (a NUL
    // as \0) and every byte that is not UTF-8 (as \xNN), so that the message
    // is printed whole and readable. A text longer than kQuotedLength bytes
    // is cut there, and its length said.
    static std::string quoted(const std::string& text) {
        std::string out = "\"";
        size_t offset = 0;
        while (offset < text.size() && offset < kQuotedLength) {
            const Unicode::Character character = Unicode::decode(text, offset);
            const unsigned char c = static_cast<unsigned char>(text[offset]);
            const bool illFormed =
                character.codePoint == Unicode::kReplacementCharacter && character.size == 1;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c == '\0') {
                out += "\\0";
            } else if (c == '\n') {
                out += "\\n";
            } else if (c == '\t') {
                out += "\\t";
            } else if (c < 0x20 || c == 0x7F || illFormed) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\x%02X", c);
                out += escape;
            } else {
                out.append(text, offset, character.size);
            }
            offset += character.size;
        }
        out += '"';
        if (offset < text.size()) {
            out += "... (cut; " + std::to_string(text.size()) + " bytes in all)";
        }
        return out;
    }

private:
    Kind _kind;
    std::optional<size_t> _line;
};
