#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <Foundation/Value.h>
#include <objc/NSObject.h>
#include <objc/Ref.h>

// A folder of code and resources at a device path: its Info.plist, its
// resource files and its localised string tables.
class NSBundle : public NSObject {
public:
    // nil when no folder exists at the path.
    static Ref<NSBundle> bundleWithPath(const std::string& path);

    // The folder's device path, without a trailing slash.
    const std::string& bundlePath() const { return _bundlePath; }

    // Info.plist's dictionary; empty when it is missing or is not a dictionary.
    const Value::Dictionary& infoDictionary();
    // The InfoPlist.strings table of the localisation in use: the texts
    // (such as CFBundleDisplayName) that stand in for Info.plist's.
    Value::Dictionary localizedInfoDictionary();
    // The localised value when the InfoPlist table has one, else Info.plist's.
    Value objectForInfoDictionaryKey(const std::string& key);

    // The names of the bundle's localisation folders without ".lproj"
    // ("de", "zh_CN", "English", "Base"), sorted.
    const std::vector<std::string>& localizations();
    // The bundle's development region (CFBundleDevelopmentRegion); nil when unset.
    std::optional<std::string> developmentLocalization();
    // The localisations the bundle takes its texts from for the user's
    // preferred languages (NSLocale), best first: see
    // preferredLocalizationsFromArray. When none of the preferred languages
    // matches, the development region's folder (matched as a language, so
    // "en" finds English.lproj), else the first localisation, else the
    // development region as named.
    std::vector<std::string> preferredLocalizations();

    // The localisations of `localizations` to use for the preferred
    // languages `preferences`, taken in order: for the first preference that
    // any localisation matches, the localisation that matches it exactly
    // (language, script and region) or most closely, followed by the more
    // general ones of the same language ("de_AT", then "de"). A preference
    // matches a localisation of the same language with no more detail
    // (de-AT takes de, never de-CH; de takes de but not de_AT). Folder names
    // match in every form the device reads: "zh_CN" as zh-Hans-CN,
    // "English" as en, "pt-br" as pt-BR. Base is never chosen. Empty when
    // nothing matches.
    static std::vector<std::string>
    preferredLocalizationsFromArray(const std::vector<std::string>& localizations,
                                    const std::vector<std::string>& preferences);

    // The device path of "<name>.<type>" (or of `name` alone when the type is
    // nil or empty), looked for in the bundle's folder and then in its
    // localisation folders; nil when there is no such file, or when the name
    // would climb out of the bundle ("..").
    std::optional<std::string> pathForResource(const std::string& name,
                                               const std::optional<std::string>& type);

    // The text for `key` in the string table `table` ("Localizable" when nil
    // or empty). The table is "<table>.strings" from the first of the
    // preferred localisations' folders, the development region's folder,
    // "Base.lproj" and the bundle's own folder that has one: old-style text
    // (UTF-8 or UTF-16, with or without a byte-order mark, with or without
    // the enclosing braces), or an XML or binary property list. A key the
    // table lacks yields `value` when it is not empty and the key otherwise;
    // a nil key yields `value`, or "".
    std::string localizedStringForKey(const std::optional<std::string>& key,
                                      const std::optional<std::string>& value,
                                      const std::optional<std::string>& table);

private:
    // Folders searched for localised resources, best first, relative to the bundle.
    std::vector<std::string> localizationFolders();
    const Value::Dictionary& stringTable(const std::string& table);

    std::string _bundlePath;
    std::once_flag _infoLoaded;
    Value::Dictionary _infoDictionary;
    std::once_flag _localizationsListed;
    std::vector<std::string> _localizations;
    std::mutex _tablesLock;
    // The folders chosen for the preferred languages they were chosen for.
    std::vector<std::string> _foldersPreferences;
    std::vector<std::string> _folders;
    // Parsed tables by their folders and name, so a change of language reads afresh.
    std::map<std::string, Value::Dictionary> _stringTables;
};
