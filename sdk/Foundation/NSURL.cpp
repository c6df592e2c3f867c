#include <Foundation/NSURL.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include <glib.h>

#include <Foundation/NSProcessInfo.h>
#include <Foundation/Unicode.h>

namespace {

// The parts of a URL whose characters the grammar limits differently.
enum class Part { UserInfo, Host, Path, Query, Fragment };

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isHexDigit(char c) {
    return Unicode::isASCIIDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int hexValue(char c) {
    return Unicode::isASCIIDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}
bool isUnreserved(char c) {
    return isAlpha(c) || Unicode::isASCIIDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool isSubDelimiter(char c) {
    return std::string_view("!$&'()*+,;=").find(c) != std::string_view::npos;
}

bool isAllowed(Part part, char c) {
    if (isUnreserved(c) || isSubDelimiter(c)) {
        return true;
    }
    switch (part) {
    case Part::UserInfo:
        return c == ':';
    case Part::Host:
        return false;
    case Part::Path:
        return c == ':' || c == '@' || c == '/';
    case Part::Query:
    case Part::Fragment:
        return c == ':' || c == '@' || c == '/' || c == '?';
    }
    return false;
}

// The part as it goes into the URL: valid characters and complete percent
// escapes are kept; any other byte is percent-encoded when `encode`, and
// otherwise makes the whole URL invalid.
std::optional<std::string> checkedPart(std::string_view text, Part part, bool encode) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (size_t index = 0; index < text.size(); ++index) {
        const char c = text[index];
        if (c == '%' && index + 2 < text.size() && isHexDigit(text[index + 1]) &&
            isHexDigit(text[index + 2])) {
            result.append(text.substr(index, 3));
            index += 2;
        } else if (c != '%' && isAllowed(part, c)) {
            result += c;
        } else if (encode) {
            const auto byte = static_cast<unsigned char>(c);
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
        } else {
            return std::nullopt;
        }
    }
    return result;
}

bool isScheme(std::string_view text) {
    if (text.empty() || !isAlpha(text.front())) {
        return false;
    }
    for (char c : text) {
        if (!isAlpha(c) && !Unicode::isASCIIDigit(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

// An IPv6 literal between brackets: hexadecimal digits, colons and the dots
// of an embedded IPv4 address, with at least one colon.
bool isAddressLiteral(std::string_view text) {
    if (text.find(':') == std::string_view::npos) {
        return false;
    }
    for (char c : text) {
        if (!isHexDigit(c) && c != ':' && c != '.') {
            return false;
        }
    }
    return true;
}

// A host name, IDNA-encoded first when it holds non-ASCII text and `encode`.
std::optional<std::string> checkedHost(std::string_view host, bool encode) {
    std::string ascii(host);
    const bool nonASCII =
        std::any_of(host.begin(), host.end(), [](char c) { return (c & 0x80) != 0; });
    // Text that is not UTF-8 has no IDNA form; its bytes are percent-encoded.
    if (nonASCII && encode &&
        g_utf8_validate(host.data(), static_cast<gssize>(host.size()), nullptr)) {
        std::unique_ptr<gchar, decltype(&g_free)> converted(
            g_hostname_to_ascii(std::string(host).c_str()), &g_free);
        if (!converted) {
            return std::nullopt;
        }
        ascii = converted.get();
    }
    return checkedPart(ascii, Part::Host, encode);
}

} // namespace

Ref<NSURL> NSURL::URLWithString(const std::optional<std::string>& string) {
    const bool encodes = NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion({17, 0, 0});
    return URLWithStringEncodingInvalidCharacters(string, encodes);
}

Ref<NSURL> NSURL::URLWithStringEncodingInvalidCharacters(const std::optional<std::string>& string,
                                                         bool encode) {
    if (!string || string->empty()) {
        return nullptr;
    }
    std::string_view rest = *string;
    Ref<NSURL> url = alloc<NSURL>();

    // scheme ":" — a colon before any "/", "?" or "#" must end a valid scheme,
    // since a relative path may not hold one in its first segment.
    const size_t firstDelimiter = rest.find_first_of(":/?#");
    if (firstDelimiter != std::string_view::npos && rest[firstDelimiter] == ':') {
        if (!isScheme(rest.substr(0, firstDelimiter))) {
            return nullptr;
        }
        url->_scheme = std::string(rest.substr(0, firstDelimiter));
        rest.remove_prefix(firstDelimiter + 1);
    }

    // "#" fragment and "?" query.
    if (size_t hash = rest.find('#'); hash != std::string_view::npos) {
        url->_fragment = checkedPart(rest.substr(hash + 1), Part::Fragment, encode);
        if (!url->_fragment) {
            return nullptr;
        }
        rest = rest.substr(0, hash);
    }
    if (size_t question = rest.find('?'); question != std::string_view::npos) {
        url->_query = checkedPart(rest.substr(question + 1), Part::Query, encode);
        if (!url->_query) {
            return nullptr;
        }
        rest = rest.substr(0, question);
    }

    // "//" authority: [userinfo "@"] host [":" port].
    std::string authority;
    bool hasAuthority = rest.substr(0, 2) == "//";
    if (hasAuthority) {
        rest.remove_prefix(2);
        const size_t end = rest.find('/');
        std::string_view hostAndPort = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        if (size_t at = hostAndPort.rfind('@'); at != std::string_view::npos) {
            std::optional<std::string> userInfo =
                checkedPart(hostAndPort.substr(0, at), Part::UserInfo, encode);
            if (!userInfo) {
                return nullptr;
            }
            authority = *userInfo + "@";
            hostAndPort.remove_prefix(at + 1);
        }
        std::string_view host = hostAndPort;
        std::optional<std::string_view> port;
        std::optional<std::string> hostText;
        if (!hostAndPort.empty() && hostAndPort.front() == '[') {
            const size_t close = hostAndPort.find(']');
            if (close == std::string_view::npos ||
                !isAddressLiteral(hostAndPort.substr(1, close - 1))) {
                return nullptr;
            }
            std::string_view after = hostAndPort.substr(close + 1);
            if (!after.empty()) {
                if (after.front() != ':') {
                    return nullptr;
                }
                port = after.substr(1);
            }
            // The host is the address, without its brackets.
            url->_host = std::string(hostAndPort.substr(1, close - 1));
            hostText = std::string(hostAndPort.substr(0, close + 1));
        } else {
            if (size_t colon = hostAndPort.rfind(':'); colon != std::string_view::npos) {
                host = hostAndPort.substr(0, colon);
                port = hostAndPort.substr(colon + 1);
            }
            hostText = checkedHost(host, encode);
            if (!hostText) {
                return nullptr;
            }
            if (!hostText->empty()) {
                url->_host = hostText;
            }
        }
        authority += *hostText;
        if (port) {
            // Digits only, and few enough to be a number.
            if (port->size() > 9 ||
                !std::all_of(port->begin(), port->end(), Unicode::isASCIIDigit)) {
                return nullptr;
            }
            if (!port->empty()) {
                url->_port = std::stol(std::string(*port));
            }
            authority += ":" + std::string(*port);
        }
    }

    std::optional<std::string> path = checkedPart(rest, Part::Path, encode);
    // Without an authority, a path may not begin with "//".
    if (!path || (!hasAuthority && path->substr(0, 2) == "//")) {
        return nullptr;
    }
    url->_path = *path;

    std::string& text = url->_absoluteString;
    if (url->_scheme) {
        text = *url->_scheme + ":";
    }
    if (hasAuthority) {
        text += "//" + authority;
    }
    text += url->_path;
    if (url->_query) {
        text += "?" + *url->_query;
    }
    if (url->_fragment) {
        text += "#" + *url->_fragment;
    }
    return url;
}

std::string NSURL::path() const {
    std::string decoded;
    decoded.reserve(_path.size());
    for (size_t index = 0; index < _path.size(); ++index) {
        if (_path[index] == '%' && index + 2 < _path.size()) {
            decoded +=
                static_cast<char>(hexValue(_path[index + 1]) * 16 + hexValue(_path[index + 2]));
            index += 2;
        } else {
            decoded += _path[index];
        }
    }
    return decoded;
}
