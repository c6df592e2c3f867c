#include <Foundation/NSBundle.h>

#include <algorithm>
#include <filesystem>

#include <Foundation/NSFileManager.h>
#include <Foundation/NSLocale.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

constexpr char kLocalizationSuffix[] = ".lproj";

// The forms under which a localisation folder's name is matched: its
// canonical identifier, and for Chinese named by region the script alone
// (zh_CN is what a zh-Hans user reads).
std::vector<std::string> matchForms(const std::string& localization) {
    std::optional<std::string> canonical =
        NSLocale::canonicalLanguageIdentifierFromString(localization);
    if (!canonical) {
        return {};
    }
    std::vector<std::string> forms{*canonical};
    for (const char* script : {"zh-Hans-", "zh-Hant-"}) {
        if (canonical->rfind(script, 0) == 0) {
            forms.push_back(canonical->substr(0, 7));
        }
    }
    return forms;
}

// A language and its more general forms: zh-Hans-CN, zh-Hans, zh.
std::vector<std::string> generalisations(const std::string& language) {
    std::vector<std::string> forms{language};
    for (size_t cut = language.rfind('-'); cut != std::string::npos && cut > 0;
         cut = language.rfind('-', cut - 1)) {
        forms.push_back(language.substr(0, cut));
    }
    return forms;
}

// One string table's file. As on the device, a malformed table (a missing
// ';', even the last) reads as empty, so its texts show as their keys; the
// reason is logged so that the bundle's author sees it. nil when there is
// no file.
// A table that is there but cannot be read (too large, not a regular file,
// malformed: a missing ';', even the last) reads as empty, as on the device,
// so its texts show as their keys; the reason is logged for the bundle's
// author. nil when there is no such table.
std::optional<Value::Dictionary> readStringTable(const std::string& path) {
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    std::string error;
    std::optional<NSData> contents =
        files->contentsAtPath(path, &error, NSPropertyListSerialization::kMaximumFileLength);
    if (!contents && !files->fileExistsAtPath(path)) {
        return std::nullopt;
    }
    std::optional<Value> parsed =
        contents ? NSPropertyListSerialization::propertyListWithData(*contents, nullptr, &error)
                 : std::nullopt;
    if (const Value::Dictionary* entries = parsed ? parsed->dictionary() : nullptr) {
        return *entries;
    }
    SDKEventLog::logError("NSBundle: the string table " + path +
                          " cannot be read, so its texts show as their keys: " +
                          (error.empty() ? "it is not a dictionary" : error));
    return Value::Dictionary{};
}

} // namespace

Ref<NSBundle> NSBundle::bundleWithPath(const std::string& path) {
    bool isDirectory = false;
    if (!NSFileManager::defaultManager()->fileExistsAtPath(path, &isDirectory) || !isDirectory) {
        return nullptr;
    }
    Ref<NSBundle> bundle = alloc<NSBundle>();
    bundle->_bundlePath = path;
    while (bundle->_bundlePath.size() > 1 && bundle->_bundlePath.back() == '/') {
        bundle->_bundlePath.pop_back();
    }
    return bundle;
}

const Value::Dictionary& NSBundle::infoDictionary() {
    std::call_once(_infoLoaded, [this] {
        std::optional<Value> info = NSPropertyListSerialization::propertyListWithContentsOfFile(
            joined(_bundlePath, "Info.plist"));
        if (const Value::Dictionary* entries = info ? info->dictionary() : nullptr) {
            _infoDictionary = *entries;
        }
    });
    return _infoDictionary;
}

Value::Dictionary NSBundle::localizedInfoDictionary() {
    return stringTable("InfoPlist");
}

Value NSBundle::objectForInfoDictionaryKey(const std::string& key) {
    const Value::Dictionary& localized = stringTable("InfoPlist");
    if (auto found = localized.find(key); found != localized.end()) {
        return found->second;
    }
    const Value::Dictionary& info = infoDictionary();
    auto found = info.find(key);
    return found == info.end() ? Value() : found->second;
}

const std::vector<std::string>& NSBundle::localizations() {
    std::call_once(_localizationsListed, [this] {
        const Ref<NSFileManager> files = NSFileManager::defaultManager();
        const size_t suffixLength = sizeof kLocalizationSuffix - 1;
        for (const std::string& name : files->contentsOfDirectoryAtPath(_bundlePath)) {
            bool isDirectory = false;
            if (name.size() > suffixLength &&
                name.compare(name.size() - suffixLength, suffixLength, kLocalizationSuffix) == 0 &&
                files->fileExistsAtPath(joined(_bundlePath, name), &isDirectory) && isDirectory) {
                _localizations.push_back(name.substr(0, name.size() - suffixLength));
            }
        }
        std::sort(_localizations.begin(), _localizations.end());
    });
    return _localizations;
}

std::optional<std::string> NSBundle::developmentLocalization() {
    const Value::Dictionary& info = infoDictionary();
    auto found = info.find("CFBundleDevelopmentRegion");
    const std::string* region = found == info.end() ? nullptr : found->second.string();
    return region && !region->empty() ? std::optional<std::string>(*region) : std::nullopt;
}

std::vector<std::string>
NSBundle::preferredLocalizationsFromArray(const std::vector<std::string>& localizations,
                                          const std::vector<std::string>& preferences) {
    std::vector<std::vector<std::string>> forms;
    for (const std::string& localization : localizations) {
        forms.push_back(matchForms(localization));
    }
    // A folder named in the language's own form first ("zh-Hant" before "zh_TW" for zh-Hant).
    auto matching = [&](const std::string& language) -> const std::string* {
        for (size_t i = 0; i < localizations.size(); ++i) {
            if (!forms[i].empty() && forms[i].front() == language) {
                return &localizations[i];
            }
        }
        for (size_t i = 0; i < localizations.size(); ++i) {
            if (std::find(forms[i].begin(), forms[i].end(), language) != forms[i].end()) {
                return &localizations[i];
            }
        }
        return nullptr;
    };
    for (const std::string& preference : preferences) {
        std::optional<std::string> canonical =
            NSLocale::canonicalLanguageIdentifierFromString(preference);
        if (!canonical) {
            continue;
        }
        std::vector<std::string> chosen;
        for (const std::string& language : generalisations(*canonical)) {
            const std::string* found = matching(language);
            if (found && std::find(chosen.begin(), chosen.end(), *found) == chosen.end()) {
                chosen.push_back(*found);
            }
        }
        if (!chosen.empty()) {
            return chosen;
        }
    }
    return {};
}

std::vector<std::string> NSBundle::preferredLocalizations() {
    const std::vector<std::string>& available = localizations();
    std::vector<std::string> chosen =
        preferredLocalizationsFromArray(available, NSLocale::preferredLanguages());
    if (!chosen.empty()) {
        return chosen;
    }
    std::optional<std::string> region = developmentLocalization();
    if (region) {
        chosen = preferredLocalizationsFromArray(available, {*region});
        if (!chosen.empty()) {
            return {chosen.front()};
        }
    }
    for (const std::string& localization : available) {
        if (localization != "Base") {
            return {localization};
        }
    }
    return region ? std::vector<std::string>{*region} : std::vector<std::string>{};
}

std::vector<std::string> NSBundle::localizationFolders() {
    std::vector<std::string> names = preferredLocalizations();
    if (std::optional<std::string> region = developmentLocalization()) {
        std::vector<std::string> matched =
            preferredLocalizationsFromArray(localizations(), {*region});
        names.push_back(matched.empty() ? *region : matched.front());
    }
    names.push_back("Base");
    std::vector<std::string> folders;
    for (const std::string& name : names) {
        std::string folder = name + kLocalizationSuffix;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name,
                                                     const std::optional<std::string>& type) {
    if (name.empty()) {
        return std::nullopt;
    }
    std::string fileName = name;
    if (type && !type->empty()) {
        fileName += type->front() == '.' ? *type : "." + *type;
    }
    // A resource is a file of the bundle's own, never one beside it.
    const std::filesystem::path relative(fileName);
    if (std::any_of(relative.begin(), relative.end(),
                    [](const std::filesystem::path& part) { return part == ".."; })) {
        return std::nullopt;
    }
    std::vector<std::string> folders{""};
    for (std::string& folder : localizationFolders()) {
        folders.push_back(std::move(folder));
    }
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    for (const std::string& folder : folders) {
        std::string candidate = joined(joined(_bundlePath, folder), fileName);
        if (files->fileExistsAtPath(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

const Value::Dictionary& NSBundle::stringTable(const std::string& table) {
    const std::vector<std::string> preferences = NSLocale::preferredLanguages();
    std::unique_lock guard(_tablesLock);
    if (_folders.empty() || _foldersPreferences != preferences) {
        guard.unlock();
        std::vector<std::string> folders = localizationFolders();
        guard.lock();
        _folders = std::move(folders);
        _foldersPreferences = preferences;
    }
    std::string cacheKey;
    for (const std::string& folder : _folders) {
        cacheKey += folder + "/";
    }
    auto [entry, inserted] = _stringTables.try_emplace(cacheKey + table);
    if (!inserted) {
        return entry->second;
    }
    std::vector<std::string> folders = _folders;
    // The bundle's own folder comes last for string tables.
    folders.push_back("");
    for (const std::string& folder : folders) {
        // The first table found is the one used.
        if (std::optional<Value::Dictionary> entries =
                readStringTable(joined(joined(_bundlePath, folder), table + ".strings"))) {
            entry->second = std::move(*entries);
            break;
        }
    }
    return entry->second;
}

std::string NSBundle::localizedStringForKey(const std::optional<std::string>& key,
                                            const std::optional<std::string>& value,
                                            const std::optional<std::string>& table) {
    if (!key) {
        return value.value_or("");
    }
    const std::string tableName = table && !table->empty() ? *table : "Localizable";
    const Value::Dictionary& entries = stringTable(tableName);
    auto found = entries.find(*key);
    if (found != entries.end()) {
        if (const std::string* text = found->second.string()) {
            return *text;
        }
    }
    return value && !value->empty() ? *value : *key;
}
