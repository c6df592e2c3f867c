#pragma once

#include <memory>
#include <string>

#include <objc/Ref.h>

struct objc_class;

// Root of every SDK and library class. Objects live in Ref<>s made by alloc<>(),
// so an object can hand out strong references to itself.
class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject() = default;

    Ref<NSObject> init() { return self(); }

    // A strong reference to this object, as the given class.
    template <class T = NSObject> Ref<T> self() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
    template <class T = NSObject> Ref<const T> self() const {
        return std::static_pointer_cast<const T>(shared_from_this());
    }
    template <class T = NSObject> Weak<T> weakSelf() { return self<T>(); }

    template <class T> bool isKindOfClass() const {
        return dynamic_cast<const T*>(this) != nullptr;
    }

    // The class name as the platform prints it, such as "UILabel".
    std::string className() const;

    // The class record under which this object answers messages sent by name:
    // the one a loaded image exports under its class name, nullptr when none
    // does. A class answering under another class's record overrides this.
    virtual const objc_class* objcClass() const;
};

// A checked down-cast that yields nil for nil or for an object of another class.
template <class T, class U> Ref<T> objc_cast(const Ref<U>& object) {
    return std::dynamic_pointer_cast<T>(object);
}
