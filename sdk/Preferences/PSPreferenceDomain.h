#pragma once

#include <optional>
#include <string>

#include <Foundation/Value.h>

// A preference domain on the device: the property list at
// /var/mobile/Library/Preferences/<domain>.plist, a dictionary of stored values.
class PSPreferenceDomain {
public:
    PSPreferenceDomain() = delete;

    static std::string pathForDomain(const std::string& domain);
    // Every stored value; an empty dictionary when the file is missing, and nil
    // (with the reason in `error`) when it exists but is not a readable dictionary.
    static std::optional<Value::Dictionary> contents(const std::string& domain,
                                                     std::string* error = nullptr);
    // One stored value; nil when nothing is stored under the key.
    static Value valueForKey(const std::string& domain, const std::string& key);
    // Stores (or, for nil, removes) one value and rewrites the file atomically,
    // keeping every other value and the file's format. A file that exists but
    // cannot be read is left as it is, and the write fails, rather than losing
    // what it holds.
    static bool setValueForKey(const std::string& domain, const std::string& key,
                               const Value& value, std::string* error = nullptr);
};
