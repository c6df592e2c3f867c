#pragma once

#include <concepts>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include <objc/runtime.h>

// Method tables of a class exported by name, made from its typed members.
// Each entry reads the message's arguments as the member's parameter types
// and turns its result back into an Id, so exporting a class takes its record
// and a table, nothing written by hand:
//
//   constexpr objc_method kInstanceMethods[] = {
//       ObjCExport::method<&KLUtilities::rootPrefix>("rootPrefix")};
//   extern "C" __attribute__((visibility("default"))) constinit const objc_class
//       OBJC_CLASS_$_KLUtilities{"KLUtilities", nullptr, kClassMethods, kInstanceMethods};
//
// Arguments are read as messages read them: a missing or nil argument is 0,
// NO or nil, an object of another class is nil; a text parameter that is not
// optional answers the message with nil when it gets no text.
namespace ObjCExport {

namespace detail {

template <class T> struct IsRef : std::false_type {};
template <class T> struct IsRef<Ref<T>> : std::true_type { using Element = T; };

// A parameter's value from an argument; nullopt when the member cannot be called with it.
template <class T> std::optional<T> read(const Id& argument) {
    if constexpr (std::same_as<T, Id>) {
        return argument;
    } else if constexpr (std::same_as<T, bool>) {
        return argument.boolValue();
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<T>(argument.longValue());
    } else if constexpr (std::is_integral_v<T>) {
        return static_cast<T>(argument.longValue());
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(argument.doubleValue());
    } else if constexpr (std::same_as<T, std::string>) {
        const std::string* text = argument.string();
        return text ? std::optional<T>(*text) : std::nullopt;
    } else if constexpr (std::same_as<T, std::optional<std::string>>) {
        const std::string* text = argument.string();
        return std::optional<T>(text ? T(*text) : T());
    } else {
        static_assert(IsRef<T>::value, "a parameter sent by name is a number, a text or an object");
        return std::optional<T>(argument.object<typename IsRef<T>::Element>());
    }
}

template <class R> Id result(R&& value) {
    using T = std::remove_cvref_t<R>;
    if constexpr (std::same_as<T, bool> || std::same_as<T, std::string> || std::same_as<T, Id>) {
        return Id(std::forward<R>(value));
    } else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) {
        return Id(static_cast<long>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        return Id(static_cast<double>(value));
    } else if constexpr (std::same_as<T, std::optional<std::string>>) {
        return value ? Id(*value) : Id();
    } else {
        static_assert(IsRef<T>::value, "a result sent by name is a number, a text or an object");
        return Id(value);
    }
}

// Reads every argument, then calls; nil when an argument cannot be read.
template <class R, class... Params, class Call, size_t... I>
Id callWith(Call&& call, std::span<const Id> arguments, std::index_sequence<I...>) {
    const Id none;
    std::tuple<std::optional<std::remove_cvref_t<Params>>...> values{
        read<std::remove_cvref_t<Params>>(I < arguments.size() ? arguments[I] : none)...};
    if (!(std::get<I>(values).has_value() && ...)) {
        return Id();
    }
    if constexpr (std::is_void_v<R>) {
        call(*std::get<I>(values)...);
        return Id();
    } else {
        return result(call(*std::get<I>(values)...));
    }
}

template <auto F, class Signature = decltype(F)> struct Invoker;

template <auto F, class C, class R, class... Params> struct Invoker<F, R (C::*)(Params...)> {
    static Id imp(const Id& receiver, std::span<const Id> arguments) {
        Ref<C> object = receiver.object<C>();
        if (!object) {
            return Id();
        }
        return callWith<R, Params...>(
            [&](auto&&... values) -> R { return ((*object).*F)(values...); }, arguments,
            std::index_sequence_for<Params...>());
    }
};

template <auto F, class C, class R, class... Params> struct Invoker<F, R (C::*)(Params...) const> {
    static Id imp(const Id& receiver, std::span<const Id> arguments) {
        Ref<C> object = receiver.object<C>();
        if (!object) {
            return Id();
        }
        return callWith<R, Params...>(
            [&](auto&&... values) -> R { return ((*object).*F)(values...); }, arguments,
            std::index_sequence_for<Params...>());
    }
};

template <auto F, class R, class... Params> struct Invoker<F, R (*)(Params...)> {
    static Id imp(const Id&, std::span<const Id> arguments) {
        return callWith<R, Params...>([](auto&&... values) -> R { return F(values...); }, arguments,
                                      std::index_sequence_for<Params...>());
    }
};

template <class T> Id allocate(const Id&, std::span<const Id>) {
    return alloc<T>();
}

} // namespace detail

// An instance method answered by a member function of the receiver's class.
template <auto Member> constexpr objc_method method(const char* selector) {
    static_assert(std::is_member_function_pointer_v<decltype(Member)>);
    return {selector, &detail::Invoker<Member>::imp};
}

// A class method answered by a static member or free function.
template <auto Function> constexpr objc_method classMethod(const char* selector) {
    static_assert(std::is_pointer_v<decltype(Function)>);
    return {selector, &detail::Invoker<Function>::imp};
}

// "alloc": makes the storage of a T; an "init…" method then builds it.
template <class T> constexpr objc_method allocMethod() {
    return {"alloc", &detail::allocate<T>};
}

} // namespace ObjCExport
