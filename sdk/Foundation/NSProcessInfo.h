#pragma once

#include <optional>
#include <string_view>

#include <objc/NSObject.h>
#include <objc/Ref.h>

struct NSOperatingSystemVersion {
    long majorVersion = 0;
    long minorVersion = 0;
    long patchVersion = 0;

    auto operator<=>(const NSOperatingSystemVersion&) const = default;
};

// The running process as the platform describes it. The system version is the
// iOS version the host says the device runs: 16.0.0 unless KL_IOS_VERSION
// (such as "14.4") or the host's setter says otherwise.
class NSProcessInfo : public NSObject {
public:
    static Ref<NSProcessInfo> processInfo();

    NSOperatingSystemVersion operatingSystemVersion() const;
    // The test behind `@available(iOS x.y.z, *)`.
    bool isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const;

    // The host's side.
    static void setOperatingSystemVersion(NSOperatingSystemVersion version);
    // "15", "15.0" or "14.4.2" (missing parts are 0); nil for anything else.
    static std::optional<NSOperatingSystemVersion>
    operatingSystemVersionFromString(std::string_view text);
};
