#include "PageHost.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UILabel.h>
#include <objc/runtime.h>

#include "HostError.h"

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw HostError(HostError::Kind::Load, message);
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The back button's chevron, as a stroked path.
Ref<CAShapeLayer> chevron() {
    auto path = std::make_shared<CGPath>();
    path->moveTo({19, 12});
    path->lineTo({10.5, 22});
    path->lineTo({19, 32});
    Ref<CAShapeLayer> layer = CAShapeLayer::layer();
    layer->setPath(path);
    layer->setFillColor(nullptr);
    layer->setStrokeColor(UIColor::systemBlueColor()->CGColor());
    layer->setLineWidth(3);
    return layer;
}

} // namespace

const std::vector<std::string>& PageHost::bundleFolders() {
    static const std::vector<std::string> folders = {"/Library/PreferenceBundles",
                                                     "/var/jb/Library/PreferenceBundles"};
    return folders;
}

PageHost::PageHost(const Settings& settings) : _settings(settings) {
    std::error_code error;
    if (!std::filesystem::is_directory(settings.deviceRoot, error)) {
        fail("the device root " + settings.deviceRoot + " is not a folder");
    }
    DeviceRoot::setPath(settings.deviceRoot);
    NSProcessInfo::setOperatingSystemVersion(settings.iosVersion);
    DispatchMainQueue::markMainThread();

    _bundlePath = settings.bundlePath ? *settings.bundlePath : findBundle();
    _bundle = NSBundle::bundleWithPath(_bundlePath);
    if (!_bundle) {
        fail("no preference bundle at " + _bundlePath + " (looked in " +
             DeviceRoot::hostPathFor(_bundlePath) + ")");
    }
    _bundlePath = _bundle->bundlePath();
    readInfo();
    _controller = makeController();
    _controller->setBundle(_bundle);
    _title = readTitle();
    _controller->setTitle(_title);

    // The page's rows, read now so that a page without any fails clearly.
    const size_t rowsRead = _controller->specifiers().size();
    if (rowsRead == 0 && _controller->loadError()) {
        fail(*_controller->loadError());
    }

    _window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, settings.width, kScreenHeight));
    _window->setRootViewController(_controller);
    _navigationBar = makeNavigationBar();
    _window->addSubview(_navigationBar);
    settle();
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
        fail("no preference bundle in /Library/PreferenceBundles or "
             "/var/jb/Library/PreferenceBundles under " +
             DeviceRoot::path() + "; name one with --bundle");
    }
    if (found.size() > 1) {
        std::string list;
        for (const std::string& path : found) {
            list += "\n  " + path;
        }
        fail("several preference bundles; choose one with --bundle:" + list);
    }
    return found.front();
}

void PageHost::readInfo() {
    const std::string path = joined(_bundlePath, "Info.plist");
    if (!std::filesystem::exists(DeviceRoot::hostPathFor(path))) {
        fail(_bundlePath + " is not a bundle: it has no Info.plist");
    }
    std::string reason;
    std::optional<Value> info =
        NSPropertyListSerialization::propertyListWithContentsOfFile(path, &reason);
    if (!info || !info->dictionary()) {
        fail(path + " is not a property-list dictionary" + (reason.empty() ? "" : ": " + reason));
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
        const std::string path = DeviceRoot::hostPathFor(joined(_bundlePath, *executable));
        if (std::filesystem::exists(path)) {
            if (!dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
                SDKEventLog::logError("could not load the executable " + *executable + ": " +
                                      dlerror());
            }
        }
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
        SDKEventLog::logError(*principal +
                              " made no PSListController; showing the page with PSListController");
    } else {
        SDKEventLog::logError("principal class " + *principal +
                              " not found; showing the page with PSListController");
    }
    return alloc<PSListController>()->init();
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
    const std::string folder = std::filesystem::path(_bundlePath).stem().string();
    return folder;
}

Ref<UIView> PageHost::makeNavigationBar() const {
    const CGFloat width = _settings.width;
    Ref<UIView> bar = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, width, kNavigationBarHeight));
    bar->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    Ref<UILabel> title =
        alloc<UILabel>()->initWithFrame(CGRectMake(96, 0, width - 192, kNavigationBarHeight));
    title->setText(_title);
    title->setFont(UIFont::boldSystemFontOfSize(17));
    title->setTextAlignment(NSTextAlignmentCenter);
    bar->addSubview(title);
    Ref<UILabel> back =
        alloc<UILabel>()->initWithFrame(CGRectMake(26, 0, 80, kNavigationBarHeight));
    back->setText(std::string("Settings"));
    back->setTextColor(UIColor::systemBlueColor());
    bar->addSubview(back);
    bar->layer()->addSublayer(chevron());
    return bar;
}

std::vector<PageHost::Row> PageHost::rows() const {
    std::vector<Row> rows;
    // Rows before the first group cell make a section of their own.
    std::optional<size_t> section;
    for (const Ref<PSSpecifier>& specifier : _controller->specifiers()) {
        if (specifier->cellType() == "PSGroupCell") {
            section = section ? *section + 1 : 0;
            continue;
        }
        if (!section) {
            section = 0;
        }
        rows.push_back(
            {specifier, _controller->cellForSpecifier(specifier), *section, rows.size()});
    }
    return rows;
}

void PageHost::settle() {
    DispatchMainQueue::drain();
    Ref<UITableView> table = _controller->table();
    _window->layoutIfNeeded();
    const CGFloat height = std::max(kScreenHeight, kNavigationBarHeight + table->contentHeight());
    const CGRect page = CGRectMake(0, 0, _settings.width, height);
    if (_window->frame() != page) {
        _window->setFrame(page);
    }
    const CGRect below =
        CGRectMake(0, kNavigationBarHeight, _settings.width, height - kNavigationBarHeight);
    if (table->frame() != below) {
        table->setFrame(below);
    }
    _window->layoutIfNeeded();
}

std::vector<std::string> PageHost::takeLoggedErrors() {
    std::vector<SDKEvent> errors = SDKEventLog::eventsOfKind("error");
    std::vector<std::string> messages;
    for (size_t i = _errorsSeen; i < errors.size(); ++i) {
        messages.push_back(errors[i].details["message"].optionalString().value_or(""));
    }
    _errorsSeen = errors.size();
    return messages;
}
