#include "LocalizationRule.h"

#include <algorithm>
#include <cctype>

#include <Foundation/NSBundle.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/NSPropertyListSerialization.h>

namespace {

std::string folderOf(const std::string& localization) {
    return localization.empty() ? "" : localization + ".lproj/";
}

} // namespace

LocalizationRule::LocalizationRule(Ref<NSBundle> bundle, CheckFindings& findings)
    : _bundle(std::move(bundle)), _findings(findings) {}

bool LocalizationRule::looksLikeKey(const std::string& text) {
    if (text.size() < 3) {
        return false;
    }
    bool separated = false;
    bool lowercase = false;
    for (unsigned char c : text) {
        if (!std::isalnum(c) && c != '_' && c != '.' && c != '-') {
            return false;
        }
        separated = separated || c == '_' || c == '.';
        lowercase = lowercase || std::islower(c);
    }
    return separated || !lowercase;
}

LocalizationRule::Table LocalizationRule::read(const std::string& folder,
                                               const std::string& table) const {
    Table read;
    read.file = folderOf(folder) + table + ".strings";
    const std::string path = _bundle->bundlePath() + "/" + read.file;
    std::string error;
    std::optional<NSData> contents = NSFileManager::defaultManager()->contentsAtPath(
        path, &error, NSPropertyListSerialization::kMaximumFileLength);
    std::optional<Value> parsed =
        contents ? NSPropertyListSerialization::propertyListWithData(*contents, nullptr, &error)
                 : std::nullopt;
    if (const Value::Dictionary* entries = parsed ? parsed->dictionary() : nullptr) {
        read.entries = *entries;
    } else {
        read.error = error.empty() ? "it is not a dictionary" : error;
    }
    return read;
}

const std::vector<LocalizationRule::Table>& LocalizationRule::copies(const std::string& table) {
    auto [entry, inserted] = _copies.try_emplace(table);
    if (inserted) {
        std::vector<std::string> folders = _bundle->localizations();
        folders.push_back("");
        for (const std::string& folder : folders) {
            if (NSFileManager::defaultManager()->fileExistsAtPath(
                    _bundle->bundlePath() + "/" + folderOf(folder) + table + ".strings")) {
                entry->second.push_back(read(folder, table));
            }
        }
    }
    return entry->second;
}

std::optional<LocalizationRule::Table> LocalizationRule::tableInUse(const std::string& table) {
    // The device's order: the preferred localisations, the development
    // region's, Base, then the bundle's own folder; the first table found is used.
    std::vector<std::string> folders = _bundle->preferredLocalizations();
    if (std::optional<std::string> region = _bundle->developmentLocalization()) {
        std::vector<std::string> matched =
            NSBundle::preferredLocalizationsFromArray(_bundle->localizations(), {*region});
        folders.push_back(matched.empty() ? *region : matched.front());
    }
    folders.push_back("Base");
    folders.push_back("");
    for (const std::string& folder : folders) {
        const std::string file = folderOf(folder) + table + ".strings";
        for (const Table& copy : copies(table)) {
            if (copy.file == file) {
                return copy;
            }
        }
    }
    return std::nullopt;
}

void LocalizationRule::checkText(const PaneFile& pane, std::optional<size_t> item,
                                 const std::string& key, const std::string& text,
                                 const std::vector<std::string>& variants) {
    const std::string& table = pane.pane();
    const std::vector<Table>& all = copies(table);
    const bool elsewhere = std::any_of(all.begin(), all.end(), [&](const Table& copy) {
        return copy.entries && copy.entries->count(text);
    });
    std::optional<Table> used = tableInUse(table);
    std::string reason;
    std::string subject = text;
    if (!used) {
        if (!looksLikeKey(text) || _bundle->localizations().empty()) {
            return;
        }
        reason = "the bundle has no " + table + ".strings";
    } else if (!used->entries) {
        if (!elsewhere && !looksLikeKey(text)) {
            return;
        }
        reason = used->file + " cannot be read (" + used->error + ")";
        subject += "\n" + used->file;
    } else if (!used->entries->count(text) && (elsewhere || looksLikeKey(text))) {
        reason = "the key is missing from " + used->file;
        subject += "\n" + used->file;
    } else {
        return;
    }
    _findings.add(pane.finding("missing-localization", CheckLevel::Error, item, key, subject,
                               "\"" + text + "\" shows as its key: " + reason),
                  variants);
}

void LocalizationRule::checkUntitledValues(const PaneFile& pane, size_t item,
                                           const Value::Dictionary& properties,
                                           const std::vector<std::string>& variants) {
    auto list = [&](const char* key) {
        auto found = properties.find(key);
        return found == properties.end() ? nullptr : found->second.array();
    };
    const Value::Array* values = list("validValues");
    const Value::Array* titles = list("validTitles");
    if (!values) {
        return;
    }
    const std::vector<Table>& all = copies(pane.pane());
    for (size_t index = 0; index < values->size(); ++index) {
        const std::optional<std::string> shown = (*values)[index].optionalString();
        if (!shown || (titles && index < titles->size() && (*titles)[index].isString())) {
            continue;
        }
        // A value is shown as it is stored; one that reads as a key, or that
        // a table translates, was meant to have a title.
        const bool translated = std::any_of(all.begin(), all.end(), [&](const Table& copy) {
            return copy.entries && copy.entries->count(*shown);
        });
        if (looksLikeKey(*shown) || translated) {
            _findings.add(pane.finding("missing-localization", CheckLevel::Error, item,
                                       "validValues", *shown,
                                       "\"" + *shown +
                                           "\" shows as its key: the value has no "
                                           "entry in \"validTitles\", so it is shown as stored"),
                          variants);
        }
    }
}

void LocalizationRule::check(const PaneFile& pane, const std::vector<std::string>& variants) {
    if (pane.pane() == "Root") {
        if (std::optional<std::string> title = pane.plist().count("title")
                                                   ? pane.plist().at("title").optionalString()
                                                   : std::nullopt) {
            checkText(pane, std::nullopt, "title", *title, variants);
        }
    }
    const Value::Array& items = pane.items();
    for (size_t index = 0; index < items.size(); ++index) {
        const Value::Dictionary* item = items[index].dictionary();
        if (!item) {
            continue;
        }
        checkUntitledValues(pane, index, *item, variants);
        for (const auto& [key, value] : *item) {
            if (key == "label" || key == "footerText" || key == "placeholder" ||
                key == "staticTextMessage") {
                if (std::optional<std::string> shown = value.optionalString()) {
                    checkText(pane, index, key, *shown, variants);
                }
            } else if (key == "validTitles" || key == "shortTitles") {
                for (const Value& title : value.array() ? *value.array() : Value::Array()) {
                    if (std::optional<std::string> shown = title.optionalString()) {
                        checkText(pane, index, key, *shown, variants);
                    }
                }
            } else if (key == "confirmation" && value.dictionary()) {
                for (const auto& [part, prompt] : *value.dictionary()) {
                    std::optional<std::string> shown = prompt.optionalString();
                    if (part != "isDestructive" && shown) {
                        checkText(pane, index, key, *shown, variants);
                    }
                }
            }
        }
    }
}
