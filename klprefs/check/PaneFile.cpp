#include "PaneFile.h"

#include <Foundation/NSBundle.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/NSPropertyListSerialization.h>

namespace {

// The properties that identify the entry a specifier was made from; the
// others may change once it is loaded (texts are localised, cells write
// their "height").
constexpr const char* kIdentifyingKeys[] = {"cell",     "cellClass", "key", "id",  "label",
                                            "defaults", "action",    "get", "set", "detail"};

} // namespace

std::unique_ptr<PaneFile> PaneFile::load(const Ref<NSBundle>& bundle, const std::string& pane) {
    std::optional<std::string> path = bundle->pathForResource(pane, "plist");
    if (!path) {
        return nullptr;
    }
    std::optional<NSData> contents = NSFileManager::defaultManager()->contentsAtPath(
        *path, nullptr, NSPropertyListSerialization::kMaximumFileLength);
    if (!contents) {
        return nullptr;
    }
    std::optional<Value> plist = NSPropertyListSerialization::propertyListWithData(*contents);
    if (!plist || !plist->dictionary()) {
        return nullptr;
    }
    auto file = std::make_unique<PaneFile>();
    file->_pane = pane;
    file->_file = path->substr(std::min(path->size(), bundle->bundlePath().size() + 1));
    file->_plist = *plist->dictionary();
    if (const Value::Array* items = plist->objectForKey("items").array()) {
        file->_items = *items;
    }
    file->_lines = std::make_unique<PlistLines>(std::string(contents->begin(), contents->end()));
    return file;
}

std::optional<size_t> PaneFile::itemOf(const Ref<PSSpecifier>& specifier) const {
    for (size_t index = 0; index < _items.size(); ++index) {
        const Value::Dictionary* item = _items[index].dictionary();
        if (!item) {
            continue;
        }
        bool same = true;
        for (const char* key : kIdentifyingKeys) {
            auto found = item->find(key);
            const Value value = found == item->end() ? Value() : found->second;
            if (!(value == specifier->propertyForKey(key))) {
                same = false;
                break;
            }
        }
        if (same) {
            return index;
        }
    }
    return std::nullopt;
}

CheckFinding PaneFile::finding(const std::string& rule, CheckLevel level,
                               std::optional<size_t> item, const std::optional<std::string>& key,
                               const std::string& subject, const std::string& message) const {
    CheckFinding finding;
    finding.rule = rule;
    finding.level = level;
    finding.file = _file;
    finding.item = item;
    finding.key = key;
    if (item) {
        finding.line = key ? _lines->keyLine(*item, *key) : _lines->itemLine(*item);
    }
    finding.subject = subject;
    finding.message = message;
    return finding;
}

std::optional<std::string> PaneFile::text(const Value::Dictionary& item, const char* key) {
    auto found = item.find(key);
    return found == item.end() ? std::nullopt : found->second.optionalString();
}
