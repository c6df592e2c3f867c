#include <SafariServices/SFSafariViewController.h>

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <SafariServices/SFSafariViewControllerDelegate.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/SDKSystemText.h>
#include <UIKit/UIButton.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>

namespace {

constexpr CGFloat kBarHeight = 56;
constexpr CGFloat kMargin = 16;

bool isWebScheme(const std::optional<std::string>& scheme) {
    if (!scheme) {
        return false;
    }
    const std::string upper = NSString::uppercaseString(*scheme);
    return upper == "HTTP" || upper == "HTTPS";
}

Ref<UILabel> label(const std::string& text, Ref<UIFont> font, Ref<UIColor> color) {
    Ref<UILabel> made = alloc<UILabel>()->init();
    made->setTranslatesAutoresizingMaskIntoConstraints(false);
    made->setText(text);
    made->setFont(std::move(font));
    made->setTextColor(std::move(color));
    made->setTextAlignment(NSTextAlignmentCenter);
    made->setAdjustsFontSizeToFitWidth(true);
    return made;
}

} // namespace

Ref<SFSafariViewController> SFSafariViewController::initWithURL(const Ref<NSURL>& URL) {
    if (!URL) {
        throw NSException(NSInvalidArgumentException, "The specified URL must not be nil.");
    }
    if (!isWebScheme(URL->scheme())) {
        throw NSException(NSInvalidArgumentException,
                          "The specified URL has an unsupported scheme. Only HTTP and HTTPS URLs "
                          "are supported.");
    }
    UIViewController::init();
    setModalPresentationStyle(UIModalPresentationFullScreen);
    _URL = URL;
    // No page is loaded here, so the title the browser shows is its address.
    setTitle(URL->absoluteString());
    return self<SFSafariViewController>();
}

void SFSafariViewController::loadView() {
    Ref<UIView> screen = alloc<UIView>()->initWithFrame(UIScreen::mainScreen()->bounds());
    screen->setBackgroundColor(UIColor::systemBackgroundColor());
    setView(screen);

    Ref<UIView> bar = alloc<UIView>()->init();
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    bar->setBackgroundColor(UIColor::systemGroupedBackgroundColor());
    screen->addSubview(bar);

    Ref<UIButton> done = UIButton::buttonWithType(UIButtonTypeSystem);
    done->setTranslatesAutoresizingMaskIntoConstraints(false);
    done->setTitle(SDKSystemText::localized("Done"), UIControlStateNormal);
    done->titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
    done->addTarget(self<SFSafariViewController>(), &SFSafariViewController::doneTapped,
                    UIControlEventTouchUpInside);
    bar->addSubview(done);

    Ref<UILabel> address = label(_URL->host().value_or(_URL->absoluteString()),
                                 UIFont::systemFontOfSize(15), UIColor::labelColor());
    bar->addSubview(address);

    Ref<UILabel> page =
        label(_URL->absoluteString(), UIFont::systemFontOfSize(13), UIColor::secondaryLabelColor());
    screen->addSubview(page);

    NSLayoutConstraint::activateConstraints({
        bar->topAnchor()->constraintEqualToAnchor(screen->topAnchor()),
        bar->leftAnchor()->constraintEqualToAnchor(screen->leftAnchor()),
        bar->rightAnchor()->constraintEqualToAnchor(screen->rightAnchor()),
        bar->heightAnchor()->constraintEqualToConstant(kBarHeight),
        // Done leads the bar: at the right, right to left.
        done->leadingAnchor()->constraintEqualToAnchor(bar->leadingAnchor(), kMargin),
        done->centerYAnchor()->constraintEqualToAnchor(bar->centerYAnchor()),
        address->centerXAnchor()->constraintEqualToAnchor(bar->centerXAnchor()),
        address->centerYAnchor()->constraintEqualToAnchor(bar->centerYAnchor()),
        address->leadingAnchor()->constraintGreaterThanOrEqualToAnchor(done->trailingAnchor(), 8),
        page->centerXAnchor()->constraintEqualToAnchor(screen->centerXAnchor()),
        page->topAnchor()->constraintEqualToAnchor(bar->bottomAnchor(), 2 * kMargin),
        page->leftAnchor()->constraintGreaterThanOrEqualToAnchor(screen->leftAnchor(), kMargin),
    });
}

void SFSafariViewController::doneTapped() {
    Ref<SFSafariViewController> me = self<SFSafariViewController>();
    if (Ref<SFSafariViewControllerDelegate> listener = delegate()) {
        listener->safariViewControllerDidFinish(me);
    }
    // The delegate may have dismissed the browser already.
    if (presentingViewController()) {
        dismissViewControllerAnimated(true, nullptr);
    }
}
