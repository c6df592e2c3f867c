#pragma once

#include <string>
#include <vector>

#include <Foundation/NSBundle.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/PSListController.h>
#include <UIKit/UIWindow.h>

#include "TemporaryDeviceRoot.h"

// A preference bundle written to a temporary device root and shown by a list
// controller in a window, as the Settings app shows a tweak's page.
class HostedPage {
public:
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/Test.bundle";
    static constexpr const char* kDomain = "com.example.test";

    // `items` become Root.plist's "items", `stored` the domain's values before
    // the page loads, `strings` the English Root.strings.
    HostedPage(const TemporaryDeviceRoot& root, Value::Array items,
               const Value::Dictionary& stored = {}, const std::string& strings = "")
        : _root(root) {
        SDKEventLog::clear();
        if (!stored.empty()) {
            store(stored);
        }
        const Value plist(Value::Dictionary{{"items", std::move(items)}});
        root.write(
            std::string(kBundlePath) + "/Root.plist",
            NSPropertyListSerialization::dataWithPropertyList(plist, NSPropertyListXMLFormat_v1_0));
        if (!strings.empty()) {
            root.write(std::string(kBundlePath) + "/en.lproj/Root.strings", strings);
        }
        controller = alloc<PSListController>()->init();
        controller->setBundle(NSBundle::bundleWithPath(kBundlePath));
        window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, 844));
        window->setRootViewController(controller);
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

    Ref<PSListController> controller;
    Ref<UIWindow> window;

private:
    const TemporaryDeviceRoot& _root;
};
