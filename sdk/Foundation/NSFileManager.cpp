#include <Foundation/NSFileManager.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include <Foundation/DeviceRoot.h>

namespace {

bool fail(std::string* error, const std::string& what, const std::string& path, int code) {
    if (error) {
        *error = what + " \"" + path + "\": " + std::generic_category().message(code);
    }
    return false;
}

// The host path, or empty when the device path cannot be resolved (a loop of
// links), which the callers report as ELOOP.
std::string resolve(const std::string& path, bool followFinalLink) {
    return path.empty() ? std::string() : DeviceRoot::hostPathFor(path, followFinalLink);
}

int unresolvedCode(const std::string& path) {
    return path.empty() ? ENOENT : ELOOP;
}

bool writeAll(int fd, const NSData& contents) {
    size_t written = 0;
    while (written < contents.size()) {
        ssize_t count = write(fd, contents.data() + written, contents.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

Ref<NSFileManager> NSFileManager::defaultManager() {
    static const Ref<NSFileManager> manager = alloc<NSFileManager>();
    return manager;
}

bool NSFileManager::fileExistsAtPath(const std::string& path, bool* isDirectory) {
    std::string host = resolve(path, true);
    struct stat info {};
    if (host.empty() || stat(host.c_str(), &info) != 0) {
        return false;
    }
    if (isDirectory) {
        *isDirectory = S_ISDIR(info.st_mode);
    }
    return true;
}

std::vector<std::string> NSFileManager::contentsOfDirectoryAtPath(const std::string& path,
                                                                  std::string* error) {
    std::vector<std::string> names;
    std::string host = resolve(path, true);
    if (host.empty()) {
        fail(error, "Could not list", path, unresolvedCode(path));
        return names;
    }
    std::error_code code;
    for (std::filesystem::directory_iterator entries(host, code), end; !code && entries != end;
         entries.increment(code)) {
        names.push_back(entries->path().filename().string());
    }
    if (code) {
        fail(error, "Could not list", path, code.value());
        names.clear();
    }
    return names;
}

std::optional<NSData> NSFileManager::contentsAtPath(const std::string& path, std::string* error,
                                                    std::optional<size_t> maximumLength) {
    const char* what = "Could not read";
    std::string host = resolve(path, true);
    if (host.empty()) {
        fail(error, what, path, unresolvedCode(path));
        return std::nullopt;
    }
    // Opened without waiting, so a FIFO with no writer cannot hold the
    // reader up; only a regular file is then read.
    int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        fail(error, what, path, errno);
        return std::nullopt;
    }
    NSData contents;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = errno;
        close(fd);
        if (info.st_mode == 0) {
            fail(error, what, path, code);
        } else if (S_ISDIR(info.st_mode)) {
            fail(error, what, path, EISDIR);
        } else if (error) {
            *error = std::string(what) + " \"" + path + "\": not a regular file";
        }
        return std::nullopt;
    }
    // A file that grows while it is read is refused at the same length.
    auto tooLong = [&](uintmax_t length) {
        if (!maximumLength || length <= *maximumLength) {
            return false;
        }
        close(fd);
        if (error) {
            *error = std::string(what) + " \"" + path + "\": it is " + std::to_string(length) +
                     " bytes, more than the " + std::to_string(*maximumLength) +
                     " read from such a file";
        }
        return true;
    };
    if (tooLong(static_cast<uintmax_t>(info.st_size))) {
        return std::nullopt;
    }
    if (info.st_size > 0) {
        contents.reserve(static_cast<size_t>(info.st_size));
    }
    uint8_t buffer[65536];
    for (;;) {
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            int code = errno;
            close(fd);
            fail(error, what, path, code);
            return std::nullopt;
        }
        contents.insert(contents.end(), buffer, buffer + count);
        if (tooLong(contents.size())) {
            return std::nullopt;
        }
    }
    close(fd);
    return contents;
}

bool NSFileManager::createFileAtPath(const std::string& path, const NSData& contents,
                                     std::string* error) {
    const char* what = "Could not write";
    std::string host = resolve(path, true);
    if (host.empty()) {
        return fail(error, what, path, unresolvedCode(path));
    }
    std::filesystem::path target(host);
    if (!target.has_filename()) {
        return fail(error, what, path, EISDIR);
    }
    std::string folder = target.parent_path().string();
    std::string temporary = folder + "/." + target.filename().string() + ".XXXXXX";

    // A replaced file keeps its permissions; a new one is readable by all.
    struct stat existing {};
    mode_t mode = stat(host.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;

    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return fail(error, what, path, errno);
    }
    int code = 0;
    if (fchmod(fd, mode) != 0 || !writeAll(fd, contents) || fsync(fd) != 0) {
        code = errno;
    }
    if (close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0 && rename(temporary.c_str(), host.c_str()) != 0) {
        code = errno;
    }
    if (code != 0) {
        unlink(temporary.c_str());
        return fail(error, what, path, code);
    }
    syncFolder(folder);
    return true;
}

bool NSFileManager::createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                                          std::string* error) {
    const char* what = "Could not create the folder";
    if (path.empty()) {
        return fail(error, what, path, ENOENT);
    }
    // Each folder on the way is made through the device root, so links met on
    // the way resolve inside it.
    std::string prefix;
    size_t position = 0;
    while (position < path.size()) {
        size_t slash = path.find('/', position);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        prefix = path.substr(0, slash);
        position = slash + 1;
        if (prefix.empty() || prefix.back() == '/') {
            continue;
        }
        const bool last = path.find_first_not_of('/', position) == std::string::npos;
        std::string host = resolve(prefix, true);
        if (host.empty()) {
            return fail(error, what, path, ELOOP);
        }
        struct stat info {};
        if (stat(host.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                return fail(error, what, path, last ? EEXIST : ENOTDIR);
            }
            if (last && !withIntermediateDirectories) {
                return fail(error, what, path, EEXIST);
            }
            continue;
        }
        if (!last && !withIntermediateDirectories) {
            return fail(error, what, path, ENOENT);
        }
        if (mkdir(host.c_str(), 0755) != 0 && !(errno == EEXIST && withIntermediateDirectories)) {
            return fail(error, what, path, errno);
        }
    }
    return true;
}

bool NSFileManager::removeItemAtPath(const std::string& path, std::string* error) {
    const char* what = "Could not remove";
    std::string host = resolve(path, false);
    if (host.empty()) {
        return fail(error, what, path, unresolvedCode(path));
    }
    // The device's own root is never removed: with the root "/" that would
    // be this machine's.
    std::string withoutSlash = host;
    while (withoutSlash.size() > 1 && withoutSlash.back() == '/') {
        withoutSlash.pop_back();
    }
    if (withoutSlash == DeviceRoot::path()) {
        return fail(error, what, path, EBUSY);
    }
    struct stat info {};
    if (lstat(host.c_str(), &info) != 0) {
        return fail(error, what, path, errno);
    }
    std::error_code failure;
    std::filesystem::remove_all(host, failure);
    if (failure) {
        return fail(error, what, path, failure.value());
    }
    return true;
}
