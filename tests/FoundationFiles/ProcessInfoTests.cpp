#include <gtest/gtest.h>

#include <Foundation/NSProcessInfo.h>

namespace {

TEST(ProcessInfo, ParsesVersionTexts) {
    const std::vector<std::pair<const char*, std::optional<NSOperatingSystemVersion>>> cases = {
        {"15", NSOperatingSystemVersion{15, 0, 0}},
        {"15.0", NSOperatingSystemVersion{15, 0, 0}},
        {"14.4.2", NSOperatingSystemVersion{14, 4, 2}},
        {"16.10", NSOperatingSystemVersion{16, 10, 0}},
        {"", std::nullopt},
        {"15.", std::nullopt},
        {".1", std::nullopt},
        {"15.0.1.2", std::nullopt},
        {"15a", std::nullopt},
        {"-15", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NSProcessInfo::operatingSystemVersionFromString(text), expected) << text;
    }
}

TEST(ProcessInfo, ComparesAgainstTheHostsVersion) {
    const NSOperatingSystemVersion previous =
        NSProcessInfo::processInfo()->operatingSystemVersion();
    struct Case {
        NSOperatingSystemVersion running;
        NSOperatingSystemVersion asked;
        bool atLeast;
    };
    const Case cases[] = {
        {{15, 0, 0}, {15, 0, 0}, true},  {{14, 8, 9}, {15, 0, 0}, false},
        {{15, 0, 1}, {15, 0, 0}, true},  {{16, 0, 0}, {15, 4, 0}, true},
        {{15, 3, 9}, {15, 4, 0}, false}, {{14, 4, 0}, {14, 4, 1}, false},
    };
    for (const Case& c : cases) {
        NSProcessInfo::setOperatingSystemVersion(c.running);
        EXPECT_EQ(NSProcessInfo::processInfo()->operatingSystemVersion(), c.running);
        EXPECT_EQ(NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion(c.asked), c.atLeast)
            << c.running.majorVersion << "." << c.running.minorVersion << "."
            << c.running.patchVersion;
    }
    NSProcessInfo::setOperatingSystemVersion(previous);
}

} // namespace
