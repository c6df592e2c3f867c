#include "PageDescription.h"

#include <filesystem>
#include <sstream>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSBundle.h>
#include <Foundation/SDKEventLog.h>
#include <MessageUI/MFMailComposeViewController.h>
#include <Preferences/PSPreferenceDomain.h>
#include <Preferences/PSSpecifier.h>
#include <Preferences/PSTableCell.h>
#include <SafariServices/SFSafariViewController.h>
#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UIMenu.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIWindow.h>
#include <render/SDKDescription.h>
#include <render/SDKViewInspector.h>

#include "JSONWriter.h"
#include "TraitNames.h"

namespace {

// A list of texts as an array of strings; nil for no list.
Value listOf(const std::optional<std::vector<std::string>>& texts) {
    if (!texts) {
        return Value();
    }
    return Value(Value::Array(texts->begin(), texts->end()));
}

Value::Dictionary screen(const char* kind, const SDKEvents::Screen& shown) {
    Value::Dictionary entry{
        {"kind", kind}, {"class", shown.className}, {"animated", shown.animated}};
    if (shown.title) {
        entry["title"] = *shown.title;
    }
    return entry;
}

struct EventEntry {
    Value::Dictionary operator()(const SDKEvents::Present& present) const {
        Value::Dictionary entry = screen("present", present);
        entry["presenter"] = present.presenter;
        return entry;
    }
    Value::Dictionary operator()(const SDKEvents::Dismiss& dismiss) const {
        return screen("dismiss", dismiss);
    }
    Value::Dictionary operator()(const SDKEvents::Push& push) const { return screen("push", push); }
    Value::Dictionary operator()(const SDKEvents::Pop& pop) const { return screen("pop", pop); }
    Value::Dictionary operator()(const SDKEvents::Transition& transition) const {
        return {{"kind", "transition"},
                {"view", transition.viewClassName},
                {"duration", transition.duration},
                {"options", transition.options}};
    }
    Value::Dictionary operator()(const SDKEvents::Animation& animation) const {
        return {{"kind", "animation"}, {"duration", animation.duration}};
    }
    Value::Dictionary operator()(const SDKEvents::Notification& notification) const {
        return {{"kind", "notification"}, {"name", notification.name}};
    }
    Value::Dictionary operator()(const SDKEvents::StoreFailed& failed) const {
        return {{"kind", "storeFailed"},
                {"domain", failed.domain},
                {"key", failed.key},
                {"reason", failed.reason}};
    }
    Value::Dictionary operator()(const SDKEvents::Error& error) const {
        return {{"kind", "error"}, {"message", error.message}};
    }
    Value::Dictionary operator()(const SDKEvents::OpenURL& open) const {
        return {{"kind", "openURL"}, {"url", open.url}};
    }
    Value::Dictionary operator()(const SDKEvents::Spawn& spawn) const {
        Value::Dictionary entry{
            {"kind", "spawn"}, {"path", spawn.path}, {"arguments", listOf(spawn.arguments)}};
        if (spawn.environment) {
            entry["environment"] = listOf(spawn.environment);
        }
        if (spawn.pid) {
            entry["pid"] = static_cast<long>(*spawn.pid);
        }
        if (spawn.error) {
            entry["error"] = *spawn.error;
        }
        return entry;
    }
    Value::Dictionary operator()(const SDKEvents::Relaunch& relaunch) const {
        return {{"kind", "relaunch"},
                {"reason", Value(relaunch.reason)},
                {"options", relaunch.options},
                {"target", Value(relaunch.target)}};
    }
    Value::Dictionary operator()(const SDKEvents::MailComposeResult& mail) const {
        return {{"kind", "mailComposeResult"}, {"result", mail.result}};
    }
};

} // namespace

void PageDescription::write(PageHost& host, const std::string& iosVersion, std::ostream& out) {
    host.settle();
    // Every row's cell is made before anything is written: a row's cell may
    // be made only now, and what making it stores or logs belongs in the
    // domains and events, which come before the rows.
    // The rows are described first, each as its cell is asked for and let go
    // after: making a row's cell may store a value or record an event, which
    // the domains and events written before the rows show.
    const SDKViewInspector inspector;
    std::ostringstream rows;
    JSONWriter rowsWriter(rows);
    rowsWriter.beginArray();
    forEachRow(host,
               [&](const PageHost::Row& row) { rowsWriter.value(describeRow(row, inspector)); });
    rowsWriter.endArray();
    Value::Dictionary domainErrors;
    const Value stored = domains(domainErrors);
    JSONWriter json(out);
    json.beginObject();
    if (!domainErrors.empty()) {
        json.member("domainErrors", Value(std::move(domainErrors)));
    }
    json.member("domains", stored);
    json.member("events", events());
    json.member("header", header(host));
    json.member("navigationBar", navigationBar(host));
    json.member("page", page(host, iosVersion));
    json.member("presented", presented(host));
    json.key("rows");
    json.document(std::move(rows).str());
    json.member("sections", sections(host));
    json.endObject();
}

Value PageDescription::page(PageHost& host, const std::string& iosVersion) {
    const Ref<UITraitCollection> traits = UIScreen::mainScreen()->traitCollection();
    const std::vector<std::string> language = host.bundle()->preferredLocalizations();
    return Value(Value::Dictionary{
        {"bundle", host.bundlePath()},
        {"controller", host.controller()->className()},
        {"title", host.title()},
        {"shownController", host.shownController()->className()},
        {"shownTitle", host.shownController()->title()},
        {"ios", iosVersion},
        {"width", host.window()->bounds().size.width},
        {"height", host.pageHeight()},
        {"launches", static_cast<long>(host.launches())},
        // The device's look.
        {"appearance", TraitNames::appearanceName(traits->userInterfaceStyle())},
        {"contentSize", TraitNames::contentSizeName(traits->preferredContentSizeCategory())},
        {"device", host.deviceName() ? Value(*host.deviceName()) : Value()},
        {"orientation", host.isLandscape() ? "landscape" : "portrait"},
        {"language", language.empty() ? Value() : Value(language.front())},
        {"layoutDirection", UIApplication::sharedApplication()->userInterfaceLayoutDirection() ==
                                    UIUserInterfaceLayoutDirectionRightToLeft
                                ? "rightToLeft"
                                : "leftToRight"},
    });
}

Value PageDescription::sections(PageHost& host) {
    Ref<UITableView> table = host.shownController()->table();
    Value::Array out;
    const auto& sections = table->sections();
    const auto& layouts = table->sectionLayouts();
    for (size_t i = 0; i < sections.size(); ++i) {
        Value::Dictionary section{{"header", sections[i].headerTitle},
                                  {"footer", sections[i].footerTitle},
                                  {"rows", static_cast<long>(sections[i].rows.size())}};
        if (i < layouts.size()) {
            section["frame"] =
                SDKDescription::rect(table->convertRectToView(layouts[i].card, nullptr));
        }
        out.emplace_back(std::move(section));
    }
    return Value(std::move(out));
}

Value PageDescription::header(PageHost& host) {
    Ref<UIView> header = host.controller()->table()->tableHeaderView();
    if (!header) {
        return Value();
    }
    return Value(Value::Dictionary{
        {"class", header->className()},
        {"frame", SDKDescription::rect(header->convertRectToView(header->bounds(), nullptr))},
        {"views", SDKViewInspector().describeTree(*header)},
    });
}

void PageDescription::forEachRow(PageHost& host,
                                 const std::function<void(const PageHost::Row&)>& visit) {
    Ref<PSListController> shown = host.shownController();
    Ref<UITableView> table = shown->table();
    const auto& sections = shown->sections();
    size_t index = 0;
    for (size_t section = 0; section < sections.size(); ++section) {
        const auto& specifiers = sections[section].rows;
        for (size_t i = 0; i < specifiers.size(); ++i) {
            // Asking for a row off screen makes its cell; the next one asked
            // for lets it go again.
            Ref<UITableViewCell> cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(
                static_cast<NSInteger>(i), static_cast<NSInteger>(section)));
            const PageHost::Row row{specifiers[i], objc_cast<PSTableCell>(cell), section, index};
            if (row.cell) {
                row.cell->layoutIfNeeded();
            }
            visit(row);
            ++index;
        }
    }
    // The table lays the page out afresh with every row's height now known.
    host.window()->layoutIfNeeded();
}

Value PageDescription::navigationBar(PageHost& host) {
    Ref<UINavigationBar> bar = host.navigationController()->navigationBar();
    Ref<UINavigationItem> top = bar->topItem();
    auto items = [](const Ref<UIBarButtonItem>& item) {
        Value::Array out;
        if (item) {
            Ref<UIImage> image = item->image();
            out.emplace_back(Value::Dictionary{
                {"class", item->className()},
                {"title", item->title()},
                {"symbol", image ? Value(image->symbolName()) : Value()},
                {"enabled", item->isEnabled()},
            });
        }
        return Value(std::move(out));
    };
    return Value(Value::Dictionary{
        {"leftItems", items(top ? top->leftBarButtonItem() : nullptr)},
        {"rightItems", items(top ? top->rightBarButtonItem() : nullptr)},
        {"views", SDKViewInspector().describeTree(*bar)},
    });
}

Value PageDescription::describeRow(const PageHost::Row& row, const SDKViewInspector& inspector) {
    const Ref<PSSpecifier>& specifier = row.specifier;
    Value::Dictionary entry{
        {"index", static_cast<long>(row.index)},
        {"section", static_cast<long>(row.section)},
        {"label", specifier->name()},
        {"key", specifier->propertyForKey("key").optionalString()},
        {"cell", specifier->cellType()},
        {"cellClass", specifier->propertyForKey("cellClass").optionalString()},
        {"height", specifier->propertyForKey("height")},
    };
    if (row.cell) {
        entry["class"] = row.cell->className();
        entry["frame"] =
            SDKDescription::rect(row.cell->convertRectToView(row.cell->bounds(), nullptr));
        entry["views"] = inspector.describeTree(*row.cell);
    }
    return Value(std::move(entry));
}

namespace {

const char* actionStyleName(UIAlertActionStyle style) {
    switch (style) {
    case UIAlertActionStyleCancel:
        return "cancel";
    case UIAlertActionStyleDestructive:
        return "destructive";
    default:
        return "default";
    }
}

// What a presented screen shows, by its kind.
Value::Dictionary describeScreen(const Ref<UIViewController>& screen) {
    Value::Dictionary description{{"class", screen->className()}};
    if (screen->title()) {
        description["title"] = *screen->title();
    }
    if (auto alert = objc_cast<UIAlertController>(screen)) {
        description["kind"] =
            alert->preferredStyle() == UIAlertControllerStyleAlert ? "alert" : "actionSheet";
        description["title"] = alert->title();
        description["message"] = alert->message();
        Value::Array fields;
        for (const Ref<UITextField>& field : alert->textFields()) {
            fields.emplace_back(
                Value::Dictionary{{"text", field->text()}, {"placeholder", field->placeholder()}});
        }
        description["textFields"] = std::move(fields);
        Value::Array actions;
        for (const Ref<UIAlertAction>& action : alert->actions()) {
            actions.emplace_back(
                Value::Dictionary{{"title", action->title()},
                                  {"style", actionStyleName(action->style())},
                                  {"enabled", action->isEnabled()},
                                  {"preferred", alert->preferredAction() == action}});
        }
        description["actions"] = std::move(actions);
    } else if (auto picker = objc_cast<UIColorPickerViewController>(screen)) {
        description["kind"] = "colorPicker";
        description["selectedColor"] = SDKDescription::color(picker->selectedColor());
        description["supportsAlpha"] = picker->supportsAlpha();
    } else if (auto menu = objc_cast<SDKMenuViewController>(screen)) {
        description["kind"] = "menu";
        description["title"] = menu->menu()->title();
        Value::Array actions;
        for (const auto& [action, row] : menu->rows()) {
            Value::Dictionary item{{"title", action->title()},
                                   {"identifier", action->identifier()}};
            item["symbol"] = action->image() ? Value(action->image()->symbolName()) : Value();
            actions.emplace_back(std::move(item));
        }
        description["actions"] = std::move(actions);
    } else if (objc_cast<SFSafariViewController>(screen)) {
        // Until a page loads, the browser's title is the address it opened.
        description["kind"] = "browser";
        description["url"] = screen->title();
    } else if (auto sheet = objc_cast<UIActivityViewController>(screen)) {
        description["kind"] = "shareSheet";
        description["items"] = sheet->activityItems();
    } else if (auto composer = objc_cast<MFMailComposeViewController>(screen)) {
        description["kind"] = "mailComposer";
        description["subject"] = composer->subject();
        Value::Array recipients(composer->toRecipients().begin(), composer->toRecipients().end());
        description["toRecipients"] = std::move(recipients);
    } else {
        description["kind"] = "sheet";
    }
    return description;
}

} // namespace

Value PageDescription::presented(PageHost& host) {
    Value::Array out;
    Ref<UIViewController> root = host.window()->rootViewController();
    for (Ref<UIViewController> screen = root ? root->presentedViewController() : nullptr; screen;
         screen = screen->presentedViewController()) {
        out.emplace_back(describeScreen(screen));
    }
    return Value(std::move(out));
}

Value PageDescription::domains(Value::Dictionary& errors) {
    Value::Dictionary out;
    std::error_code error;
    const std::filesystem::path folder =
        DeviceRoot::hostPathFor(PSPreferenceDomain::kPreferencesFolder);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::filesystem::path& path = entry.path();
        // Anything else named like a domain (a folder, a FIFO) is listed
        // among the errors; reading refuses it without waiting on it.
        if (path.extension() != ".plist") {
            continue;
        }
        // Read as the rows read it, so that what the rows refuse (a link in
        // place of the file, for one) is listed as refused here too.
        const std::string domain = path.stem().string();
        std::string reason;
        std::optional<Value::Dictionary> contents = PSPreferenceDomain::contents(domain, &reason);
        if (contents) {
            out[domain] = Value(std::move(*contents));
        } else {
            errors[domain] = reason.empty() ? "unreadable" : reason;
        }
    }
    return Value(std::move(out));
}

Value::Dictionary PageDescription::describeEvent(const SDKEvent& event) {
    return std::visit(EventEntry(), event);
}

Value PageDescription::events() {
    Value::Array out;
    for (const SDKEvent& event : SDKEventLog::events()) {
        out.emplace_back(describeEvent(event));
    }
    return Value(std::move(out));
}
