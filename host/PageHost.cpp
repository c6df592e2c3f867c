#include "PageHost.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSBundle.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIColor.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>
#include <UIKit/UIWindow.h>
#include <objc/runtime.h>

#include "HostError.h"
#include "SettingsSplitView.h"
#include "StatusBarView.h"

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

const std::vector<std::string>& PageHost::bundleFolders() {
    static const std::vector<std::string> folders = {"/Library/PreferenceBundles",
                                                     "/var/jb/Library/PreferenceBundles"};
    return folders;
}

PageHost::PageHost(const Settings& settings)
    : _requestedBundlePath(settings.bundlePath), _prepareController(settings.prepareController),
      _wholePage(settings.wholePage), _device(settings.look.device),
      _landscape(settings.look.landscape), _statusBar(settings.look.statusBar) {
    // The host hears of a respring as it is asked for, and keeps what it
    // shows later: the messages logged and how many stores failed.
    _listening = SDKEventLog::subscribe([heard = _heard](const SDKEvent& event) {
        if (const auto* error = std::get_if<SDKEvents::Error>(&event)) {
            std::lock_guard lock(heard->mutex);
            heard->errors.push_back(error->message);
        } else if (std::holds_alternative<SDKEvents::StoreFailed>(event)) {
            ++heard->failedStores;
        } else if (HostDevice::restartsUserInterface(event)) {
            heard->restartRequested = true;
        }
    });
    _libraryFailures = HostDevice::configure({settings.deviceRoot, settings.iosVersion,
                                              settings.width, settings.look, settings.network,
                                              settings.mailAccount, settings.libraries});
    launch();
}

void PageHost::launch() {
    _bundlePath = _requestedBundlePath ? *_requestedBundlePath : findBundle();
    _bundle = NSBundle::bundleWithPath(_bundlePath);
    if (!_bundle) {
        HostError::throwLoad("no preference bundle at " + _bundlePath + " (looked in " +
                             DeviceRoot::hostPathFor(_bundlePath) + ")");
    }
    _bundlePath = _bundle->bundlePath();
    readInfo();
    _controller = makeController();
    _controller->setBundle(_bundle);
    _title = readTitle();
    _controller->setTitle(_title);

    // The page's rows, read now so that a page without any, or with more
    // than can be shown, fails clearly before a cell is made.
    const size_t rowsRead = _controller->specifiers().size();
    if (rowsRead == 0 && _controller->loadError()) {
        failWithoutRows();
    }
    if (rowsRead > kMaximumRows) {
        HostError::throwLoad(_bundlePath + " has " + std::to_string(rowsRead) +
                             " rows; a page shows at most " + std::to_string(kMaximumRows) +
                             ", and one this large would exhaust memory");
    }

    // Settings' own list lies below the page, so the page's back button leads to it.
    Ref<UIViewController> settingsList = alloc<UIViewController>()->init();
    settingsList->setTitle(SDKSystemText::localized("Settings"));
    settingsList->view()->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    _navigation = alloc<UINavigationController>()->initWithRootViewController(settingsList);
    _window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    if (UIScreen::mainScreen()->traitCollection()->userInterfaceIdiom() ==
        UIUserInterfaceIdiomPad) {
        // On an iPad the list is a column of its own and the page opens beside it.
        _navigation->setViewControllers({_controller}, false);
        Ref<UIViewController> split = alloc<UIViewController>()->init();
        Ref<SettingsSplitView> splitView =
            alloc<SettingsSplitView>()->initWithFrame(_window->bounds(), _title);
        split->setView(splitView);
        split->addChildViewController(_navigation);
        splitView->setDetailView(_navigation->view());
        _window->setRootViewController(split);
    } else {
        _navigation->setViewControllers({settingsList, _controller}, false);
        _window->setRootViewController(_navigation);
    }
    if (_device) {
        // The band above the bar shows the page's background, and the status bar in it.
        _window->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
        const CGFloat statusBar = _device->statusBarHeight(_landscape);
        if (_statusBar && statusBar > 0) {
            _window->addSubview(alloc<StatusBarView>()->initWithDevice(
                *_device, _window->bounds().size.width, _window->safeAreaInsets().top));
        }
    }
    if (_prepareController) {
        _controller->view();
        _prepareController(_controller);
    }
    settle();
    ++_launches;
    // What launching the page asked for is not a restart of it.
    _heard->restartRequested = false;
}

bool PageHost::relaunchIfRestarted() {
    if (!_heard->restartRequested.exchange(false)) {
        return false;
    }
    launch();
    return true;
}

void PageHost::failWithoutRows() {
    // Every reason the page lost its items, each item that was skipped
    // included, for a page that ends up with no row at all.
    constexpr size_t kReasonsShown = 10;
    const std::vector<std::string> reasons = takeLoggedErrors();
    std::string message = "the page has no row to show:";
    for (size_t i = 0; i < reasons.size() && i < kReasonsShown; ++i) {
        message += "\n  " + reasons[i];
    }
    if (reasons.size() > kReasonsShown) {
        message += "\n  and " + std::to_string(reasons.size() - kReasonsShown) + " more";
    }
    HostError::throwLoad(message);
}

std::string PageHost::findBundle() const {
    std::vector<std::string> found;
    for (const std::string& folder : bundleFolders()) {
        std::error_code error;
        const std::filesystem::path host = DeviceRoot::hostPathFor(folder);
        for (const auto& entry : std::filesystem::directory_iterator(host, error)) {
            if (entry.path().extension() == ".bundle" && entry.is_directory(error)) {
                found.push_back(joined(folder, entry.path().filename().string()));
            }
        }
    }
    std::sort(found.begin(), found.end());
    if (found.empty()) {
        HostError::throwLoad("no preference bundle in /Library/PreferenceBundles or "
                             "/var/jb/Library/PreferenceBundles under " +
                             DeviceRoot::path() + "; name the one to show");
    }
    if (found.size() > 1) {
        std::string list;
        for (const std::string& path : found) {
            list += "\n  " + path;
        }
        HostError::throwLoad("several preference bundles; name the one to show:" + list);
    }
    return found.front();
}

void PageHost::readInfo() {
    const std::string path = joined(_bundlePath, "Info.plist");
    if (!std::filesystem::exists(DeviceRoot::hostPathFor(path))) {
        HostError::throwLoad(_bundlePath + " is not a bundle: it has no Info.plist");
    }
    std::string reason;
    std::optional<Value> info =
        NSPropertyListSerialization::propertyListWithContentsOfFile(path, &reason);
    if (!info || !info->dictionary()) {
        HostError::throwLoad(path + " is not a property-list dictionary" +
                             (reason.empty() ? "" : ": " + reason));
    }
    _info = *info->dictionary();
}

Ref<PSListController> PageHost::makeController() {
    auto entry = [&](const char* key) {
        auto found = _info.find(key);
        return found == _info.end() ? std::optional<std::string>() : found->second.optionalString();
    };
    // The bundle's executable, loaded for good as Settings loads it, exports
    // the controller class named by NSPrincipalClass.
    if (std::optional<std::string> executable = entry("CFBundleExecutable")) {
        loadExecutable(*executable);
    }
    std::optional<std::string> principal = entry("NSPrincipalClass");
    if (!principal || *principal == "PSListController") {
        return alloc<PSListController>()->init();
    }
    if (Class cls = objc_getClass(principal->c_str())) {
        Id made = objc_msgSend(objc_msgSend(cls, "alloc"), "init");
        if (Ref<PSListController> controller = made.object<PSListController>()) {
            return controller;
        }
        SDKEventLog::logError("principal class " + *principal +
                              " is not a list controller; showing the page with PSListController");
    } else {
        SDKEventLog::logError("principal class " + *principal +
                              " not found; showing the page with PSListController");
    }
    return alloc<PSListController>()->init();
}

void PageHost::loadExecutable(const std::string& name) {
    // The executable is a file of the bundle's own: a name that climbs out
    // of it would load a library from elsewhere on the device.
    const std::filesystem::path relative(name);
    if (name.empty() || relative.is_absolute() ||
        std::any_of(relative.begin(), relative.end(),
                    [](const std::filesystem::path& part) { return part == ".."; })) {
        SDKEventLog::logError("could not load the executable " + name +
                              ": it names no file inside the bundle");
        return;
    }
    const std::string path = DeviceRoot::hostPathFor(joined(_bundlePath, name));
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return;
    }
    // Opening a FIFO or a device would wait for ever; only a regular file loads.
    if (!S_ISREG(info.st_mode)) {
        SDKEventLog::logError("could not load the executable " + name +
                              ": it is not a regular file");
        return;
    }
    if (!dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
        SDKEventLog::logError("could not load the executable " + name + ": " + dlerror());
    }
}

std::string PageHost::readTitle() {
    if (std::optional<std::string> root = _bundle->pathForResource("Root", "plist")) {
        std::optional<Value> plist =
            NSPropertyListSerialization::propertyListWithContentsOfFile(*root);
        if (std::optional<std::string> title =
                plist ? plist->objectForKey("title").optionalString() : std::nullopt) {
            return _bundle->localizedStringForKey(*title, *title, "Root");
        }
    }
    // Without a title, the bundle's name in the user's language (InfoPlist.strings).
    if (std::optional<std::string> name =
            _bundle->objectForInfoDictionaryKey("CFBundleDisplayName").optionalString()) {
        return *name;
    }
    return std::filesystem::path(_bundlePath).stem().string();
}

Ref<PSListController> PageHost::shownController() const {
    Ref<PSListController> top = objc_cast<PSListController>(_navigation->topViewController());
    return top ? top : _controller;
}

std::vector<PageHost::Row> PageHost::rows() const {
    std::vector<Row> rows;
    Ref<PSListController> shown = shownController();
    const auto& sections = shown->sections();
    for (size_t section = 0; section < sections.size(); ++section) {
        for (const Ref<PSSpecifier>& specifier : sections[section].rows) {
            rows.push_back({specifier, shown->cellForSpecifier(specifier), section, rows.size()});
        }
    }
    return rows;
}

void PageHost::settle() {
    DispatchMainQueue::drain();
    _window->layoutIfNeeded();
    if (!_wholePage) {
        return;
    }
    // The page shows whole: the window reaches down to the end of the table.
    // Rows that come on screen get their cells, which may make them taller,
    // so the window grows until the page's height holds.
    while (true) {
        const CGRect page =
            CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, pageHeight());
        if (_window->frame() == page) {
            break;
        }
        _window->setFrame(page);
        _window->layoutIfNeeded();
    }
}

CGFloat PageHost::pageHeight() const {
    CGFloat height = UIScreen::mainScreen()->bounds().size.height;
    if (Ref<PSListController> shown =
            objc_cast<PSListController>(_navigation->topViewController())) {
        height = std::max(height, UIScreen::mainScreen()->safeAreaInsets().top +
                                      UINavigationBar::kHeight + shown->table()->contentHeight());
    }
    return height;
}

bool PageHost::settleAfterBackgroundWork() {
    const bool finished = DispatchMainQueue::drainUntilIdle(kBackgroundWorkLimit);
    settle();
    return finished;
}

std::vector<std::string> PageHost::takeLoggedErrors() {
    std::lock_guard lock(_heard->mutex);
    return std::exchange(_heard->errors, {});
}
