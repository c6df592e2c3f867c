#pragma once

#include <memory>
#include <string>
#include <vector>

#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/PSListController.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIWindow.h>

#include "HostError.h"
#include "PageHost.h"
#include "TemporaryDeviceRoot.h"
#include "automation/Keyboard.h"
#include "automation/PageDriver.h"

// A preference bundle written to a temporary device root and shown by the
// host as the Settings app shows a tweak's page, with the driver that acts on
// it through the window.
class HostedPage {
public:
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/Test.bundle";
    static constexpr const char* kDomain = "com.example.test";

    // A row of the framework's `cell` type storing `key` in the test domain,
    // labelled by its key, with any further properties.
    static Value::Dictionary row(const char* cell, const char* key, Value::Dictionary extra = {}) {
        Value::Dictionary properties{
            {"cell", cell}, {"label", key}, {"key", key}, {"defaults", kDomain}};
        for (auto& [name, value] : extra) {
            properties[name] = value;
        }
        return properties;
    }

    // `items` become Root.plist's "items", `stored` the domain's values before
    // the page loads, `strings` the English Root.strings. `look` gives the
    // device's appearance, text size, model, orientation and languages.
    HostedPage(const TemporaryDeviceRoot& root, Value::Array items,
               const Value::Dictionary& stored = {}, const std::string& strings = "",
               const DeviceLook& look = {}) {
        SDKEventLog::clear();
        if (!stored.empty()) {
            store(stored);
        }
        const Value plist(Value::Dictionary{{"items", std::move(items)}});
        root.write(
            std::string(kBundlePath) + "/Root.plist",
            NSPropertyListSerialization::dataWithPropertyList(plist, NSPropertyListXMLFormat_v1_0));
        root.write(std::string(kBundlePath) + "/Info.plist",
                   NSPropertyListSerialization::dataWithPropertyList(
                       Value(Value::Dictionary{{"CFBundleIdentifier", kDomain}}),
                       NSPropertyListXMLFormat_v1_0));
        if (!strings.empty()) {
            root.write(std::string(kBundlePath) + "/en.lproj/Root.strings", strings);
        }
        PageHost::Settings settings;
        settings.deviceRoot = root.path();
        settings.bundlePath = kBundlePath;
        // The version the test has the device report.
        settings.iosVersion = NSProcessInfo::processInfo()->operatingSystemVersion();
        settings.look = look;
        host = std::make_unique<PageHost>(settings);
        driver = std::make_unique<PageDriver>(*host);
        controller = host->controller();
        window = host->window();
    }

    Ref<PSSpecifier> specifier(size_t index) { return controller->specifiers().at(index); }
    template <class Cell = PSTableCell> Ref<Cell> cell(size_t index) {
        return objc_cast<Cell>(controller->cellForSpecifier(specifier(index)));
    }

    // The domain's file as it is on disk; nil when it is missing or unreadable.
    Value stored(const std::string& key, const std::string& domain = kDomain) const {
        std::optional<Value> plist = NSPropertyListSerialization::propertyListWithContentsOfFile(
            "/var/mobile/Library/Preferences/" + domain + ".plist");
        return plist ? plist->objectForKey(key) : Value();
    }
    void store(const Value::Dictionary& values, const std::string& domain = kDomain) const {
        NSPropertyListSerialization::writePropertyList(
            Value(values), "/var/mobile/Library/Preferences/" + domain + ".plist",
            NSPropertyListBinaryFormat_v1_0);
    }

    // What a person does on the page, through the same driver as klprefs'
    // scripts; each act is followed by the main queue's work.
    Finger finger() const { return driver->finger(); }
    void tap(const Ref<UIView>& view) { driver->tap(view); }
    // Taps the row of the specifier at `index`, where its title is.
    void tapRow(size_t index) { driver->tapRow(cell(index)); }
    void drag(const Ref<UISlider>& slider, float value, size_t movements = 10) {
        driver->drag(slider, value, movements);
    }
    void press(const Ref<UIStepper>& stepper, UIStepper::Button button, size_t repeats = 0) {
        driver->press(stepper, button, repeats);
    }
    // Taps the button of the presented alert with this title.
    void tapButton(const Ref<UIAlertController>& alert, const std::string& title) {
        if (window->topViewController() != alert) {
            throw HostError(HostError::Kind::Step, "the alert is not on top");
        }
        driver->pressButton(title);
    }
    // Puts the caret in the alert's first field, empties it and types.
    void typeInto(const Ref<UIAlertController>& alert, const std::string& text) {
        driver->replaceText(alert->textFields().at(0), text);
    }

    std::unique_ptr<PageHost> host;
    std::unique_ptr<PageDriver> driver;
    Ref<PSListController> controller;
    Ref<UIWindow> window;
};
