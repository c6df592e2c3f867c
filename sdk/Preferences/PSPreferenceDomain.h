#pragma once

#include <optional>
#include <string>

#include <Foundation/Value.h>

// A preference domain on the device: the property list at
// /var/mobile/Library/Preferences/<domain>.plist, a dictionary of stored values.
// A domain is one plain file name in that folder; any other name (empty, ".",
// "..", holding a "/", a control character or text that is not UTF-8) names
// no domain, so nothing is ever read or written outside the folder.
class PSPreferenceDomain {
public:
    PSPreferenceDomain() = delete;

    static constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

    // Whether the name can name a domain; when not, `error` says why.
    static bool isValidDomainName(const std::string& domain, std::string* error = nullptr);
    // The domain file's device path; nil for a name that names no domain.
    static std::optional<std::string> pathForDomain(const std::string& domain);
    // Every stored value; an empty dictionary when the file is missing, and nil
    // (with the reason in `error`) when the name is not a domain's or the file
    // exists but is not a readable dictionary (a folder, a FIFO, a device or a
    // malformed list: never waited on).
    static std::optional<Value::Dictionary> contents(const std::string& domain,
                                                     std::string* error = nullptr);
    // One stored value; nil when nothing is stored under the key.
    static Value valueForKey(const std::string& domain, const std::string& key);
    // Stores (or, for nil, removes) one value and rewrites the file atomically,
    // keeping every other value and the file's format. Writers of a domain,
    // in this process or others, take turns on an advisory lock beside the
    // file ("<domain>.plist.lock"), so no update is lost; the temporary copies
    // a killed writer left behind are removed. A file that exists but cannot
    // be read is left as it is, and the write fails, rather than losing what
    // it holds.
    static bool setValueForKey(const std::string& domain, const std::string& key,
                               const Value& value, std::string* error = nullptr);
};
