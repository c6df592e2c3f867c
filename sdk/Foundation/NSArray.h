#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include <objc/NSObject.h>

// An ordered, unchanging list of objects, as messages sent by name carry
// them. Nil cannot be an element: adding it raises NSInvalidArgumentException.
class NSArray : public NSObject {
public:
    static Ref<NSArray> array() { return arrayWithObjects({}); }
    static Ref<NSArray> arrayWithObjects(std::vector<Ref<NSObject>> objects);
    static Ref<NSArray> arrayWithObjects(std::initializer_list<Ref<NSObject>> objects) {
        return arrayWithObjects(std::vector<Ref<NSObject>>(objects));
    }

    size_t count() const { return _objects.size(); }
    // Raises NSRangeException past the end.
    Ref<NSObject> objectAtIndex(size_t index) const;
    // nil when the array is empty.
    Ref<NSObject> firstObject() const { return _objects.empty() ? nullptr : _objects.front(); }
    Ref<NSObject> lastObject() const { return _objects.empty() ? nullptr : _objects.back(); }
    // Elements are equal when they are the same object.
    bool containsObject(const Ref<NSObject>& object) const;
    // The elements in order, for range-based loops.
    const std::vector<Ref<NSObject>>& objects() const { return _objects; }

private:
    std::vector<Ref<NSObject>> _objects;
};
