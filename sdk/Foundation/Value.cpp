#include <Foundation/Value.h>

#include <cmath>
#include <limits>

#include <Foundation/NSString.h>

namespace {

const Value kNil;

template <class Integer> Integer saturatingCast(double number) {
    if (std::isnan(number)) {
        return 0;
    }
    if (number >= static_cast<double>(std::numeric_limits<Integer>::max())) {
        return std::numeric_limits<Integer>::max();
    }
    if (number <= static_cast<double>(std::numeric_limits<Integer>::min())) {
        return std::numeric_limits<Integer>::min();
    }
    return static_cast<Integer>(number);
}

} // namespace

bool Value::isNumber() const {
    Type t = type();
    return t == Type::Boolean || t == Type::Integer || t == Type::Real;
}

double Value::doubleValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(_storage) ? 1.0 : 0.0;
    case Type::Integer:
        return static_cast<double>(std::get<int64_t>(_storage));
    case Type::Real:
        return std::get<double>(_storage);
    case Type::String:
        return NSString::doubleValue(std::get<std::string>(_storage));
    default:
        return 0;
    }
}

float Value::floatValue() const {
    if (auto text = string()) {
        return NSString::floatValue(*text);
    }
    return static_cast<float>(doubleValue());
}

int32_t Value::intValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(_storage) ? 1 : 0;
    case Type::Integer:
        // NSNumber's intValue keeps the low 32 bits of a wider integer.
        return static_cast<int32_t>(static_cast<uint32_t>(std::get<int64_t>(_storage)));
    case Type::Real:
        return saturatingCast<int32_t>(std::get<double>(_storage));
    case Type::String:
        return NSString::intValue(std::get<std::string>(_storage));
    default:
        return 0;
    }
}

long Value::integerValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(_storage) ? 1 : 0;
    case Type::Integer:
        return static_cast<long>(std::get<int64_t>(_storage));
    case Type::Real:
        return saturatingCast<long>(std::get<double>(_storage));
    case Type::String:
        return NSString::integerValue(std::get<std::string>(_storage));
    default:
        return 0;
    }
}

bool Value::boolValue() const {
    switch (type()) {
    case Type::Boolean:
        return std::get<bool>(_storage);
    case Type::Integer:
        return std::get<int64_t>(_storage) != 0;
    case Type::Real:
        return std::get<double>(_storage) != 0.0;
    case Type::String:
        return NSString::boolValue(std::get<std::string>(_storage));
    default:
        return false;
    }
}

const Value::Array* Value::array() const {
    auto array = std::get_if<ArrayRef>(&_storage);
    return array ? array->get() : nullptr;
}

const Value::Dictionary* Value::dictionary() const {
    auto dictionary = std::get_if<DictionaryRef>(&_storage);
    return dictionary ? dictionary->get() : nullptr;
}

std::optional<std::string> Value::optionalString() const {
    if (auto text = string()) {
        return *text;
    }
    return std::nullopt;
}

const Value& Value::objectForKey(const std::string& key) const {
    if (auto entries = dictionary()) {
        auto found = entries->find(key);
        if (found != entries->end()) {
            return found->second;
        }
    }
    return kNil;
}

bool Value::operator==(const Value& other) const {
    if (type() != other.type()) {
        return false;
    }
    if (auto mine = array()) {
        return *mine == *other.array();
    }
    if (auto mine = dictionary()) {
        return *mine == *other.dictionary();
    }
    return _storage == other._storage;
}
