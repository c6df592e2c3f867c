#pragma once

#include <memory>
#include <optional>
#include <string>

#include <Foundation/Forward.h>
#include <Foundation/Value.h>
#include <Preferences/PSSpecifier.h>

#include "CheckFinding.h"
#include "PlistLines.h"

// A page's property list in the bundle ("Root", or the pane a link opens):
// its file name as findings name it, its items and their lines.
class PaneFile {
public:
    // nil when the bundle has no such pane or it is no readable dictionary.
    static std::unique_ptr<PaneFile> load(const Ref<NSBundle>& bundle, const std::string& pane);

    // The text under `key` in a dictionary of the bundle (an item, the
    // bundle's Info.plist); nil when there is none or it is no text.
    static std::optional<std::string> text(const Value::Dictionary& item, const char* key);

    const std::string& pane() const { return _pane; }
    // Relative to the bundle: "Root.plist", "en.lproj/Extra.plist".
    const std::string& file() const { return _file; }
    const Value::Dictionary& plist() const { return _plist; }
    const Value::Array& items() const { return _items; }
    // The entry of "items" a row's specifier was made from; nil for a row
    // the controller made in code.
    std::optional<size_t> itemOf(const Ref<PSSpecifier>& specifier) const;

    // A finding about an item's key, with its line where the file is XML.
    CheckFinding finding(const std::string& rule, CheckLevel level, std::optional<size_t> item,
                         const std::optional<std::string>& key, const std::string& subject,
                         const std::string& message) const;

private:
    std::string _pane;
    std::string _file;
    Value::Dictionary _plist;
    Value::Array _items;
    std::unique_ptr<PlistLines> _lines;
};
