#include <Foundation/NSBundle.h>

#include <algorithm>
#include <filesystem>

#include <Foundation/NSFileManager.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>

namespace {

const Value kNil;

struct LocalizationState {
    std::mutex lock;
    std::string language = "en";
};

LocalizationState& localizationState() {
    static LocalizationState state;
    return state;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
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

const Value& NSBundle::objectForInfoDictionaryKey(const std::string& key) {
    const Value::Dictionary& info = infoDictionary();
    auto found = info.find(key);
    return found == info.end() ? kNil : found->second;
}

std::vector<std::string> NSBundle::localizationFolders() {
    std::vector<std::string> folders{preferredLocalization() + ".lproj"};
    if (const std::string* region =
            objectForInfoDictionaryKey("CFBundleDevelopmentRegion").string()) {
        if (!region->empty() && *region + ".lproj" != folders.front()) {
            folders.push_back(*region + ".lproj");
        }
    }
    folders.push_back("Base.lproj");
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
    std::vector<std::string> folders = localizationFolders();
    std::lock_guard guard(_tablesLock);
    auto [entry, inserted] = _stringTables.try_emplace(folders.front() + "/" + table);
    if (!inserted) {
        return entry->second;
    }
    // The bundle's own folder comes last for string tables.
    folders.push_back("");
    const Ref<NSFileManager> files = NSFileManager::defaultManager();
    for (const std::string& folder : folders) {
        std::string path = joined(joined(_bundlePath, folder), table + ".strings");
        // The first table found is the one used. As on the device, a malformed
        // one (a missing ';', even the last) reads as empty, so its texts show
        // as their keys; the reason is logged so the bundle's author sees it.
        std::string error;
        std::optional<NSData> contents = files->contentsAtPath(
            path, &error, NSPropertyListSerialization::kMaximumFileLength);
        if (!contents && !files->fileExistsAtPath(path)) {
            continue;
        }
        std::optional<Value> parsed =
            contents ? NSPropertyListSerialization::propertyListWithData(*contents, nullptr, &error)
                     : std::nullopt;
        if (const Value::Dictionary* entries = parsed ? parsed->dictionary() : nullptr) {
            entry->second = *entries;
        } else {
            SDKEventLog::logError("NSBundle: the string table " + path +
                                  " cannot be read, so its texts show as their keys: " +
                                  (error.empty() ? "it is not a dictionary" : error));
        }
        break;
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

std::string NSBundle::preferredLocalization() {
    LocalizationState& state = localizationState();
    std::lock_guard guard(state.lock);
    return state.language;
}

void NSBundle::setPreferredLocalization(const std::string& language) {
    LocalizationState& state = localizationState();
    std::lock_guard guard(state.lock);
    state.language = language;
}
