#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using NSData = std::vector<uint8_t>;

// A property-list value as Foundation hands it out for `id`: nil, a boolean, an
// integer, a real, a text, data, a date, an array or a dictionary. The number
// conversions behave as NSNumber's and NSString's do, and nil answers 0 as a
// message to nil does.
class Value {
public:
    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value>;
    // A date, in seconds since 2001-01-01 00:00:00 UTC, as NSDate counts.
    struct Date {
        double sinceReferenceDate = 0;
        bool operator==(const Date&) const = default;
    };
    enum class Type { Nil, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool flag) : _storage(flag) {}
    Value(int number) : _storage(static_cast<int64_t>(number)) {}
    Value(long number) : _storage(static_cast<int64_t>(number)) {}
    Value(long long number) : _storage(static_cast<int64_t>(number)) {}
    Value(double number) : _storage(number) {}
    // A null text pointer is nil.
    Value(const char* text) {
        if (text) {
            _storage = std::string(text);
        }
    }
    Value(std::string text) : _storage(std::move(text)) {}
    Value(std::string_view text) : _storage(std::string(text)) {}
    Value(NSData data) : _storage(std::move(data)) {}
    Value(Date date) : _storage(date) {}
    Value(Array array) : _storage(std::make_shared<Array>(std::move(array))) {}
    Value(Dictionary dictionary) : _storage(std::make_shared<Dictionary>(std::move(dictionary))) {}
    // A nil optional text is nil.
    Value(const std::optional<std::string>& text) {
        if (text) {
            _storage = *text;
        }
    }

    // [NSNumber numberWithInt:] and friends, for reading call sites as the platform's.
    static Value numberWithInt(int32_t number) { return Value(number); }
    static Value numberWithDouble(double number) { return Value(number); }
    static Value numberWithBool(bool flag) { return Value(flag); }

    Type type() const { return static_cast<Type>(_storage.index()); }
    bool isNil() const { return type() == Type::Nil; }
    bool isNumber() const;
    bool isString() const { return type() == Type::String; }

    // NSNumber and NSString conversions; 0 (NO) for nil and for other kinds.
    double doubleValue() const;
    float floatValue() const;
    int32_t intValue() const;
    long integerValue() const;
    bool boolValue() const;

    // The contents, or nullptr for a value of another kind.
    const std::string* string() const { return std::get_if<std::string>(&_storage); }
    const NSData* data() const { return std::get_if<NSData>(&_storage); }
    const Date* date() const { return std::get_if<Date>(&_storage); }
    const Array* array() const;
    const Dictionary* dictionary() const;
    // The text, or nil when this is not a text.
    std::optional<std::string> optionalString() const;

    // A dictionary's entry; nil when absent or when this is not a dictionary.
    const Value& objectForKey(const std::string& key) const;
    const Value& operator[](const std::string& key) const { return objectForKey(key); }

    // Dictionaries and arrays compare by contents; an integer and a real of
    // the same number are different values, as in a property list.
    bool operator==(const Value& other) const;

private:
    using ArrayRef = std::shared_ptr<Array>;
    using DictionaryRef = std::shared_ptr<Dictionary>;
    std::variant<std::monostate, bool, int64_t, double, std::string, NSData, Date, ArrayRef,
                 DictionaryRef>
        _storage;
};
