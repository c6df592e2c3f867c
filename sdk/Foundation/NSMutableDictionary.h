#pragma once

#include <string>

#include <Foundation/Value.h>
#include <objc/NSObject.h>
#include <objc/Ref.h>

// A dictionary object with text keys and property-list values.
class NSMutableDictionary : public NSObject {
public:
    Ref<NSMutableDictionary> init();
    // The dictionary held in a property-list file (XML, binary or old-style)
    // at a device path; nil when the file is missing, unreadable, malformed or
    // holds something other than a dictionary.
    Ref<NSMutableDictionary> initWithContentsOfFile(const std::string& path);

    // nil when the key is absent.
    const Value& objectForKey(const std::string& key) const;
    // Raises NSInvalidArgumentException for a nil value, as the platform does.
    void setObject(const Value& value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    const Value::Dictionary& dictionary() const { return _entries; }
    size_t count() const { return _entries.size(); }

private:
    Value::Dictionary _entries;
};
