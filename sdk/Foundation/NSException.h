#pragma once

#include <stdexcept>
#include <string>

inline constexpr const char* NSRangeException = "NSRangeException";
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";

// What the platform raises. The SDK throws it where the real frameworks raise;
// the libraries' own code guards against it as it would on a device.
class NSException : public std::runtime_error {
public:
    NSException(std::string name, const std::string& reason)
        : std::runtime_error(name + ": " + reason), _name(std::move(name)), _reason(reason) {}

    const std::string& name() const { return _name; }
    const std::string& reason() const { return _reason; }

private:
    std::string _name;
    std::string _reason;
};
