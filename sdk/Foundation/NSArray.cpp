#include <Foundation/NSArray.h>

#include <algorithm>

#include <Foundation/NSException.h>

Ref<NSArray> NSArray::arrayWithObjects(std::vector<Ref<NSObject>> objects) {
    if (std::find(objects.begin(), objects.end(), nullptr) != objects.end()) {
        throw NSException(NSInvalidArgumentException,
                          "*** -[NSArray initWithObjects:count:]: attempt to insert nil object");
    }
    Ref<NSArray> array = alloc<NSArray>();
    array->_objects = std::move(objects);
    return array;
}

Ref<NSObject> NSArray::objectAtIndex(size_t index) const {
    if (index >= _objects.size()) {
        throw NSException(NSRangeException, "*** -[NSArray objectAtIndex:]: index " +
                                                std::to_string(index) + " beyond bounds [0 .. " +
                                                std::to_string(_objects.size()) + ")");
    }
    return _objects[index];
}

bool NSArray::containsObject(const Ref<NSObject>& object) const {
    return std::find(_objects.begin(), _objects.end(), object) != _objects.end();
}
