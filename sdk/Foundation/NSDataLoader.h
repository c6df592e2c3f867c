#pragma once

#include <cstddef>
#include <optional>

#include <Foundation/Forward.h>
#include <Foundation/Value.h>

// NSData's dataWithContentsOfURL: (NSData itself is a byte vector here).
//
// An "https" URL is read synchronously through libcurl with the certificate
// and the host name always verified, redirects followed (to "https" only, as
// App Transport Security allows) up to a limit, and the read failed when no
// data arrives for the request time limit (60 seconds unless the host says
// otherwise). Cleartext "http" is blocked, as App Transport Security blocks
// it, and other schemes are not read here. The body of any HTTP status is the
// data, as on the platform.
//
// Nil on any failure, and for a body past kMaximumLength: nothing a caller
// reads whole into memory is allowed to grow without bound.
class NSDataLoader {
public:
    NSDataLoader() = delete;

    static constexpr size_t kMaximumLength = 10 * 1024 * 1024;
    static constexpr long kMaximumRedirects = 16;

    static std::optional<NSData> dataWithContentsOfURL(const Ref<NSURL>& url);
};
