#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/NSBundle.h>
#include <Foundation/NSProcessInfo.h>
#include <Preferences/PSListController.h>
#include <UIKit/UIWindow.h>

// A preference page shown as the Settings app shows it: the bundle found in
// the device root, its list controller (the bundle's principal class when its
// executable provides one), in a window as wide as the screen and as tall as
// the page, under a navigation bar with the page's title.
class PageHost {
public:
    struct Settings {
        std::string deviceRoot;
        // nil: the one bundle in the preference bundle folders.
        std::optional<std::string> bundlePath;
        NSOperatingSystemVersion iosVersion{16, 0, 0};
        CGFloat width = 390;
    };

    // One row of the page: its specifier, its cell, its section and its
    // index among the rows (group cells are not rows).
    struct Row {
        Ref<PSSpecifier> specifier;
        Ref<PSTableCell> cell;
        size_t section = 0;
        size_t index = 0;
    };

    // Loads the page; throws a load HostError naming what is missing or malformed.
    explicit PageHost(const Settings& settings);

    Ref<UIWindow> window() const { return _window; }
    Ref<PSListController> controller() const { return _controller; }
    const std::string& bundlePath() const { return _bundlePath; }
    const std::string& title() const { return _title; }
    std::vector<Row> rows() const;

    // Runs what the main queue holds and lays the page out again, the
    // window grown to the page's height.
    void settle();
    // Messages the platform logged since the last call (an unknown cell
    // class, a failed write), for the host to show.
    std::vector<std::string> takeLoggedErrors();

    // Where the preference bundles of a rootful and a rootless install lie.
    static const std::vector<std::string>& bundleFolders();

    static constexpr CGFloat kScreenHeight = 844;
    static constexpr CGFloat kNavigationBarHeight = 44;

private:
    std::string findBundle() const;
    void readInfo();
    Ref<PSListController> makeController();
    std::string readTitle();
    Ref<UIView> makeNavigationBar() const;

    Settings _settings;
    std::string _bundlePath;
    Ref<NSBundle> _bundle;
    Value::Dictionary _info;
    std::string _title;
    Ref<PSListController> _controller;
    Ref<UIWindow> _window;
    Ref<UIView> _navigationBar;
    size_t _errorsSeen = 0;
};
