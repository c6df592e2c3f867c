#include <Foundation/NSProcessInfo.h>

#include <cstdlib>
#include <mutex>

namespace {

constexpr NSOperatingSystemVersion kDefaultVersion{16, 0, 0};

struct VersionState {
    std::mutex lock;
    NSOperatingSystemVersion version = kDefaultVersion;

    VersionState() {
        if (const char* fromEnvironment = std::getenv("KL_IOS_VERSION")) {
            version = NSProcessInfo::operatingSystemVersionFromString(fromEnvironment)
                          .value_or(kDefaultVersion);
        }
    }
};

VersionState& versionState() {
    // Never destroyed: a worker may still read it while the process exits.
    static VersionState& state = *new VersionState;
    return state;
}

} // namespace

Ref<NSProcessInfo> NSProcessInfo::processInfo() {
    static const Ref<NSProcessInfo> info = alloc<NSProcessInfo>();
    return info;
}

NSOperatingSystemVersion NSProcessInfo::operatingSystemVersion() const {
    VersionState& state = versionState();
    std::lock_guard guard(state.lock);
    return state.version;
}

bool NSProcessInfo::isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const {
    return operatingSystemVersion() >= version;
}

void NSProcessInfo::setOperatingSystemVersion(NSOperatingSystemVersion version) {
    VersionState& state = versionState();
    std::lock_guard guard(state.lock);
    state.version = version;
}

std::optional<NSOperatingSystemVersion>
NSProcessInfo::operatingSystemVersionFromString(std::string_view text) {
    long parts[3] = {0, 0, 0};
    size_t count = 0;
    size_t position = 0;
    for (;;) {
        if (count == 3 || position >= text.size() || text[position] < '0' || text[position] > '9') {
            return std::nullopt;
        }
        long number = 0;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
            if (number > 100000) {
                return std::nullopt;
            }
            number = number * 10 + (text[position] - '0');
            ++position;
        }
        parts[count++] = number;
        if (position == text.size()) {
            return NSOperatingSystemVersion{parts[0], parts[1], parts[2]};
        }
        if (text[position] != '.') {
            return std::nullopt;
        }
        ++position;
    }
}
