#include <Foundation/NSMutableDictionary.h>

#include <Foundation/NSException.h>
#include <Foundation/NSPropertyListSerialization.h>

namespace {
const Value kNil;
}

Ref<NSMutableDictionary> NSMutableDictionary::init() {
    _entries.clear();
    return self<NSMutableDictionary>();
}

Ref<NSMutableDictionary> NSMutableDictionary::initWithContentsOfFile(const std::string& path) {
    std::optional<Value> contents =
        NSPropertyListSerialization::propertyListWithContentsOfFile(path);
    const Value::Dictionary* entries = contents ? contents->dictionary() : nullptr;
    if (!entries) {
        return nullptr;
    }
    _entries = *entries;
    return self<NSMutableDictionary>();
}

const Value& NSMutableDictionary::objectForKey(const std::string& key) const {
    auto found = _entries.find(key);
    return found == _entries.end() ? kNil : found->second;
}

void NSMutableDictionary::setObject(const Value& value, const std::string& key) {
    if (value.isNil()) {
        throw NSException(
            NSInvalidArgumentException,
            "-[NSMutableDictionary setObject:forKey:]: object cannot be nil (key: " + key + ")");
    }
    _entries.insert_or_assign(key, value);
}

void NSMutableDictionary::removeObjectForKey(const std::string& key) {
    _entries.erase(key);
}
