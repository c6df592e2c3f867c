#include <Preferences/PSSpecifier.h>

Ref<PSSpecifier> PSSpecifier::initWithProperties(Value::Dictionary properties) {
    _properties = std::move(properties);
    _name = propertyForKey("label").optionalString();
    return self<PSSpecifier>();
}

Value PSSpecifier::propertyForKey(const std::string& key) const {
    auto found = _properties.find(key);
    return found == _properties.end() ? Value() : found->second;
}

void PSSpecifier::setProperty(const Value& value, const std::string& key) {
    if (value.isNil()) {
        _properties.erase(key);
        return;
    }
    _properties[key] = value;
}

void PSSpecifier::removePropertyForKey(const std::string& key) {
    _properties.erase(key);
}

std::optional<std::string> PSSpecifier::identifier() const {
    for (const char* key : {"id", "key"}) {
        if (auto text = propertyForKey(key).optionalString()) {
            return text;
        }
    }
    return _name;
}

std::string PSSpecifier::cellType() const {
    return propertyForKey("cell").optionalString().value_or("PSTableCell");
}

Value PSSpecifier::performGetter() {
    return _getter ? _getter(self<PSSpecifier>()) : Value();
}

void PSSpecifier::performSetterWithValue(const Value& value) {
    if (_setter) {
        _setter(value, self<PSSpecifier>());
    }
}
