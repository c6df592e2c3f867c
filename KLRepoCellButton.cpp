#include "KLRepoCellButton.h"

#include <span>

#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <objc/runtime.h>

namespace {

constexpr CGFloat kCaptionFontSize = 14;
// The icon's centre sits this far above the button's centre.
constexpr CGFloat kIconRaise = 10;
constexpr CGFloat kCaptionGap = 5;

// The muted blue-gray of the icon and the caption.
Ref<UIColor> contentColor() {
    return UIColor::colorWithRed(0.49, 0.59, 0.63, 1.0);
}

Id allocate(const Id&, std::span<const Id>) {
    return alloc<KLRepoCellButton>();
}

constexpr objc_method kRepoButtonClassMethods[] = {{"alloc", &allocate}};

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLRepoCellButton{
        "KLRepoCellButton", nullptr, kRepoButtonClassMethods, {}};

const objc_class* KLRepoCellButton::objcClass() const {
    return &OBJC_CLASS_$_KLRepoCellButton;
}

Ref<KLRepoCellButton> KLRepoCellButton::initWithFrame(const CGRect& frame,
                                                      const std::optional<std::string>& title) {
    Ref<UIControl> base = UIControl::initWithFrame(frame);
    if (base.get() != this) {
        return objc_cast<KLRepoCellButton>(base);
    }
    const CGFloat iconSide = frame.size.height / 2;

    _iconView = alloc<UIImageView>()->initWithImage(UIImage::systemImageNamed("shippingbox.fill"));
    _iconView->setContentMode(UIViewContentModeScaleAspectFit);
    _iconView->setTintColor(contentColor());
    _iconView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(_iconView);
    NSLayoutConstraint::activateConstraints({
        _iconView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _iconView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor(), -kIconRaise),
        _iconView->widthAnchor()->constraintEqualToConstant(iconSide),
        _iconView->heightAnchor()->constraintEqualToConstant(iconSide),
    });

    _labelView = alloc<UILabel>()->init();
    _labelView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _labelView->setTextAlignment(NSTextAlignmentCenter);
    _labelView->setFont(UIFont::systemFontOfSize(kCaptionFontSize));
    _labelView->setAdjustsFontSizeToFitWidth(true);
    _labelView->setText(title);
    _labelView->setTextColor(contentColor());
    addSubview(_labelView);
    NSLayoutConstraint::activateConstraints({
        _labelView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor(), 0),
        _labelView->topAnchor()->constraintEqualToAnchor(_iconView->bottomAnchor(), kCaptionGap),
    });
    return self<KLRepoCellButton>();
}
