#include "KLMultiPurposeButton.h"

#include <algorithm>

#include <glib.h>

#include <Foundation/NSDataLoader.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <Foundation/dispatch.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <objc/ObjCExport.h>

namespace {

constexpr objc_method kButtonClassMethods[] = {ObjCExport::allocMethod<KLMultiPurposeButton>()};
constexpr objc_method kButtonInstanceMethods[] = {
    ObjCExport::method<&KLMultiPurposeButton::fetchTwitterImageForHandle>(
        "fetchTwitterImageForHandle:"),
};

constexpr CGFloat kInset = 5;
constexpr CGFloat kButtonCornerRadius = 5;
constexpr CGFloat kButtonFontSize = 14;
constexpr const char* kPlaceholderSymbol = "person.crop.square.fill";

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLMultiPurposeButton{
    "KLMultiPurposeButton", nullptr, kButtonClassMethods, kButtonInstanceMethods};

const objc_class* KLMultiPurposeButton::objcClass() const {
    return &OBJC_CLASS_$_KLMultiPurposeButton;
}

Ref<KLMultiPurposeButton>
KLMultiPurposeButton::initWithFrame(const CGRect& frame,
                                    const std::optional<std::string>& titleText,
                                    const std::optional<std::string>& imageName, bool sfSymbol) {
    if (!UIControl::initWithFrame(frame)) {
        return nullptr;
    }
    _hasText = NSString::length(titleText.value_or("")) > 0;
    _hasImage = NSString::length(imageName.value_or("")) > 0;
    _imageIsSFSymbol = sfSymbol;

    setBackgroundColor(UIColor::grayColor());
    layer()->setCornerRadius(kButtonCornerRadius);
    setClipsToBounds(true);

    if (_hasImage) {
        Ref<UIImage> image =
            UIImage::systemImageNamed(_imageIsSFSymbol ? *imageName : kPlaceholderSymbol);
        _authorIcon = alloc<UIImageView>()->initWithImage(image);
        _authorIcon->setTintColor(UIColor::whiteColor());
        _authorIcon->setContentMode(UIViewContentModeScaleAspectFit);
        _authorIcon->setTranslatesAutoresizingMaskIntoConstraints(false);
        addSubview(_authorIcon);
        if (!_imageIsSFSymbol) {
            // A circle at the icon's size in a control of this height.
            _authorIcon->layer()->setCornerRadius((frame.size.height - 2 * kInset) / 2);
            _authorIcon->setClipsToBounds(true);
            fetchTwitterImageForHandle(imageName);
        }
    }

    if (_hasText) {
        _authorLabel = alloc<UILabel>()->init();
        _authorLabel->setText(titleText);
        _authorLabel->setTextColor(UIColor::whiteColor());
        _authorLabel->setFont(UIFont::systemFontOfSize(kButtonFontSize));
        _authorLabel->setAdjustsFontSizeToFitWidth(true);
        _authorLabel->setTextAlignment(NSTextAlignmentCenter);
        _authorLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
        addSubview(_authorLabel);
    }
    return self<KLMultiPurposeButton>();
}

namespace {

// The handle as one segment of the avatar's path: every byte but letters,
// digits and "-._~" percent-encoded, so that "/", "?" and "#" cannot end the
// segment, and dots too when they would make a "." or ".." segment.
std::string avatarPathSegment(const std::string& handle) {
    char* escaped = g_uri_escape_string(handle.c_str(), nullptr, false);
    std::string segment = escaped;
    g_free(escaped);
    if (segment == "." || segment == "..") {
        return segment == "." ? "%2E" : "%2E%2E";
    }
    return segment;
}

// Whether the answer holds the whole picture. The image decoder, as the
// device's, draws what a cut-off PNG or JPEG holds and leaves the rest
// blank; such a picture must not replace the placeholder. A PNG ends with
// its IEND chunk, a JPEG with its end-of-image marker.
bool isWholePicture(const NSData& data) {
    static constexpr uint8_t kPNGSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static constexpr uint8_t kPNGEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    auto startsWith = [&](const uint8_t* bytes, size_t length) {
        return data.size() >= length && std::equal(bytes, bytes + length, data.begin());
    };
    auto endsWith = [&](const uint8_t* bytes, size_t length) {
        return data.size() >= length && std::equal(bytes, bytes + length, data.end() - length);
    };
    static constexpr uint8_t kJPEGStart[] = {0xFF, 0xD8};
    static constexpr uint8_t kJPEGEnd[] = {0xFF, 0xD9};
    if (startsWith(kPNGSignature, sizeof kPNGSignature)) {
        return endsWith(kPNGEnd, sizeof kPNGEnd);
    }
    if (startsWith(kJPEGStart, sizeof kJPEGStart)) {
        return endsWith(kJPEGEnd, sizeof kJPEGEnd);
    }
    return true;
}

} // namespace

void KLMultiPurposeButton::fetchTwitterImageForHandle(const std::optional<std::string>& handle) {
    Ref<KLMultiPurposeButton> button = self<KLMultiPurposeButton>();
    dispatch_async(dispatch_get_global_queue(0, 0), [button, handle]() mutable {
        // The service's host stays fixed; the handle only names the picture.
        Ref<NSURL> url =
            NSURL::URLWithString(std::string("https://") + KL_AVATAR_HOST + "/twitter/" +
                                 avatarPathSegment(handle.value_or("")) + "?fallback=false");
        std::optional<NSData> data = NSDataLoader::dataWithContentsOfURL(url);
        Ref<UIImage> image =
            data && isWholePicture(*data) ? UIImage::imageWithData(*data) : nullptr;
        // The control goes back to the main queue either way, so that its
        // last reference is never dropped on this thread.
        dispatch_async(dispatch_get_main_queue(), [button = std::move(button), image] {
            if (!image) {
                return;
            }
            Ref<UIImageView> icon = button->authorIcon();
            UIView::transitionWithView(
                icon, 0.2, UIViewAnimationOptionTransitionCrossDissolve,
                [icon, image] {
                    if (icon) {
                        icon->setImage(image);
                    }
                },
                nullptr);
        });
    });
}

void KLMultiPurposeButton::layoutSubviews() {
    UIControl::layoutSubviews();
    const CGFloat height = frame().size.height;
    const LayoutKey key{_hasImage, _hasText, _authorIcon.get(), _authorLabel.get(), height};
    if (_layoutKey == key) {
        return;
    }
    NSLayoutConstraint::deactivateConstraints(_layoutConstraints);
    _layoutConstraints.clear();
    _layoutKey = key;

    // A flag turned on after initialisation names a view that was never made:
    // its constraints are left out.
    const Ref<UIImageView>& icon = _authorIcon;
    const Ref<UILabel>& label = _authorLabel;
    std::vector<Ref<NSLayoutConstraint>> constraints;
    if (_hasImage && icon) {
        constraints.push_back(icon->leftAnchor()->constraintEqualToAnchor(leftAnchor(), kInset));
        constraints.push_back(icon->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()));
        if (_hasText) {
            constraints.push_back(
                icon->widthAnchor()->constraintEqualToConstant(height - 2 * kInset));
        } else {
            constraints.push_back(
                icon->rightAnchor()->constraintEqualToAnchor(rightAnchor(), -kInset));
        }
        constraints.push_back(icon->heightAnchor()->constraintEqualToConstant(height - 2 * kInset));
    }
    if (_hasText && label) {
        if (_hasImage) {
            if (icon) {
                constraints.push_back(
                    label->leftAnchor()->constraintEqualToAnchor(icon->rightAnchor()));
            }
        } else {
            constraints.push_back(
                label->leftAnchor()->constraintEqualToAnchor(leftAnchor(), kInset));
        }
        constraints.push_back(
            label->rightAnchor()->constraintEqualToAnchor(rightAnchor(), -kInset));
        constraints.push_back(label->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()));
        constraints.push_back(label->heightAnchor()->constraintEqualToConstant(height));
    }
    NSLayoutConstraint::activateConstraints(constraints);
    _layoutConstraints = std::move(constraints);
}
