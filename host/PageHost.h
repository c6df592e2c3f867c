#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <Foundation/Forward.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/PSListController.h>
#include <UIKit/Forward.h>

#include "HostDevice.h"

// A preference page shown as the Settings app shows it: the bundle found in
// the device root, its list controller (the bundle's principal class when its
// executable provides one) pushed on a navigation controller over Settings'
// own list, in a window as wide as the screen and as tall as the page.
class PageHost {
public:
    struct Settings {
        std::string deviceRoot;
        // nil: the one bundle in the preference bundle folders.
        std::optional<std::string> bundlePath;
        NSOperatingSystemVersion iosVersion{16, 0, 0};
        // nil: the standard screen's width.
        std::optional<CGFloat> width;
        // The device's traits, languages and status bar.
        DeviceLook look;
        // nil leaves the process's network and mail account as they are.
        std::optional<HostDevice::Network> network;
        std::optional<HostDevice::MailAccount> mailAccount;
        // The libraries the device has loaded besides the page's own.
        std::vector<HostDevice::Library> libraries;
        // What the host adds to the page's controller each time the page is
        // built, once its view is loaded (a header, a bar button).
        std::function<void(const Ref<PSListController>&)> prepareController;
        // The window grows to the page's height, so every row is on screen
        // and has its cell (to draw the page and to touch any row). Without,
        // the window is the screen's height and a row off screen has a cell
        // only while it is asked for: a long page is described row by row.
        bool wholePage = true;
    };

    // One row of the shown page: its specifier, its cell, its section and its
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
    Ref<UINavigationController> navigationController() const { return _navigation; }
    Ref<PSListController> controller() const { return _controller; }
    // The page on top of the navigation: a child page a link opened, else
    // the bundle's own page.
    Ref<PSListController> shownController() const;
    const std::string& bundlePath() const { return _bundlePath; }
    Ref<NSBundle> bundle() const { return _bundle; }
    const std::string& title() const { return _title; }
    // The device preset the page is shown on (nil: the standard screen).
    std::optional<std::string> deviceName() const {
        return _device ? std::optional(_device->name) : std::nullopt;
    }
    bool isLandscape() const { return _landscape; }
    std::vector<Row> rows() const;

    // Runs what the main queue holds and lays the page out again, the
    // window grown to the page's height when the whole page is shown.
    void settle();
    // The height of the whole page: the screen's, or the bar and the shown
    // page's table when that is taller.
    CGFloat pageHeight() const;
    // Waits for background work under way (an image read, say) to finish,
    // running what it hands to the main queue, then settles. Answers NO when
    // work was still under way after kBackgroundWorkLimit.
    bool settleAfterBackgroundWork();
    // After the page asked the system to restart the user interface
    // (HostDevice::restartsUserInterface), builds the page anew as Settings
    // comes back after a respring: the controller from the bundle, each row
    // from its stored value. Answers whether it did.
    bool relaunchIfRestarted();
    // How many times the page has been built: 1, and one more for each restart.
    size_t launches() const { return _launches; }
    // Why a library of the settings could not be loaded, one message each.
    const std::vector<std::string>& libraryFailures() const { return _libraryFailures; }
    // Messages the platform logged since the last call, or since the host
    // was made (an unknown cell class, a failed write), for the host to show.
    std::vector<std::string> takeLoggedErrors();
    // How many times the page asked to store a value and nothing was stored.
    size_t failedStores() const { return _heard->failedStores; }

    // Where the preference bundles of a rootful and a rootless install lie.
    static const std::vector<std::string>& bundleFolders();

    // How long the host waits for background work before it draws or prints.
    static constexpr double kBackgroundWorkLimit = 10;
    // The most rows a page may have. Each row's cell and views take tens of
    // kilobytes; a page beyond this is refused before any cell is made,
    // rather than exhausting the machine's memory.
    static constexpr size_t kMaximumRows = 20000;

private:
    // Reads the bundle and shows its page in a new window.
    void launch();
    std::string findBundle() const;
    [[noreturn]] void failWithoutRows();
    void readInfo();
    Ref<PSListController> makeController();
    // Loads the bundle's executable when it is there, logging why it could not.
    void loadExecutable(const std::string& name);
    std::string readTitle();

    std::string _bundlePath;
    Ref<NSBundle> _bundle;
    Value::Dictionary _info;
    std::string _title;
    Ref<PSListController> _controller;
    Ref<UINavigationController> _navigation;
    Ref<UIWindow> _window;
    std::optional<std::string> _requestedBundlePath;
    std::function<void(const Ref<PSListController>&)> _prepareController;
    bool _wholePage = true;
    std::optional<DevicePreset> _device;
    bool _landscape = false;
    bool _statusBar = true;
    std::vector<std::string> _libraryFailures;
    size_t _launches = 0;
    // What the host heard the page record, as it was recorded, on whichever
    // thread recorded it.
    struct Heard {
        std::mutex mutex;
        // The messages logged since the host last took them.
        std::vector<std::string> errors;
        std::atomic<size_t> failedStores = 0;
        // Set as an event that restarts the user interface is recorded.
        std::atomic<bool> restartRequested = false;
    };
    std::shared_ptr<Heard> _heard = std::make_shared<Heard>();
    SDKEventLog::Subscription _listening;
};
