#include <Foundation/NSSet.h>

#include <algorithm>

#include <Foundation/NSException.h>

Ref<NSSet> NSSet::setWithObjects(const std::vector<Ref<NSObject>>& objects) {
    Ref<NSSet> set = alloc<NSSet>();
    for (const Ref<NSObject>& object : objects) {
        if (!object) {
            throw NSException(NSInvalidArgumentException,
                              "*** -[NSSet initWithObjects:count:]: attempt to insert nil object");
        }
        if (!set->containsObject(object)) {
            set->_members.push_back(object);
        }
    }
    return set;
}

Ref<NSSet> NSSet::setWithArray(const Ref<NSArray>& array) {
    return setWithObjects(array ? array->objects() : std::vector<Ref<NSObject>>());
}

bool NSSet::containsObject(const Ref<NSObject>& object) const {
    return std::find(_members.begin(), _members.end(), object) != _members.end();
}
