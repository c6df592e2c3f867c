#include "KLHeaderView.h"

#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIMenu.h>
#include <UIKit/UIPopoverPresentationController.h>
#include <UIKit/UIStackView.h>
#include <UIKit/UIViewController.h>
#include <objc/ObjCExport.h>

namespace {

constexpr objc_method kHeaderViewClassMethods[] = {ObjCExport::allocMethod<KLHeaderView>()};
constexpr objc_method kHeaderViewInstanceMethods[] = {
    ObjCExport::method<&KLHeaderView::shareMenu>("shareMenu"),
    ObjCExport::method<&KLHeaderView::openTwitter>("openTwitter"),
    ObjCExport::method<&KLHeaderView::donate>("donate"),
};

constexpr CGFloat kSpacing = 5;
constexpr CGFloat kHeaderRowHeight = 30;
constexpr CGFloat kContentHeight = 80;
constexpr CGFloat kAuthorWidth = 85;
constexpr CGFloat kVersionWidth = 65;
constexpr CGFloat kSquareSide = 30;
constexpr CGFloat kHeaderButtonCornerRadius = 5;
constexpr CGFloat kNameFontSize = 32;
constexpr const char* kTwitterProfiles = "https://twitter.com/";

size_t lengthOf(const std::optional<std::string>& text) {
    return NSString::length(text.value_or(""));
}

void openAddress(const std::optional<std::string>& address) {
    UIApplication::sharedApplication()->openURL(NSURL::URLWithString(address), {}, nullptr);
}

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLHeaderView{
        "KLHeaderView", nullptr, kHeaderViewClassMethods, kHeaderViewInstanceMethods};

const objc_class* KLHeaderView::objcClass() const {
    return &OBJC_CLASS_$_KLHeaderView;
}

Ref<KLHeaderView> KLHeaderView::initWithFrame(
    const CGRect& frame, const std::optional<std::string>& twitterHandle,
    const std::optional<std::string>& developerName, const std::optional<std::string>& tweakName,
    const std::optional<std::string>& tweakVersion, const std::optional<std::string>& email,
    const std::optional<std::string>& discordURL, const std::optional<std::string>& donateURL) {
    if (!UIView::initWithFrame(frame)) {
        return nullptr;
    }
    _twitterHandle = twitterHandle;
    _developerName = developerName;
    _tweakName = tweakName;
    _email = email;
    _discordURL = discordURL;
    _donateURL = donateURL;

    _vStack = alloc<UIStackView>()->init();
    _vStack->setTranslatesAutoresizingMaskIntoConstraints(false);
    _vStack->setAxis(UILayoutConstraintAxisVertical);
    _vStack->setDistribution(UIStackViewDistributionEqualSpacing);
    _vStack->setAlignment(UIStackViewAlignmentCenter);
    _vStack->setSpacing(kSpacing);

    _hStack = alloc<UIStackView>()->init();
    _hStack->setTranslatesAutoresizingMaskIntoConstraints(false);
    _hStack->setAxis(UILayoutConstraintAxisHorizontal);
    _hStack->setDistribution(UIStackViewDistributionEqualSpacing);
    _hStack->setAlignment(UIStackViewAlignmentCenter);
    _hStack->setSpacing(kSpacing);

    _tweakNameLabel = alloc<UILabel>()->initWithFrame(CGRectZero);
    _tweakNameLabel->setText(tweakName);
    _tweakNameLabel->setTextAlignment(NSTextAlignmentCenter);
    _tweakNameLabel->setFont(UIFont::boldSystemFontOfSize(kNameFontSize));
    _tweakNameLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    _vStack->addArrangedSubview(_tweakNameLabel);

    const Ref<KLHeaderView> header = self<KLHeaderView>();
    _authorButton = alloc<KLMultiPurposeButton>()->initWithFrame(
        CGRectMake(0, 0, kAuthorWidth, kHeaderRowHeight), developerName, twitterHandle, false);
    _authorButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    _authorButton->addTarget(header, &KLHeaderView::openTwitter, UIControlEventTouchUpInside);
    _hStack->addArrangedSubview(_authorButton);

    _versionLabel = alloc<KLMultiPurposeButton>()->initWithFrame(
        CGRectMake(0, 0, kVersionWidth, kHeaderRowHeight), tweakVersion, std::string(), false);
    _versionLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    _hStack->addArrangedSubview(_versionLabel);

    _donateButton = makeSquareButton("dollarsign.circle.fill");
    _donateButton->addTarget(header, &KLHeaderView::donate, UIControlEventTouchUpInside);
    _hStack->addArrangedSubview(_donateButton);

    _moreButton = makeSquareButton("square.and.arrow.up");
    _moreButton->setMenu(shareMenu());
    _moreButton->setShowsMenuAsPrimaryAction(true);
    _hStack->addArrangedSubview(_moreButton);

    _vStack->addArrangedSubview(_hStack);
    addSubview(_vStack);

    NSLayoutConstraint::activateConstraints({
        _authorButton->widthAnchor()->constraintEqualToConstant(kAuthorWidth),
        _authorButton->heightAnchor()->constraintEqualToConstant(kHeaderRowHeight),
        _versionLabel->widthAnchor()->constraintEqualToConstant(kVersionWidth),
        _versionLabel->heightAnchor()->constraintEqualToConstant(kHeaderRowHeight),
        _donateButton->widthAnchor()->constraintEqualToConstant(kSquareSide),
        _donateButton->heightAnchor()->constraintEqualToConstant(kSquareSide),
        _moreButton->widthAnchor()->constraintEqualToConstant(kSquareSide),
        _moreButton->heightAnchor()->constraintEqualToConstant(kSquareSide),
        _hStack->heightAnchor()->constraintEqualToConstant(kHeaderRowHeight),
        _vStack->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _vStack->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        _vStack->heightAnchor()->constraintEqualToConstant(kContentHeight),
    });
    return header;
}

Ref<UIButton> KLHeaderView::makeSquareButton(const char* symbol) {
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, kSquareSide, kSquareSide));
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    button->setBackgroundColor(UIColor::grayColor());
    button->setImage(UIImage::systemImageNamed(symbol), UIControlStateNormal);
    button->setTintColor(UIColor::whiteColor());
    button->layer()->setCornerRadius(kHeaderButtonCornerRadius);
    button->setClipsToBounds(true);
    return button;
}

Ref<UIMenu> KLHeaderView::shareMenu() {
    // The header owns the button that owns this menu: its handlers hold the
    // header weakly, or the header could never go.
    const Weak<KLHeaderView> weakHeader = weakSelf<KLHeaderView>();
    auto handler = [weakHeader](void (KLHeaderView::*action)()) {
        return [weakHeader, action](const Ref<UIAction>&) {
            if (Ref<KLHeaderView> header = weakHeader.lock()) {
                ((*header).*action)();
            }
        };
    };
    std::vector<Ref<UIMenuElement>> items;
    items.push_back(
        UIAction::actionWithTitle("Share", UIImage::systemImageNamed("square.and.arrow.up"),
                                  std::nullopt, handler(&KLHeaderView::presentShareSheet)));
    if (lengthOf(_twitterHandle) > 0) {
        items.push_back(UIAction::actionWithTitle(
            "Follow on Twitter", UIImage::systemImageNamed("person.crop.circle.badge.plus"),
            std::nullopt, handler(&KLHeaderView::openTwitter)));
    }
    if (lengthOf(_email) > 0) {
        items.push_back(
            UIAction::actionWithTitle("Email support", UIImage::systemImageNamed("envelope"),
                                      std::nullopt, handler(&KLHeaderView::presentMailComposer)));
    }
    if (lengthOf(_discordURL) > 0) {
        items.push_back(UIAction::actionWithTitle(
            "Join the Discord", UIImage::systemImageNamed("bubble.left.and.bubble.right"),
            std::nullopt, handler(&KLHeaderView::openDiscord)));
    }
    return UIMenu::menuWithTitle(_tweakName, nullptr, std::nullopt, 0, std::move(items));
}

void KLHeaderView::openTwitter() {
    openAddress(kTwitterProfiles + _twitterHandle.value_or(""));
}

void KLHeaderView::donate() {
    openAddress(_donateURL);
}

void KLHeaderView::openDiscord() {
    openAddress(_discordURL);
}

void KLHeaderView::presentShareSheet() {
    Ref<UIViewController> presenter = _viewControllerForAncestor();
    if (!presenter) {
        return;
    }
    const std::string text = NSString::stringWithFormat(
        "I'm using an awesome tweak called %@ by %@!", _tweakName, _developerName);
    Ref<UIActivityViewController> sheet =
        alloc<UIActivityViewController>()->initWithActivityItems({text}, nullptr);
    if (Ref<UIPopoverPresentationController> popover = sheet->popoverPresentationController()) {
        popover->setSourceView(presenter->view());
    }
    presenter->presentViewController(sheet, true, nullptr);
}

void KLHeaderView::presentMailComposer() {
    if (!MFMailComposeViewController::canSendMail()) {
        return;
    }
    Ref<UIViewController> presenter = _viewControllerForAncestor();
    if (!presenter) {
        return;
    }
    Ref<MFMailComposeViewController> composer = alloc<MFMailComposeViewController>()->init();
    composer->setMailComposeDelegate(self<KLHeaderView>());
    composer->setSubject(NSString::stringWithFormat("%@ Support", _tweakName));
    // An address set to nil after the menu was made leaves no recipient,
    // where a list holding nil would raise.
    std::vector<std::string> recipients;
    if (_email) {
        recipients.push_back(*_email);
    }
    composer->setToRecipients(recipients);
    presenter->presentViewController(composer, true, nullptr);
}

void KLHeaderView::mailComposeController(const Ref<MFMailComposeViewController>&,
                                         MFMailComposeResult, const Ref<NSError>&) {
    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->dismissViewControllerAnimated(true, nullptr);
    }
}
