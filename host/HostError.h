#pragma once

#include <optional>
#include <stdexcept>
#include <string>

// Why klprefs stops: a bad command line, a page that cannot be loaded, a
// script step that names nothing or cannot apply (with its line), or output
// that cannot be written. Each kind ends the program with its own status.
class HostError : public std::runtime_error {
public:
    enum class Kind { Usage, Load, Step, Output };

    HostError(Kind kind, const std::string& message, std::optional<size_t> line = std::nullopt)
        : std::runtime_error(message), _kind(kind), _line(line) {}

    Kind kind() const { return _kind; }
    const std::optional<size_t>& line() const { return _line; }
    // 1 for a failed step, 2 for bad usage, 3 for a page that cannot be
    // loaded, 4 for output that cannot be written.
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
        }
        return 1;
    }

private:
    Kind _kind;
    std::optional<size_t> _line;
};
