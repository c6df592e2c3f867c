#include <Foundation/DeviceRoot.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMaximumLinks = 40;

// The root without trailing slashes; "/" stays "/".
std::string normalisedRoot(const std::string& folder) {
    if (folder.empty()) {
        return "/";
    }
    std::error_code failure;
    std::filesystem::path absolute = std::filesystem::absolute(folder, failure);
    std::string root =
        (failure ? std::filesystem::path(folder) : absolute).lexically_normal().string();
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

// A host folder in place of a device folder: the resolved device path
// ("/var/mobile/Library/Preferences") and the host folder, without a
// trailing slash. Empty when nothing is mounted.
struct Mount {
    std::string devicePath;
    std::string hostFolder;
};

struct RootState {
    std::mutex lock;
    std::string root;
    Mount mount;

    RootState() {
        const char* fromEnvironment = std::getenv("KL_DEVICE_ROOT");
        root = normalisedRoot(fromEnvironment ? fromEnvironment : "/");
    }
};

RootState& rootState() {
    // Never destroyed: a worker may still read it while the process exits.
    static RootState& state = *new RootState;
    return state;
}

void appendComponents(std::deque<std::string>& pending, const std::string& path, bool atFront) {
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        if (slash > start) {
            components.emplace_back(path, start, slash - start);
        }
        start = slash + 1;
    }
    if (atFront) {
        pending.insert(pending.begin(), components.begin(), components.end());
    } else {
        pending.insert(pending.end(), components.begin(), components.end());
    }
}

std::string hostPath(const std::string& root, const Mount& mount,
                     const std::vector<std::string>& components) {
    std::string device;
    for (const std::string& component : components) {
        device += '/';
        device += component;
    }
    if (!mount.devicePath.empty() &&
        device.compare(0, mount.devicePath.size(), mount.devicePath) == 0 &&
        (device.size() == mount.devicePath.size() || device[mount.devicePath.size()] == '/')) {
        return mount.hostFolder + device.substr(mount.devicePath.size());
    }
    const std::string path = (root == "/" ? "" : root) + device;
    return path.empty() ? "/" : path;
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

} // namespace

std::string DeviceRoot::path() {
    RootState& state = rootState();
    std::lock_guard guard(state.lock);
    return state.root;
}

void DeviceRoot::setPath(const std::string& hostFolder) {
    std::string root = normalisedRoot(hostFolder);
    RootState& state = rootState();
    std::lock_guard guard(state.lock);
    state.root = std::move(root);
}

// Walks the device path one component at a time, the way the kernel would
// inside a chroot: ".." stops at the root, and a link's target is spliced into
// the components still to walk (an absolute one starting again from the root).
void DeviceRoot::mount(const std::string& devicePath, const std::string& hostFolder) {
    unmount();
    const std::string root = path();
    // The folder as the device resolves it, so that paths reaching it
    // through a link (/var as a link to /private/var) find the mount too.
    std::string resolved = withoutTrailingSlashes(hostPathFor(devicePath));
    if (root != "/") {
        resolved = resolved.size() > root.size() ? resolved.substr(root.size()) : "";
    }
    RootState& state = rootState();
    std::lock_guard guard(state.lock);
    state.mount = {resolved == "/" ? "" : resolved, normalisedRoot(hostFolder)};
}

void DeviceRoot::unmount() {
    RootState& state = rootState();
    std::lock_guard guard(state.lock);
    state.mount = {};
}

std::string DeviceRoot::hostPathFor(const std::string& devicePath, bool followFinalLink) {
    std::string root;
    Mount mount;
    {
        RootState& state = rootState();
        std::lock_guard guard(state.lock);
        root = state.root;
        mount = state.mount;
    }
    // A trailing slash asks for a folder, so a link there is always followed.
    const bool trailingSlash = devicePath.size() > 1 && devicePath.back() == '/';
    followFinalLink = followFinalLink || trailingSlash;

    std::deque<std::string> pending;
    appendComponents(pending, devicePath, false);
    std::vector<std::string> resolved;
    int linksFollowed = 0;
    // Index in `resolved` of the first component that does not exist; below
    // it there is nothing to resolve, until ".." climbs back above it.
    size_t missingFrom = std::string::npos;

    while (!pending.empty()) {
        std::string component = std::move(pending.front());
        pending.pop_front();
        if (component == ".") {
            continue;
        }
        if (component == "..") {
            if (!resolved.empty()) {
                resolved.pop_back();
            }
            if (resolved.size() <= missingFrom) {
                missingFrom = std::string::npos;
            }
            continue;
        }
        resolved.push_back(std::move(component));
        if (missingFrom != std::string::npos || (pending.empty() && !followFinalLink)) {
            continue;
        }
        std::string candidate = hostPath(root, mount, resolved);
        struct stat info {};
        if (lstat(candidate.c_str(), &info) != 0) {
            missingFrom = resolved.size() - 1;
            continue;
        }
        if (!S_ISLNK(info.st_mode)) {
            continue;
        }
        if (++linksFollowed > kMaximumLinks) {
            return {};
        }
        std::string target = readLink(candidate);
        resolved.pop_back();
        if (target.empty()) {
            return {};
        }
        if (target.front() == '/') {
            resolved.clear();
        }
        appendComponents(pending, target, true);
    }

    std::string result = hostPath(root, mount, resolved);
    if (trailingSlash && result.back() != '/') {
        result += '/';
    }
    return result;
}
