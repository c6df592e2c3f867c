#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include <Foundation/Unicode.h>

// Why klprefs stops: a bad command line, a page that cannot be loaded, a
// script step that names nothing or cannot apply (with its line), output
// that cannot be written, or values that could not be stored although
// everything else ran. Each kind ends the program with its own status.
class HostError : public std::runtime_error {
public:
    enum class Kind { Usage, Load, Step, Output, Store };

    HostError(Kind kind, const std::string& message, std::optional<size_t> line = std::nullopt)
        : std::runtime_error(message), _kind(kind), _line(line) {}

    Kind kind() const { return _kind; }
    const std::optional<size_t>& line() const { return _line; }
    // 1 for a failed step, 2 for bad usage, 3 for a page that cannot be
    // loaded, 4 for output that cannot be written, 5 for a value that could
    // not be stored.
    int exitStatus() const {
        switch (_kind) {
        case Kind::Step:
            return 1;
        case Kind::Usage:
            return 2;
        case Kind::Load:
            return 3;
        case Kind::Output:
            return 4;
        case Kind::Store:
            return 5;
        }
        return 1;
    }

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
