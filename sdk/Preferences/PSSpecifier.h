#pragma once

#include <functional>
#include <optional>
#include <string>

#include <Foundation/Value.h>
#include <objc/NSObject.h>

class PSListController;

// One row of a settings page: its properties from the bundle, a getter and a
// setter for its stored value, and its target (the page's list controller).
class PSSpecifier : public NSObject {
public:
    using Getter = std::function<Value(const Ref<PSSpecifier>&)>;
    using Setter = std::function<void(const Value&, const Ref<PSSpecifier>&)>;

    // A specifier from one entry of a page's "items".
    Ref<PSSpecifier> initWithProperties(Value::Dictionary properties);

    // nil when the key is absent.
    Value propertyForKey(const std::string& key) const;
    void setProperty(const Value& value, const std::string& key);
    void removePropertyForKey(const std::string& key);
    const Value::Dictionary& properties() const { return _properties; }

    // The row's label ("label"), as shown.
    std::optional<std::string> name() const { return _name; }
    void setName(const std::optional<std::string>& name) { _name = name; }
    // "id", else "key", else the label.
    std::optional<std::string> identifier() const;
    // "cell": the kind of standard row (PSGroupCell, PSLinkCell, …).
    std::string cellType() const;

    Ref<PSListController> target() const { return _target.lock(); }
    void setTarget(const Ref<PSListController>& target) { _target = target; }
    void setGetter(Getter getter) { _getter = std::move(getter); }
    void setSetter(Setter setter) { _setter = std::move(setter); }

    // The stored value; nil when nothing is stored or there is no getter.
    Value performGetter();
    void performSetterWithValue(const Value& value);

private:
    Value::Dictionary _properties;
    std::optional<std::string> _name;
    Weak<PSListController> _target;
    Getter _getter;
    Setter _setter;
};
