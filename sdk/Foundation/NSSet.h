#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include <Foundation/NSArray.h>
#include <objc/Forward.h>

// An unordered, unchanging collection of distinct objects (distinct by
// identity), as messages sent by name carry them, such as the actions a
// system service is asked to run. Nil cannot be a member: adding it raises
// NSInvalidArgumentException.
class NSSet : public NSObject {
public:
    static Ref<NSSet> set() { return setWithObjects({}); }
    static Ref<NSSet> setWithObject(const Ref<NSObject>& object) {
        return setWithObjects({object});
    }
    static Ref<NSSet> setWithObjects(const std::vector<Ref<NSObject>>& objects);
    static Ref<NSSet> setWithObjects(std::initializer_list<Ref<NSObject>> objects) {
        return setWithObjects(std::vector<Ref<NSObject>>(objects));
    }
    // nil gives the empty set.
    static Ref<NSSet> setWithArray(const Ref<NSArray>& array);

    size_t count() const { return _members.size(); }
    bool containsObject(const Ref<NSObject>& object) const;
    // Some member; nil when the set is empty.
    Ref<NSObject> anyObject() const { return _members.empty() ? nullptr : _members.front(); }
    Ref<NSArray> allObjects() const { return NSArray::arrayWithObjects(_members); }

private:
    std::vector<Ref<NSObject>> _members;
};
