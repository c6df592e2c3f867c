#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/NSURL.h>

namespace {

TEST(NSURL, ParsesSchemeAndHostOrRefuses) {
    struct Case {
        std::optional<std::string> text;
        bool valid;
        std::optional<std::string> scheme;
        std::optional<std::string> host;
    };
    const Case cases[] = {
        {"https://repo.example.com", true, "https", "repo.example.com"},
        {"HTTP://Example.com:8080/a/b?q=1#top", true, "HTTP", "Example.com"},
        {"https://user:pw@host.test/", true, "https", "host.test"},
        {"http://[::1]:80/", true, "http", "::1"},
        {"https://example.com/a%20b", true, "https", "example.com"},
        {"mailto:someone@example.com", true, "mailto", std::nullopt},
        {"file:///etc/passwd", true, "file", std::nullopt},
        {"https://", true, "https", std::nullopt},
        {"example.com/path", true, std::nullopt, std::nullopt},
        {"//example.com/path", true, std::nullopt, "example.com"},
        {std::nullopt, false, std::nullopt, std::nullopt},
        {"", false, std::nullopt, std::nullopt},
        {"https://exa mple.com", false, std::nullopt, std::nullopt},
        {"https://example.com/\xC3\xA9", false, std::nullopt, std::nullopt},
        {"https://example.com/%zz", false, std::nullopt, std::nullopt},
        {"https://example.com/%4", false, std::nullopt, std::nullopt},
        {"https://example.com:80x/", false, std::nullopt, std::nullopt},
        {"http://[::1/", false, std::nullopt, std::nullopt},
        {"https://example.com/#a#b", false, std::nullopt, std::nullopt},
        {"1http://example.com", false, std::nullopt, std::nullopt},
        {"://example.com", false, std::nullopt, std::nullopt},
        {"https://example.com/<script>", false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.value_or("(nil)"));
        Ref<NSURL> url = NSURL::URLWithString(c.text);
        ASSERT_EQ(url != nullptr, c.valid);
        if (url) {
            EXPECT_EQ(url->absoluteString(), *c.text);
            EXPECT_EQ(url->scheme(), c.scheme);
            EXPECT_EQ(url->host(), c.host);
        }
    }
}

} // namespace
