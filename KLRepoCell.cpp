#include "KLRepoCell.h"

#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <SafariServices/SFSafariViewController.h>
#include <UIKit/UIViewController.h>

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLRepoCell{
        "KLRepoCell", &OBJC_CLASS_$_PSTableCell, PSTableCellClassMethods<KLRepoCell>::classMethods,
        PSTableCellClassMethods<KLRepoCell>::instanceMethods};

namespace {

constexpr CGFloat kRepoRowHeight = 120;

// The browser raises for any other address, which would take the page down.
bool isWebPage(const Ref<NSURL>& url) {
    if (!url || !url->scheme() || !url->host()) {
        return false;
    }
    const std::string scheme = NSString::uppercaseString(*url->scheme());
    return scheme == "HTTP" || scheme == "HTTPS";
}

// A property that must be text; anything else counts as nil.
std::optional<std::string> textProperty(const Ref<PSSpecifier>& specifier, const char* key) {
    return specifier ? specifier->propertyForKey(key).optionalString() : std::nullopt;
}

} // namespace

const objc_class* KLRepoCell::objcClass() const {
    return &OBJC_CLASS_$_KLRepoCell;
}

Ref<KLRepoCell> KLRepoCell::initWithStyle(UITableViewCellStyle style,
                                          const std::optional<std::string>& reuseIdentifier,
                                          const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    if (specifier) {
        specifier->setProperty(Value::numberWithInt(static_cast<int32_t>(kRepoRowHeight)),
                               "height");
    }
    // Only a missing "link" takes the default; an empty one stays empty.
    const bool hasLink = specifier && !specifier->propertyForKey("link").isNil();
    _link = hasLink ? textProperty(specifier, "link") : std::string(kDefaultLink);

    const CGFloat width = contentView()->bounds().size.width;
    _button = alloc<KLRepoCellButton>()->initWithFrame(CGRectMake(0, 0, width, kRepoRowHeight),
                                                       textProperty(specifier, "title"));
    _button->addTarget(self<KLRepoCell>(), &KLRepoCell::openLink, UIControlEventTouchUpInside);
    contentView()->addSubview(_button);
    return self<KLRepoCell>();
}

void KLRepoCell::openLink() {
    Ref<NSURL> url = NSURL::URLWithString(_link);
    if (!isWebPage(url)) {
        return;
    }
    Ref<SFSafariViewController> browser = alloc<SFSafariViewController>()->initWithURL(url);
    browser->setDelegate(self<KLRepoCell>());
    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->presentViewController(browser, true, nullptr);
    }
}

void KLRepoCell::safariViewControllerDidFinish(const Ref<SFSafariViewController>&) {
    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->dismissViewControllerAnimated(true, nullptr);
    }
}

void KLRepoCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    _button->setFrame(CGRectMake(0, 0, contentView()->bounds().size.width, kRepoRowHeight));
}
