#include <Preferences/PSPreferenceDomain.h>

#include <Foundation/NSFileManager.h>
#include <Foundation/NSPropertyListSerialization.h>

namespace {

struct StoredDomain {
    Value::Dictionary values;
    // The form the file has; new files are binary, as the device writes them.
    NSPropertyListFormat format = NSPropertyListBinaryFormat_v1_0;
};

std::optional<StoredDomain> load(const std::string& path, std::string* error) {
    std::optional<NSData> data = NSFileManager::defaultManager()->contentsAtPath(path);
    if (!data) {
        return StoredDomain{};
    }
    StoredDomain domain;
    std::string reason;
    std::optional<Value> plist =
        NSPropertyListSerialization::propertyListWithData(*data, &domain.format, &reason);
    if (!plist || !plist->dictionary()) {
        if (error) {
            *error =
                path + " is not a property-list dictionary" + (reason.empty() ? "" : ": " + reason);
        }
        return std::nullopt;
    }
    domain.values = *plist->dictionary();
    return domain;
}

} // namespace

std::string PSPreferenceDomain::pathForDomain(const std::string& domain) {
    return "/var/mobile/Library/Preferences/" + domain + ".plist";
}

std::optional<Value::Dictionary> PSPreferenceDomain::contents(const std::string& domain,
                                                              std::string* error) {
    std::optional<StoredDomain> stored = load(pathForDomain(domain), error);
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
    const std::string path = pathForDomain(domain);
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
