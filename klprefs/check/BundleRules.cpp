#include "BundleRules.h"

#include <Foundation/NSBundle.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/NSString.h>
#include <Preferences/PSPreferenceDomain.h>
#include <UIKit/UIImage.h>

namespace {

constexpr const char* kRootless = "/var/jb/";
constexpr const char* kPlaceholder = ":root:";

// The cell kinds the Preferences framework makes itself.
bool isStandardKind(const std::string& kind) {
    for (const char* standard :
         {"PSGroupCell", "PSSwitchCell", "PSSwitchTableCell", "PSSegmentCell", "PSSegmentTableCell",
          "PSSliderCell", "PSSliderTableCell", "PSEditTextCell", "PSSecureEditTextCell",
          "PSEditableTableCell", "PSSpinnerCell", "PSSpinnerTableCell", "PSTitleValueCell",
          "PSLinkListCell", "PSTableCell", "PSStaticTextCell", "PSLinkCell", "PSButtonCell"}) {
        if (kind == standard) {
            return true;
        }
    }
    return false;
}

bool has(const Value::Dictionary& item, const char* key) {
    return item.find(key) != item.end();
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool decodes(const std::string& path) {
    return UIImage::imageWithContentsOfFile(path) != nullptr;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

BundleRules::BundleRules(Ref<NSBundle> bundle, bool controllerCodeLoaded, CheckFindings& findings,
                         std::vector<std::string> variants)
    : _bundle(std::move(bundle)), _controllerCodeLoaded(controllerCodeLoaded), _findings(findings),
      _variants(std::move(variants)) {}

void BundleRules::add(const CheckFinding& finding) {
    _findings.add(finding, _variants);
}

std::string BundleRules::typeName(const Value& value) {
    switch (value.type()) {
    case Value::Type::Boolean:
        return "boolean";
    case Value::Type::Integer:
        return "integer";
    case Value::Type::Real:
        return "real";
    case Value::Type::String:
        return "text";
    case Value::Type::Data:
        return "data";
    case Value::Type::Date:
        return "date";
    case Value::Type::Array:
        return "array";
    case Value::Type::Dictionary:
        return "dictionary";
    case Value::Type::Nil:
        break;
    }
    return "nil";
}

std::string BundleRules::storedType(const Value::Dictionary& item) {
    const std::string cellClass = PaneFile::text(item, "cellClass").value_or("");
    if (cellClass == "KLColorPickerCell") {
        return "text";
    }
    if (cellClass == "KLSliderCell" || cellClass == "KLStepperCell") {
        return "real";
    }
    if (cellClass == "KLPickerCell") {
        return "integer";
    }
    const std::string kind = PaneFile::text(item, "cell").value_or("");
    if (kind == "PSSwitchCell") {
        return "boolean";
    }
    if (kind == "PSSliderCell") {
        return "real";
    }
    if (kind == "PSEditTextCell" || kind == "PSSecureEditTextCell") {
        return "text";
    }
    if (kind == "PSSegmentCell" || kind == "PSLinkListCell") {
        auto values = item.find("validValues");
        const Value::Array* list = values == item.end() ? nullptr : values->second.array();
        return list && !list->empty() ? typeName(list->front()) : "unknown";
    }
    return "";
}

void BundleRules::check(const PaneFile& pane, Class target) {
    const Value::Array& items = pane.items();
    for (size_t index = 0; index < items.size(); ++index) {
        const Value::Dictionary* item = items[index].dictionary();
        if (!item) {
            continue;
        }
        checkStorage(pane, index, *item, target);
        checkImages(pane, index, *item);
        checkLinks(pane, index, *item);
        checkCode(pane, index, *item, target);
    }
}

void BundleRules::checkStorage(const PaneFile& pane, size_t index, const Value::Dictionary& item,
                               Class target) {
    const std::string type = storedType(item);
    if (type.empty()) {
        return;
    }
    const std::optional<std::string> domain = PaneFile::text(item, "defaults");
    const std::optional<std::string> key = PaneFile::text(item, "key");
    const std::optional<std::string> setter = PaneFile::text(item, "set");
    const bool storedByController =
        setter && target && class_respondsToSelector(target, setter->c_str());
    if (!storedByController && (!key || !domain)) {
        const char* missing = !key ? "key" : "defaults";
        add(pane.finding("no-storage", CheckLevel::Error, index, std::string(missing), "",
                         std::string("the row stores its value nowhere: it has no ") +
                             (has(item, missing) ? "text as " : "") + quoted(missing)));
    }
    if (domain) {
        std::string why;
        if (!PSPreferenceDomain::isValidDomainName(*domain, &why)) {
            add(pane.finding("bad-domain", CheckLevel::Error, index, std::string("defaults"), "",
                             quoted(*domain) + " is no usable domain name: " + why));
            return;
        }
    } else if (has(item, "defaults")) {
        add(pane.finding("bad-domain", CheckLevel::Error, index, std::string("defaults"), "",
                         "\"defaults\" is no text"));
        return;
    }
    if (type != "unknown") {
        if (auto found = item.find("default"); found != item.end()) {
            const std::string given = typeName(found->second);
            const bool fits = given == type || (type == "real" && given == "integer");
            if (!fits) {
                add(pane.finding("default-type", CheckLevel::Error, index, std::string("default"),
                                 "", "\"default\" is " + given + " but the row stores " + type));
            }
        }
    }
    if (!domain || !key || storedByController || type == "unknown") {
        return;
    }
    auto [first, inserted] =
        _stored.try_emplace(*domain + "\n" + *key, Stored{type, pane.file(), index});
    if (!inserted && first->second.type != type) {
        add(pane.finding("type-conflict", CheckLevel::Error, index, std::string("key"), "",
                         quoted(*key) + " of " + *domain + " is stored as " + type +
                             " here but as " + first->second.type + " by " + first->second.file +
                             " item " + std::to_string(first->second.item)));
    }
}

void BundleRules::checkImages(const PaneFile& pane, size_t index, const Value::Dictionary& item) {
    for (const char* key : {"icon", "leftImage", "rightImage"}) {
        if (std::optional<std::string> name = PaneFile::text(item, key)) {
            checkBundleImage(pane, index, key, *name);
        }
    }
    if (PaneFile::text(item, "cellClass") != std::optional<std::string>("KLPickerCell")) {
        return;
    }
    auto choices = item.find("choices");
    const Value::Array* list = choices == item.end() ? nullptr : choices->second.array();
    for (const Value& choice : list ? *list : Value::Array()) {
        if (std::optional<std::string> path = choice.objectForKey("image").optionalString()) {
            checkRootPath(pane, index, "choices", *path);
        }
    }
}

void BundleRules::checkBundleImage(const PaneFile& pane, size_t index, const std::string& key,
                                   const std::string& name) {
    if (UIImage::imageNamed(name, _bundle)) {
        return;
    }
    bool found = false;
    for (const std::string& candidate : {name, name + ".png", name + "@2x.png", name + "@3x.png"}) {
        found = found || _bundle->pathForResource(candidate, std::nullopt).has_value();
    }
    add(pane.finding("missing-image", CheckLevel::Error, index, key, name,
                     "the picture " + quoted(name) +
                         (found ? " cannot be decoded" : " is not in the bundle")));
}

void BundleRules::checkRootPath(const PaneFile& pane, size_t index, const std::string& key,
                                const std::string& path) {
    // The package lies under /var/jb/ on a rootless device and under / on
    // a rootful one; the device root holds it in one of the two.
    const bool installedRootless = startsWith(_bundle->bundlePath(), kRootless);
    auto presentIn = [&](const std::string& devicePath, bool rootless) {
        if (rootless == installedRootless) {
            return decodes(devicePath);
        }
        if (rootless) {
            // Outside /var/jb/ a rootless device has the system's files, not the packages'.
            return startsWith(devicePath, kRootless)
                       ? decodes("/" + devicePath.substr(std::string(kRootless).size()))
                       : !startsWith(devicePath, "/Library/") && !startsWith(devicePath, "/usr/") &&
                             decodes(devicePath);
        }
        // A rootful device has no /var/jb/.
        return !startsWith(devicePath, kRootless) &&
               (decodes(std::string(kRootless) + devicePath.substr(1)) || decodes(devicePath));
    };
    const bool placeholder = path.find(kPlaceholder) != std::string::npos;
    const std::string rootfulPath =
        placeholder ? NSString::stringByReplacingOccurrencesOfString(path, kPlaceholder, "/")
                    : path;
    const std::string rootlessPath =
        placeholder ? NSString::stringByReplacingOccurrencesOfString(path, kPlaceholder, kRootless)
                    : path;
    const bool rootful = presentIn(rootfulPath, false);
    const bool rootless = presentIn(rootlessPath, true);
    if (rootful && rootless) {
        return;
    }
    if (rootful || rootless) {
        add(pane.finding("root-path", CheckLevel::Error, index, key, path,
                         "the picture " + quoted(path) + " is found on a " +
                             (rootful ? "rootful" : "rootless") + " device but not on a " +
                             (rootful ? "rootless" : "rootful") + " one" +
                             (placeholder ? "" : "; begin it with :root:")));
        return;
    }
    const std::string here = installedRootless ? rootlessPath : rootfulPath;
    add(pane.finding("missing-image", CheckLevel::Error, index, key, path,
                     "the picture " + quoted(path) +
                         (NSFileManager::defaultManager()->fileExistsAtPath(here)
                              ? " cannot be decoded"
                              : " cannot be found")));
}

void BundleRules::checkLinks(const PaneFile& pane, size_t index, const Value::Dictionary& item) {
    if (PaneFile::text(item, "cell") != std::optional<std::string>("PSLinkCell")) {
        return;
    }
    const std::optional<std::string> detail = PaneFile::text(item, "detail");
    if (detail && *detail != "PSListController" && *detail != "PSListItemsController") {
        if (objc_getClass(detail->c_str())) {
            return;
        }
        add(pane.finding(
            "missing-pane", _controllerCodeLoaded ? CheckLevel::Warning : CheckLevel::Info, index,
            std::string("detail"), *detail,
            "the link's class " + *detail + " is not loaded here" +
                (_controllerCodeLoaded ? "" : " (the bundle's code could not be loaded)")));
    }
    std::optional<std::string> name = PaneFile::text(item, "id");
    const char* key = "id";
    if (!name) {
        name = PaneFile::text(item, "label");
        key = "label";
    }
    if (name && !_bundle->pathForResource(*name, "plist")) {
        add(pane.finding("missing-pane", CheckLevel::Warning, index, std::string(key), *name,
                         "the link's pane " + *name + ".plist is not in the bundle"));
    }
}

void BundleRules::checkCode(const PaneFile& pane, size_t index, const Value::Dictionary& item,
                            Class target) {
    const CheckLevel level = _controllerCodeLoaded ? CheckLevel::Warning : CheckLevel::Info;
    const std::string unloaded =
        _controllerCodeLoaded ? "" : " (the bundle's code could not be loaded here)";
    if (std::optional<std::string> cellClass = PaneFile::text(item, "cellClass")) {
        if (!isStandardKind(*cellClass) && !objc_getClass(cellClass->c_str())) {
            add(pane.finding("missing-class", level, index, std::string("cellClass"), *cellClass,
                             "no loaded library provides the cell class " + *cellClass + unloaded));
        }
    }
    const std::string controller =
        target ? std::string(target->name) : std::string("the controller");
    for (const char* key : {"action", "get", "set"}) {
        std::optional<std::string> selector = PaneFile::text(item, key);
        if (selector && !(target && class_respondsToSelector(target, selector->c_str()))) {
            add(pane.finding("missing-selector", level, index, std::string(key), *selector,
                             controller + " does not answer " + *selector + unloaded));
        }
    }
}
