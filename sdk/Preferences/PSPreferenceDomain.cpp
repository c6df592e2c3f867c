#include <Preferences/PSPreferenceDomain.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/Unicode.h>

namespace {

constexpr const char* kExtension = ".plist";
constexpr const char* kLockExtension = ".lock";
// NSFileManager's atomic writes go through ".<file name>.XXXXXX" beside the file.
constexpr size_t kTemporarySuffixLength = 6;

bool setError(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    return false;
}

// The name as it can be shown on one line: control characters escaped.
std::string printable(const std::string& name) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (unsigned char c : name) {
        if (c == '\n') {
            shown += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 0xF];
        } else {
            shown += static_cast<char>(c);
        }
    }
    return Unicode::isValidUTF8(shown) ? shown : "(not UTF-8)";
}

struct StoredDomain {
    Value::Dictionary values;
    // The form the file has; new files are binary, as the device writes them.
    NSPropertyListFormat format = NSPropertyListBinaryFormat_v1_0;
};

// The domain file read last and what it held.
struct ParsedFile {
    std::mutex mutex;
    std::string key;
    NSData bytes;
    StoredDomain domain;
};
ParsedFile& lastParsed() {
    // Never destroyed: a worker may still read a domain while the process exits.
    static ParsedFile& parsed = *new ParsedFile;
    return parsed;
}

std::optional<StoredDomain> load(const std::string& path, std::string* error) {
    // A link in place of the domain file would send reads and writes to the
    // file it names, anywhere on the device; the domain file must be the
    // preferences folder's own.
    struct stat entry {};
    if (lstat(DeviceRoot::hostPathFor(path, false).c_str(), &entry) == 0 &&
        S_ISLNK(entry.st_mode)) {
        setError(error, "\"" + path + "\" is a symbolic link, not a regular file");
        return std::nullopt;
    }
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    std::string reason;
    std::optional<NSData> data =
        files->contentsAtPath(path, &reason, NSPropertyListSerialization::kMaximumFileLength);
    if (!data) {
        // Only a missing file is an empty domain; one that cannot be read
        // must not be replaced by a file that lacks what it holds.
        if (!files->fileExistsAtPath(path)) {
            return StoredDomain{};
        }
        setError(error, reason);
        return std::nullopt;
    }
    // A page reads its domain once for each row; the same bytes are not
    // parsed again.
    const std::string key = DeviceRoot::path() + path;
    {
        ParsedFile& parsed = lastParsed();
        std::lock_guard<std::mutex> lock(parsed.mutex);
        if (parsed.key == key && parsed.bytes == *data) {
            return parsed.domain;
        }
    }
    StoredDomain domain;
    std::optional<Value> plist =
        NSPropertyListSerialization::propertyListWithData(*data, &domain.format, &reason);
    if (!plist || !plist->dictionary()) {
        setError(error, path + " is not a property-list dictionary" +
                            (reason.empty() ? "" : ": " + reason));
        return std::nullopt;
    }
    domain.values = *plist->dictionary();
    ParsedFile& parsed = lastParsed();
    std::lock_guard<std::mutex> lock(parsed.mutex);
    parsed.key = key;
    parsed.bytes = std::move(*data);
    parsed.domain = domain;
    return domain;
}

// Holds a domain's advisory lock (flock, so it goes with the process that
// dies holding it) while it lives.
class DomainLock {
public:
    explicit DomainLock(const std::string& hostPath) {
        _fd = open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (_fd < 0) {
            _code = errno;
            return;
        }
        struct stat info {};
        if (fstat(_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            _code = EINVAL;
            return;
        }
        while (flock(_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                _code = errno;
                return;
            }
        }
    }
    ~DomainLock() {
        if (_fd >= 0) {
            close(_fd);
        }
    }
    DomainLock(const DomainLock&) = delete;
    DomainLock& operator=(const DomainLock&) = delete;

    // 0 when held, else why not.
    int failure() const { return _code; }

private:
    int _fd = -1;
    int _code = 0;
};

// Removes the temporary copies of the domain file that writers killed
// mid-write left in the folder. Called with the domain's lock held: every
// writer holds it while its copy exists, so any copy found is a dead one's.
void removeLeftovers(const std::string& hostFolder, const std::string& fileName) {
    DIR* folder = opendir(hostFolder.c_str());
    if (!folder) {
        return;
    }
    const std::string prefix = "." + fileName + ".";
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffixLength ||
            name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        struct stat info {};
        const std::string path = hostFolder + "/" + name;
        if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            unlink(path.c_str());
        }
    }
    closedir(folder);
}

} // namespace

bool PSPreferenceDomain::isValidDomainName(const std::string& domain, std::string* error) {
    auto refuse = [&](const char* why) {
        return setError(error, "\"" + printable(domain) + "\" is not a preference domain: " + why);
    };
    if (domain.empty()) {
        return refuse("the name is empty");
    }
    if (domain == "." || domain == "..") {
        return refuse("the name is a folder's");
    }
    if (domain.find('/') != std::string::npos) {
        return refuse("a domain is one file name, without \"/\"");
    }
    for (unsigned char c : domain) {
        if (c < 0x20 || c == 0x7F) {
            return refuse("the name holds a control character");
        }
    }
    if (!Unicode::isValidUTF8(domain)) {
        return refuse("the name is not UTF-8 text");
    }
    return true;
}

std::optional<std::string> PSPreferenceDomain::pathForDomain(const std::string& domain) {
    if (!isValidDomainName(domain)) {
        return std::nullopt;
    }
    return std::string(kPreferencesFolder) + "/" + domain + kExtension;
}

std::optional<Value::Dictionary> PSPreferenceDomain::contents(const std::string& domain,
                                                              std::string* error) {
    if (!isValidDomainName(domain, error)) {
        return std::nullopt;
    }
    std::optional<StoredDomain> stored = load(*pathForDomain(domain), error);
    if (!stored) {
        return std::nullopt;
    }
    return std::move(stored->values);
}

Value PSPreferenceDomain::valueForKey(const std::string& domain, const std::string& key) {
    std::optional<Value::Dictionary> stored = contents(domain);
    if (!stored) {
        return Value();
    }
    auto found = stored->find(key);
    return found == stored->end() ? Value() : found->second;
}

bool PSPreferenceDomain::setValueForKey(const std::string& domain, const std::string& key,
                                        const Value& value, std::string* error) {
    if (!isValidDomainName(domain, error)) {
        return false;
    }
    const std::string path = *pathForDomain(domain);
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    if (!files->createDirectoryAtPath(kPreferencesFolder, true, error)) {
        return false;
    }
    const std::string hostFolder = DeviceRoot::hostPathFor(kPreferencesFolder);
    const std::string fileName = domain + kExtension;
    DomainLock lock(hostFolder + "/" + fileName + kLockExtension);
    if (lock.failure() != 0) {
        return setError(error, "Could not lock \"" + path + "\": " + std::strerror(lock.failure()));
    }
    removeLeftovers(hostFolder, fileName);

    std::optional<StoredDomain> stored = load(path, error);
    if (!stored) {
        return false;
    }
    if (value.isNil()) {
        stored->values.erase(key);
    } else {
        stored->values[key] = value;
    }
    return NSPropertyListSerialization::writePropertyList(Value(std::move(stored->values)), path,
                                                          stored->format, error);
}
