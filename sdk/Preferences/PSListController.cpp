#include <Preferences/PSListController.h>

#include <Foundation/CFNotificationCenter.h>
#include <Foundation/NSException.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/PSPreferenceDomain.h>
#include <UIKit/UIScreen.h>
#include <objc/runtime.h>

namespace {

std::string describe(const Ref<PSSpecifier>& specifier) {
    return "\"" + specifier->identifier().value_or("(unnamed)") + "\"";
}

} // namespace

const std::vector<Ref<PSSpecifier>>& PSListController::specifiers() {
    if (!_specifiersLoaded) {
        _specifiersLoaded = true;
        _specifiers = loadSpecifiersFromPlistName("Root", self<PSListController>());
    }
    return _specifiers;
}

void PSListController::setSpecifiers(std::vector<Ref<PSSpecifier>> specifiers) {
    _specifiers = std::move(specifiers);
    _specifiersLoaded = true;
    if (_table) {
        reloadSpecifiers();
    }
}

std::vector<Ref<PSSpecifier>>
PSListController::loadSpecifiersFromPlistName(const std::string& name,
                                              const Ref<PSListController>& target) {
    _loadError.reset();
    std::vector<Ref<PSSpecifier>> loaded;
    auto fail = [&](const std::string& message) {
        _loadError = message;
        SDKEventLog::logError(message);
        return loaded;
    };
    if (!_bundle) {
        return fail("PSListController: no bundle to load " + name + ".plist from");
    }
    std::optional<std::string> path = _bundle->pathForResource(name, "plist");
    if (!path) {
        return fail("PSListController: " + name + ".plist not found in " + _bundle->bundlePath());
    }
    std::string reason;
    std::optional<Value> plist =
        NSPropertyListSerialization::propertyListWithContentsOfFile(*path, &reason);
    if (!plist || !plist->dictionary()) {
        return fail("PSListController: " + *path + " is not a property-list dictionary" +
                    (reason.empty() ? "" : ": " + reason));
    }
    const Value::Array* items = plist->objectForKey("items").array();
    if (!items) {
        return fail("PSListController: " + *path + " has no \"items\" array");
    }
    Weak<PSListController> weakTarget = target;
    for (size_t index = 0; index < items->size(); ++index) {
        const Value& item = (*items)[index];
        if (!item.dictionary()) {
            fail("PSListController: item " + std::to_string(index) + " of " + *path +
                 " is not a dictionary; skipped");
            continue;
        }
        Ref<PSSpecifier> specifier = alloc<PSSpecifier>()->initWithProperties(*item.dictionary());
        if (std::optional<std::string> label = specifier->name()) {
            specifier->setName(_bundle->localizedStringForKey(*label, *label, name));
        }
        specifier->setTarget(target);
        specifier->setGetter([weakTarget](const Ref<PSSpecifier>& row) {
            Ref<PSListController> controller = weakTarget.lock();
            return controller ? controller->readPreferenceValue(row) : Value();
        });
        specifier->setSetter([weakTarget](const Value& value, const Ref<PSSpecifier>& row) {
            if (Ref<PSListController> controller = weakTarget.lock()) {
                controller->setPreferenceValue(value, row);
            }
        });
        loaded.push_back(specifier);
    }
    return loaded;
}

Ref<PSSpecifier> PSListController::specifierForID(const std::string& identifier) {
    for (const Ref<PSSpecifier>& specifier : specifiers()) {
        if (specifier->identifier() == identifier) {
            return specifier;
        }
    }
    return nullptr;
}

std::optional<size_t> PSListController::indexOfSpecifier(const Ref<PSSpecifier>& specifier) {
    const auto& all = specifiers();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == specifier) {
            return i;
        }
    }
    return std::nullopt;
}

Value PSListController::readPreferenceValue(const Ref<PSSpecifier>& specifier) {
    std::optional<std::string> domain = specifier->propertyForKey("defaults").optionalString();
    std::optional<std::string> key = specifier->propertyForKey("key").optionalString();
    if (!domain || !key) {
        return Value();
    }
    return PSPreferenceDomain::valueForKey(*domain, *key);
}

void PSListController::setPreferenceValue(const Value& value, const Ref<PSSpecifier>& specifier) {
    std::optional<std::string> domain = specifier->propertyForKey("defaults").optionalString();
    std::optional<std::string> key = specifier->propertyForKey("key").optionalString();
    if (!domain || !key) {
        SDKEventLog::logError("PSListController: specifier " + describe(specifier) +
                              " has no \"defaults\" and \"key\"; nothing stored");
        return;
    }
    std::string error;
    if (!PSPreferenceDomain::setValueForKey(*domain, *key, value, &error)) {
        // The reason names the domain's file, or says why the name is no domain's.
        SDKEventLog::logError("PSListController: could not store " + *key + ": " + error);
        return;
    }
    if (std::optional<std::string> notification =
            specifier->propertyForKey("PostNotification").optionalString()) {
        CFNotificationCenter::darwinNotifyCenter()->postNotification(*notification);
    }
}

void PSListController::loadView() {
    _table = alloc<UITableView>()->initWithFrame(UIScreen::mainScreen()->bounds(),
                                                 UITableViewStyleInsetGrouped);
    _table->setDelegate(std::static_pointer_cast<PSListController>(self<UIViewController>()));
    setView(_table);
    reloadSpecifiers();
}

Ref<UITableView> PSListController::table() {
    view();
    return _table;
}

Ref<PSTableCell> PSListController::cellForSpecifier(const Ref<PSSpecifier>& specifier) {
    table();
    for (const auto& [row, cell] : _cells) {
        if (row == specifier) {
            return cell;
        }
    }
    return nullptr;
}

Ref<PSTableCell> PSListController::makeCell(const Ref<PSSpecifier>& specifier) {
    const std::string reuseIdentifier = specifier->cellType();
    if (std::optional<std::string> className =
            specifier->propertyForKey("cellClass").optionalString()) {
        Class cls = objc_getClass(className->c_str());
        if (!cls) {
            SDKEventLog::logError("PSListController: cell class \"" + *className +
                                  "\" not found for specifier " + describe(specifier) +
                                  "; showing a plain cell");
        } else {
            try {
                const Id arguments[] = {static_cast<long>(UITableViewCellStyleDefault),
                                        reuseIdentifier, specifier};
                Id made = objc_msgSend(objc_msgSend(cls, "alloc"),
                                       "initWithStyle:reuseIdentifier:specifier:", arguments);
                if (Ref<PSTableCell> cell = made.object<PSTableCell>()) {
                    return cell;
                }
                SDKEventLog::logError("PSListController: " + *className +
                                      " made no cell for specifier " + describe(specifier));
            } catch (const NSException& exception) {
                SDKEventLog::logError("PSListController: " + *className + " raised " +
                                      exception.what() + " for specifier " + describe(specifier));
            }
        }
    }
    return alloc<PSTableCell>()->initWithStyle(UITableViewCellStyleDefault, reuseIdentifier,
                                               specifier);
}

const std::vector<PSListController::Section>& PSListController::sections() {
    table();
    return _sections;
}

void PSListController::reloadSpecifiers() {
    if (!_table) {
        view();
        return;
    }
    _cells.clear();
    _sections.clear();
    std::vector<UITableView::Section> sections;
    for (const Ref<PSSpecifier>& specifier : specifiers()) {
        if (specifier->cellType() == "PSGroupCell") {
            Section section{specifier, specifier->name(),
                            specifier->propertyForKey("footerText").optionalString()};
            sections.push_back({section.header, section.footer});
            _sections.push_back(std::move(section));
            continue;
        }
        if (sections.empty()) {
            sections.emplace_back();
            _sections.emplace_back();
        }
        Ref<PSTableCell> cell = makeCell(specifier);
        const double height = specifier->propertyForKey("height").doubleValue();
        sections.back().rows.push_back({cell, height > 0 ? height : kDefaultRowHeight});
        _sections.back().rows.push_back(specifier);
        _cells.emplace_back(specifier, cell);
    }
    _table->setSections(std::move(sections));
    for (const auto& [specifier, cell] : _cells) {
        cell->refreshCellContentsWithSpecifier(specifier);
    }
}

void PSListController::reloadSpecifier(const Ref<PSSpecifier>& specifier) {
    if (Ref<PSTableCell> cell = cellForSpecifier(specifier)) {
        cell->refreshCellContentsWithSpecifier(specifier);
    }
}

void PSListController::tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                                        const Ref<NSIndexPath>& indexPath) {
    if (Ref<UITableViewCell> cell =
            tableView ? tableView->cellForRowAtIndexPath(indexPath) : nullptr) {
        cell->setSelected(false, true);
    }
}
