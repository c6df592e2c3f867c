#pragma once

#include <optional>
#include <string>

#include <objc/NSObject.h>
#include <objc/Ref.h>

// An address as Foundation parses it: a string that is a URL by RFC 3986
// (characters outside the allowed set must be percent-encoded), split into
// its scheme and host.
class NSURL : public NSObject {
public:
    // nil for nil, an empty string, or a string that is not a valid URL.
    static Ref<NSURL> URLWithString(const std::optional<std::string>& string);

    // The string the address was made from.
    const std::string& absoluteString() const { return _absoluteString; }
    // The scheme as written ("https"); nil for a relative address.
    const std::optional<std::string>& scheme() const { return _scheme; }
    // The host of the authority, without brackets, user or port; nil without one.
    const std::optional<std::string>& host() const { return _host; }

private:
    std::string _absoluteString;
    std::optional<std::string> _scheme;
    std::optional<std::string> _host;
};
