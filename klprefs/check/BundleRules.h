#pragma once

#include <map>
#include <string>
#include <vector>

#include <Foundation/Forward.h>
#include <objc/runtime.h>

#include "CheckFindings.h"
#include "PaneFile.h"

// The rules a page's items break whatever the device shows: rows that store
// nowhere, one key stored with two types, a "default" of another type, a
// domain name that is none, pictures that cannot be found or decoded or
// resolve in one layout only, links to panes and classes that are not here,
// cell classes no loaded library provides and selectors the controller does
// not answer.
class BundleRules {
public:
    // `controllerCodeLoaded`: NO when the bundle names code that could not be
    // loaded here, so that what only its classes could answer is an info.
    BundleRules(Ref<NSBundle> bundle, bool controllerCodeLoaded, CheckFindings& findings,
                std::vector<std::string> variants);

    // The pane's items, whose rows the class `target` is the target of.
    void check(const PaneFile& pane, Class target);

private:
    // The type a row stores, as a property list names it ("boolean",
    // "real", "integer", "text"); empty when it stores nothing or it
    // depends on what the row is given.
    static std::string storedType(const Value::Dictionary& item);
    static std::string typeName(const Value& value);

    void checkStorage(const PaneFile& pane, size_t index, const Value::Dictionary& item,
                      Class target);
    void checkImages(const PaneFile& pane, size_t index, const Value::Dictionary& item);
    void checkBundleImage(const PaneFile& pane, size_t index, const std::string& key,
                          const std::string& name);
    void checkRootPath(const PaneFile& pane, size_t index, const std::string& key,
                       const std::string& path);
    void checkLinks(const PaneFile& pane, size_t index, const Value::Dictionary& item);
    void checkCode(const PaneFile& pane, size_t index, const Value::Dictionary& item, Class target);
    void add(const CheckFinding& finding);

    Ref<NSBundle> _bundle;
    bool _controllerCodeLoaded;
    CheckFindings& _findings;
    std::vector<std::string> _variants;
    struct Stored {
        std::string type;
        std::string file;
        size_t item;
    };
    // The first row storing each domain's key, by "domain\nkey".
    std::map<std::string, Stored> _stored;
};
