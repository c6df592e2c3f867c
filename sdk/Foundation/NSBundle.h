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
    const Value& objectForInfoDictionaryKey(const std::string& key);

    // The device path of "<name>.<type>" (or of `name` alone when the type is
    // nil or empty), looked for in the bundle's folder and then in its
    // localisation folders; nil when there is no such file, or when the name
    // would climb out of the bundle ("..").
    std::optional<std::string> pathForResource(const std::string& name,
                                               const std::optional<std::string>& type);

    // The text for `key` in the string table `table` ("Localizable" when nil
    // or empty). The table is "<table>.strings" from the first of
    // "<preferred>.lproj", the development region's folder, "Base.lproj" and
    // the bundle's own folder that has one, in the old-style text form or as
    // a property list. A key the table lacks yields `value` when it is not
    // empty and the key otherwise; a nil key yields `value`, or "".
    std::string localizedStringForKey(const std::optional<std::string>& key,
                                      const std::optional<std::string>& value,
                                      const std::optional<std::string>& table);

    // The language whose folder is searched first: "en" unless the host says.
    static std::string preferredLocalization();
    static void setPreferredLocalization(const std::string& language);

private:
    // Folders searched for localised resources, best first, relative to the bundle.
    std::vector<std::string> localizationFolders();
    const Value::Dictionary& stringTable(const std::string& table);

    std::string _bundlePath;
    std::once_flag _infoLoaded;
    Value::Dictionary _infoDictionary;
    std::mutex _tablesLock;
    // Parsed tables by "<language>/<table>", so a change of language reads afresh.
    std::map<std::string, Value::Dictionary> _stringTables;
};
