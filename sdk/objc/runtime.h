#pragma once

#include <concepts>
#include <cstddef>
#include <span>
#include <string>
#include <variant>

#include <objc/Forward.h>

// What a message sent by name carries in and out: nil, an object, a text or a
// number. Receivers read their arguments with the accessors, which answer nil
// (or 0) for anything of another kind, as a message to nil does.
class Id {
public:
    Id() = default;
    Id(std::nullptr_t) {}
    template <class T> Id(Ref<T> object) {
        if (object) {
            _value = Ref<NSObject>(std::move(object));
        }
    }
    Id(std::string text) : _value(std::move(text)) {}
    Id(const char* text) : _value(std::string(text)) {}
    Id(long number) : _value(number) {}
    Id(int number) : _value(static_cast<long>(number)) {}
    Id(double number) : _value(number) {}
    // Only a real bool: pointers must not turn into flags.
    template <class B>
    requires std::same_as<B, bool> Id(B flag) : _value(flag) {}

    bool isNil() const { return std::holds_alternative<std::monostate>(_value); }
    explicit operator bool() const { return !isNil(); }

    Ref<NSObject> object() const;
    template <class T> Ref<T> object() const { return objc_cast<T>(object()); }
    // The text, or nullptr when this is not a text.
    const std::string* string() const { return std::get_if<std::string>(&_value); }
    long longValue() const;
    double doubleValue() const;
    bool boolValue() const { return longValue() != 0 || doubleValue() != 0; }

private:
    std::variant<std::monostate, Ref<NSObject>, std::string, long, double, bool> _value;
};

using IMP = Id (*)(const Id& receiver, std::span<const Id> arguments);

struct objc_method {
    const char* name;
    IMP imp;
};

// A class as the runtime knows it by name. Exported classes define one record
// as a constant named OBJC_CLASS_$_<name>, so loading a library runs nothing.
struct objc_class {
    const char* name;
    const objc_class* superclass;
    std::span<const objc_method> classMethods;
    std::span<const objc_method> instanceMethods;
};
using Class = const objc_class*;

// The class exported under this name by any library loaded in the process, or
// nullptr when none is.
Class objc_getClass(const char* name);

// Sends a message by its selector. Nil in, nil out: a nil receiver, or one that
// does not respond to the selector, yields nil.
Id objc_msgSend(Class receiver, const char* selector, std::span<const Id> arguments = {});
Id objc_msgSend(const Id& receiver, const char* selector, std::span<const Id> arguments = {});
inline Id objc_msgSend(const Id& receiver, const char* selector, const Id& argument) {
    return objc_msgSend(receiver, selector, std::span<const Id>(&argument, 1));
}
inline Id objc_msgSend(Class receiver, const char* selector, const Id& argument) {
    return objc_msgSend(receiver, selector, std::span<const Id>(&argument, 1));
}

// Whether instances of the class (or the class itself) answer the selector.
bool class_respondsToSelector(Class cls, const char* selector);
