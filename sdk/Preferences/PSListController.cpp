#include <Preferences/PSListController.h>

#include <Foundation/CFNotificationCenter.h>
#include <Foundation/NSBundle.h>
#include <Foundation/NSException.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/PSEditableTableCell.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PSPreferenceDomain.h>
#include <Preferences/PSSegmentTableCell.h>
#include <Preferences/PSSliderTableCell.h>
#include <Preferences/PSSpinnerTableCell.h>
#include <Preferences/PSSwitchTableCell.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>
#include <objc/runtime.h>

namespace {

std::string describe(const Ref<PSSpecifier>& specifier) {
    return "\"" + specifier->identifier().value_or("(unnamed)") + "\"";
}

// The standard cell class for a "cell" kind, or one that a "cellClass" names.
Ref<PSTableCell> makeStandardCell(const std::string& kind, const std::string& reuseIdentifier,
                                  const Ref<PSSpecifier>& specifier) {
    if (kind == "PSSwitchCell" || kind == "PSSwitchTableCell") {
        return alloc<PSSwitchTableCell>()->initWithStyle(UITableViewCellStyleDefault,
                                                         reuseIdentifier, specifier);
    }
    if (kind == "PSSegmentCell" || kind == "PSSegmentTableCell") {
        return alloc<PSSegmentTableCell>()->initWithStyle(UITableViewCellStyleDefault,
                                                          reuseIdentifier, specifier);
    }
    if (kind == "PSSliderCell" || kind == "PSSliderTableCell") {
        return alloc<PSSliderTableCell>()->initWithStyle(UITableViewCellStyleDefault,
                                                         reuseIdentifier, specifier);
    }
    if (kind == "PSEditTextCell" || kind == "PSSecureEditTextCell" ||
        kind == "PSEditableTableCell") {
        return alloc<PSEditableTableCell>()->initWithStyle(UITableViewCellStyleDefault,
                                                           reuseIdentifier, specifier);
    }
    if (kind == "PSSpinnerCell" || kind == "PSSpinnerTableCell") {
        return alloc<PSSpinnerTableCell>()->initWithStyle(UITableViewCellStyleDefault,
                                                          reuseIdentifier, specifier);
    }
    if (kind == "PSTitleValueCell" || kind == "PSLinkListCell") {
        return alloc<PSTableCell>()->initWithStyle(UITableViewCellStyleValue1, reuseIdentifier,
                                                   specifier);
    }
    if (kind == "PSTableCell" || kind == "PSStaticTextCell") {
        return alloc<PSTableCell>()->initWithStyle(UITableViewCellStyleDefault, reuseIdentifier,
                                                   specifier);
    }
    return nullptr;
}

// A stored value as a message carries it: a flag, a number or a text.
Id messageArgument(const Value& value) {
    if (value.isString()) {
        return *value.string();
    }
    if (value.isNumber()) {
        const double number = value.doubleValue();
        return number == static_cast<double>(value.integerValue()) ? Id(value.integerValue())
                                                                   : Id(number);
    }
    return Id();
}

// What a getter sent by name answered, as a stored value.
Value valueFromMessage(const Id& answer) {
    if (const std::string* text = answer.string()) {
        return Value(*text);
    }
    if (answer.isNil() || answer.object()) {
        return Value();
    }
    const double number = answer.doubleValue();
    return number == static_cast<double>(answer.longValue())
               ? Value(static_cast<int64_t>(answer.longValue()))
               : Value(number);
}

bool answers(const Ref<NSObject>& target, const std::string& selector) {
    return target && class_respondsToSelector(target->objcClass(), selector.c_str());
}

} // namespace

const std::vector<Ref<PSSpecifier>>& PSListController::specifiers() {
    if (!_specifiersLoaded) {
        _specifiersLoaded = true;
        _specifiers = loadSpecifiersFromPlistName(paneName(), self<PSListController>());
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
        localizeTexts(specifier, name);
        specifier->setTarget(target);
        connectAccessors(specifier, name);
        loaded.push_back(specifier);
    }
    return loaded;
}

void PSListController::localizeTexts(const Ref<PSSpecifier>& specifier, const std::string& table) {
    auto localized = [&](const Value& value) {
        std::optional<std::string> text = value.optionalString();
        return text ? Value(_bundle->localizedStringForKey(*text, *text, table)) : value;
    };
    for (const char* key : {"footerText", "placeholder", "staticTextMessage"}) {
        const Value value = specifier->propertyForKey(key);
        if (value.isString()) {
            specifier->setProperty(localized(value), key);
        }
    }
    for (const char* key : {"validTitles", "shortTitles"}) {
        if (const Value::Array* titles = specifier->propertyForKey(key).array()) {
            Value::Array shown;
            for (const Value& title : *titles) {
                shown.push_back(localized(title));
            }
            specifier->setProperty(Value(std::move(shown)), key);
        }
    }
    if (const Value::Dictionary* prompt = specifier->propertyForKey("confirmation").dictionary()) {
        Value::Dictionary shown = *prompt;
        for (auto& [key, value] : shown) {
            if (key != "isDestructive") {
                value = localized(value);
            }
        }
        specifier->setProperty(Value(std::move(shown)), "confirmation");
    }
}

std::string PSListController::paneName() const {
    if (!_specifier) {
        return "Root";
    }
    for (const char* key : {"id", "label"}) {
        if (std::optional<std::string> name = _specifier->propertyForKey(key).optionalString()) {
            return *name;
        }
    }
    return "Root";
}

void PSListController::connectAccessors(const Ref<PSSpecifier>& specifier,
                                        const std::string& pane) {
    Ref<PSListController> target = specifier->target();
    Weak<PSListController> weakTarget = target;
    std::optional<std::string> get = specifier->propertyForKey("get").optionalString();
    std::optional<std::string> set = specifier->propertyForKey("set").optionalString();
    for (const std::optional<std::string>& selector : {get, set}) {
        if (selector && !answers(target, *selector)) {
            SDKEventLog::logError("PSListController: the target of " + describe(specifier) +
                                  " in " + pane + ".plist does not answer " + *selector +
                                  "; the row uses its preference domain");
        }
    }
    if (get && answers(target, *get)) {
        const std::string selector = *get;
        specifier->setGetter([weakTarget, selector](const Ref<PSSpecifier>& row) {
            Ref<PSListController> controller = weakTarget.lock();
            return controller
                       ? valueFromMessage(objc_msgSend(Id(controller), selector.c_str(), Id(row)))
                       : Value();
        });
    } else {
        specifier->setGetter([weakTarget](const Ref<PSSpecifier>& row) {
            Ref<PSListController> controller = weakTarget.lock();
            return controller ? controller->readPreferenceValue(row) : Value();
        });
    }
    if (set && answers(target, *set)) {
        const std::string selector = *set;
        specifier->setSetter(
            [weakTarget, selector](const Value& value, const Ref<PSSpecifier>& row) {
                if (Ref<PSListController> controller = weakTarget.lock()) {
                    const Id arguments[] = {messageArgument(value), row};
                    objc_msgSend(Id(controller), selector.c_str(), arguments);
                }
            });
    } else {
        specifier->setSetter([weakTarget](const Value& value, const Ref<PSSpecifier>& row) {
            if (Ref<PSListController> controller = weakTarget.lock()) {
                controller->setPreferenceValue(value, row);
            }
        });
    }
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
        SDKEventLog::record(SDKEvents::StoreFailed{*domain, *key, error});
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
    _table->setDataSource(std::static_pointer_cast<PSListController>(self<UIViewController>()));
    setView(_table);
    reloadSpecifiers();
}

Ref<UITableView> PSListController::table() {
    view();
    return _table;
}

Ref<PSTableCell> PSListController::cellForSpecifier(const Ref<PSSpecifier>& specifier) {
    table();
    for (size_t section = 0; section < _sections.size(); ++section) {
        const auto& rows = _sections[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row] == specifier) {
                return objc_cast<PSTableCell>(
                    _table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(
                        static_cast<NSInteger>(row), static_cast<NSInteger>(section))));
            }
        }
    }
    return nullptr;
}

Ref<UITableViewCell>
PSListController::tableViewCellForRowAtIndexPath(const Ref<UITableView>&,
                                                 const Ref<NSIndexPath>& indexPath) {
    Ref<PSSpecifier> specifier = specifierAtIndexPath(indexPath);
    if (!specifier) {
        return nullptr;
    }
    return makeCell(specifier);
}

Ref<PSSpecifier> PSListController::specifierAtIndexPath(const Ref<NSIndexPath>& indexPath) {
    if (!indexPath || indexPath->section() < 0 ||
        static_cast<size_t>(indexPath->section()) >= _sections.size()) {
        return nullptr;
    }
    const auto& rows = _sections[indexPath->section()].rows;
    if (indexPath->row() < 0 || static_cast<size_t>(indexPath->row()) >= rows.size()) {
        return nullptr;
    }
    return rows[indexPath->row()];
}

std::optional<CGFloat>
PSListController::tableViewHeightForRowAtIndexPath(const Ref<UITableView>&,
                                                   const Ref<NSIndexPath>& indexPath) {
    // A row's own "height" holds; others take the standard one, or what
    // their cell needs at the text size.
    Ref<PSSpecifier> specifier = specifierAtIndexPath(indexPath);
    const double height = specifier ? specifier->propertyForKey("height").doubleValue() : 0;
    return height > 0 ? std::optional<CGFloat>(height) : std::nullopt;
}

CGFloat PSListController::rowHeight(const Ref<PSSpecifier>& specifier) {
    const double height = specifier->propertyForKey("height").doubleValue();
    return height > 0 ? height : kDefaultRowHeight;
}

void PSListController::tableViewWillDisplayCell(const Ref<UITableView>&,
                                                const Ref<UITableViewCell>& cell,
                                                const Ref<NSIndexPath>& indexPath) {
    Ref<PSTableCell> row = objc_cast<PSTableCell>(cell);
    if (Ref<PSSpecifier> specifier = specifierAtIndexPath(indexPath); row && specifier) {
        row->refreshCellContentsWithSpecifier(specifier);
    }
}

Ref<PSTableCell> PSListController::makeCell(const Ref<PSSpecifier>& specifier) {
    const std::string reuseIdentifier = specifier->cellType();
    if (std::optional<std::string> className =
            specifier->propertyForKey("cellClass").optionalString()) {
        Class cls = objc_getClass(className->c_str());
        if (Ref<PSTableCell> standard =
                cls ? nullptr : makeStandardCell(*className, reuseIdentifier, specifier)) {
            return standard;
        }
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
    if (Ref<PSTableCell> standard = makeStandardCell(reuseIdentifier, reuseIdentifier, specifier)) {
        return standard;
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
    // The specifiers first: a subclass that loads them on first use may set
    // them, which shows them at once, before this pass starts over.
    const std::vector<Ref<PSSpecifier>> rows = specifiers();
    _sections.clear();
    std::vector<UITableView::Section> sections;
    for (const Ref<PSSpecifier>& specifier : rows) {
        if (specifier->cellType() == "PSGroupCell") {
            Section section{specifier,
                            specifier->name(),
                            specifier->propertyForKey("footerText").optionalString(),
                            {}};
            UITableView::Section shown;
            shown.headerTitle = section.header;
            shown.footerTitle = section.footer;
            const Value alignmentValue = specifier->propertyForKey("footerAlignment");
            const long alignment = alignmentValue.integerValue();
            if (alignmentValue.isNumber() && alignment >= NSTextAlignmentLeft &&
                alignment <= NSTextAlignmentRight) {
                shown.footerAlignment = static_cast<NSTextAlignment>(alignment);
            }
            sections.push_back(std::move(shown));
            _sections.push_back(std::move(section));
            continue;
        }
        if (sections.empty()) {
            sections.emplace_back();
            _sections.emplace_back();
        }
        // Until its cell is made, which may change it.
        sections.back().rows.push_back({nullptr, rowHeight(specifier), true});
        _sections.back().rows.push_back(specifier);
    }
    _table->setSections(std::move(sections));
}

void PSListController::reloadSpecifier(const Ref<PSSpecifier>& specifier) {
    // A row without a cell shows the specifier when its cell is made.
    for (const Ref<UITableViewCell>& shown : table()->visibleCells()) {
        Ref<PSTableCell> cell = objc_cast<PSTableCell>(shown);
        if (cell && cell->specifier() == specifier) {
            cell->refreshCellContentsWithSpecifier(specifier);
        }
    }
}

void PSListController::tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                                        const Ref<NSIndexPath>& indexPath) {
    Ref<UITableViewCell> cell = tableView ? tableView->cellForRowAtIndexPath(indexPath) : nullptr;
    if (!cell) {
        return;
    }
    cell->setSelected(false, true);
    Ref<PSTableCell> row = objc_cast<PSTableCell>(cell);
    Ref<PSSpecifier> specifier = row ? row->specifier() : nullptr;
    if (!specifier || !row->cellEnabled()) {
        return;
    }
    const std::string kind = specifier->cellType();
    if (kind == "PSButtonCell") {
        if (const Value::Dictionary* prompt =
                specifier->propertyForKey("confirmation").dictionary()) {
            confirmThenPerform(specifier, *prompt);
        } else {
            performActionForSpecifier(specifier);
        }
        return;
    }
    if (kind == "PSLinkCell" || kind == "PSLinkListCell") {
        Ref<UINavigationController> navigation = navigationController();
        if (!navigation) {
            SDKEventLog::logError("PSListController: no navigation controller to open " +
                                  describe(specifier));
            return;
        }
        navigation->pushViewController(controllerForLink(specifier), true);
    }
}

void PSListController::performActionForSpecifier(const Ref<PSSpecifier>& specifier) {
    std::optional<std::string> action = specifier->propertyForKey("action").optionalString();
    if (!action) {
        return;
    }
    Ref<PSListController> target = specifier->target();
    if (!answers(target, *action)) {
        // The platform raises here; the page logs it and carries on.
        SDKEventLog::logError("PSListController: the target of " + describe(specifier) +
                              " does not answer the action " + *action + "; ignored");
        return;
    }
    if (action->back() == ':') {
        objc_msgSend(Id(target), action->c_str(), Id(specifier));
    } else {
        objc_msgSend(Id(target), action->c_str());
    }
}

void PSListController::confirmThenPerform(const Ref<PSSpecifier>& specifier,
                                          const Value::Dictionary& prompt) {
    auto text = [&](const char* key,
                    std::optional<std::string> fallback) -> std::optional<std::string> {
        auto found = prompt.find(key);
        std::optional<std::string> value =
            found == prompt.end() ? std::nullopt : found->second.optionalString();
        return value ? value : fallback;
    };
    auto destructive = prompt.find("isDestructive");
    const bool isDestructive = destructive != prompt.end() && destructive->second.boolValue();
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        text("title", std::nullopt), text("prompt", std::nullopt), UIAlertControllerStyleAlert);
    Weak<PSListController> weakSelf = self<PSListController>();
    Weak<PSSpecifier> weakSpecifier = specifier;
    alert->addAction(
        UIAlertAction::actionWithTitle(text("cancelTitle", SDKSystemText::localized("Cancel")),
                                       UIAlertActionStyleCancel, nullptr));
    alert->addAction(UIAlertAction::actionWithTitle(
        text("okTitle", SDKSystemText::localized("OK")),
        isDestructive ? UIAlertActionStyleDestructive : UIAlertActionStyleDefault,
        [weakSelf, weakSpecifier](const Ref<UIAlertAction>&) {
            Ref<PSListController> controller = weakSelf.lock();
            Ref<PSSpecifier> row = weakSpecifier.lock();
            if (controller && row) {
                controller->performActionForSpecifier(row);
            }
        }));
    presentViewController(alert, true, nullptr);
}

Ref<PSListController> PSListController::controllerForLink(const Ref<PSSpecifier>& specifier) {
    std::optional<std::string> detail = specifier->propertyForKey("detail").optionalString();
    Ref<PSListController> child;
    if (detail && *detail != "PSListController" && *detail != "PSListItemsController") {
        if (Class cls = objc_getClass(detail->c_str())) {
            child = objc_msgSend(objc_msgSend(cls, "alloc"), "init").object<PSListController>();
        }
        if (!child) {
            SDKEventLog::logError("PSListController: the detail class " + *detail + " of " +
                                  describe(specifier) +
                                  " is not loaded here; showing its pane instead");
        }
    }
    if (!child) {
        const bool list = specifier->cellType() == "PSLinkListCell" ||
                          detail == std::optional<std::string>("PSListItemsController");
        child = list ? alloc<PSListItemsController>()->init() : alloc<PSListController>()->init();
    }
    child->setBundle(_bundle);
    child->setSpecifier(specifier);
    child->setTitle(specifier->name());
    return child;
}
