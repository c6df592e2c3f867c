#pragma once

#include <optional>
#include <string>

#include <objc/NSObject.h>
#include <objc/Ref.h>

// A URL parsed from text, by RFC 3986's grammar (absolute or relative). The
// system version decides what happens to characters the grammar does not
// allow: before iOS 17 the text is refused (nil); from iOS 17 they are
// percent-encoded as UTF-8 and a non-ASCII host name is IDNA-encoded. Text
// that stays invalid (a bad scheme, port or IP literal) is refused either way.
class NSURL : public NSObject {
public:
    static Ref<NSURL> URLWithString(const std::optional<std::string>& string);
    // Percent-encodes invalid characters only when asked, whatever the system version.
    static Ref<NSURL>
    URLWithStringEncodingInvalidCharacters(const std::optional<std::string>& string,
                                           bool encodingInvalidCharacters);

    // The whole URL as text, after any encoding.
    const std::string& absoluteString() const { return _absoluteString; }
    // Nil where the URL has no such part.
    const std::optional<std::string>& scheme() const { return _scheme; }
    // The host of the authority, without brackets, user or port.
    const std::optional<std::string>& host() const { return _host; }
    std::optional<long> port() const { return _port; }
    const std::optional<std::string>& query() const { return _query; }
    const std::optional<std::string>& fragment() const { return _fragment; }
    // The path with its percent escapes decoded.
    std::string path() const;

private:
    std::string _absoluteString;
    std::optional<std::string> _scheme;
    std::optional<std::string> _host;
    std::optional<long> _port;
    std::string _path;
    std::optional<std::string> _query;
    std::optional<std::string> _fragment;
};
