#include <Foundation/NSURL.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool isAlpha(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Unreserved characters and the sub-delimiters, which may stand anywhere.
bool isPlain(char c) {
    return isAlpha(c) || isDigit(c) ||
           std::string_view("-._~!$&'()*+,;=").find(c) != std::string_view::npos;
}

// Every character is plain, one of `extra`, or a "%" followed by two hex digits.
bool isWellFormed(std::string_view part, std::string_view extra) {
    for (size_t i = 0; i < part.size(); ++i) {
        const char c = part[i];
        if (c == '%') {
            if (i + 2 >= part.size() || !isHexDigit(part[i + 1]) || !isHexDigit(part[i + 2])) {
                return false;
            }
            i += 2;
        } else if (!isPlain(c) && extra.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool isScheme(std::string_view text) {
    return !text.empty() && isAlpha(text[0]) && std::all_of(text.begin(), text.end(), [](char c) {
        return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
    });
}

// The host of an authority ("user@host:port"); nil when it is malformed.
std::optional<std::string> hostOfAuthority(std::string_view authority) {
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        if (!isWellFormed(authority.substr(0, at), ":")) {
            return std::nullopt;
        }
        authority.remove_prefix(at + 1);
    }
    std::string_view host = authority;
    std::string_view port;
    if (!authority.empty() && authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = authority.substr(1, close - 1);
        if (host.empty() || !isWellFormed(host, ":")) {
            return std::nullopt;
        }
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty() && rest[0] != ':') {
            return std::nullopt;
        }
        port = rest.empty() ? rest : rest.substr(1);
    } else {
        if (const size_t colon = authority.find(':'); colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
        }
        if (!isWellFormed(host, "")) {
            return std::nullopt;
        }
    }
    if (!std::all_of(port.begin(), port.end(), isDigit)) {
        return std::nullopt;
    }
    return std::string(host);
}

} // namespace

Ref<NSURL> NSURL::URLWithString(const std::optional<std::string>& string) {
    if (!string || string->empty()) {
        return nullptr;
    }
    std::string_view rest = *string;
    auto url = alloc<NSURL>();
    url->_absoluteString = *string;

    // A fragment may hold "?" and "/" but no second "#".
    if (const size_t hash = rest.find('#'); hash != std::string_view::npos) {
        if (!isWellFormed(rest.substr(hash + 1), ":@/?")) {
            return nullptr;
        }
        rest = rest.substr(0, hash);
    }
    if (const size_t question = rest.find('?'); question != std::string_view::npos) {
        if (!isWellFormed(rest.substr(question + 1), ":@/?")) {
            return nullptr;
        }
        rest = rest.substr(0, question);
    }
    // A colon before the first "/" ends the scheme; the scheme must then be one.
    const size_t colon = rest.find(':');
    if (colon != std::string_view::npos && colon < rest.find('/')) {
        if (!isScheme(rest.substr(0, colon))) {
            return nullptr;
        }
        url->_scheme = std::string(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = std::min(rest.find('/'), rest.size());
        std::optional<std::string> host = hostOfAuthority(rest.substr(0, slash));
        if (!host) {
            return nullptr;
        }
        if (!host->empty()) {
            url->_host = std::move(host);
        }
        rest.remove_prefix(slash);
    }
    if (!isWellFormed(rest, ":@/")) {
        return nullptr;
    }
    return url;
}
