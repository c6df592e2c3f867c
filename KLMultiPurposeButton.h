#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIControl.h>

// The small rounded grey control of the header banner: a text, an image, or
// both side by side. The image is a system symbol, or the Twitter avatar of a
// handle, read once over HTTPS in the background; the placeholder symbol
// shows until it arrives, and for good when it never does.
class KLMultiPurposeButton : public UIControl {
public:
    // `frame`'s height also sets the avatar's corner radius. With `sfSymbol`
    // NO, `imageName` is the Twitter handle whose avatar is read.
    Ref<KLMultiPurposeButton> initWithFrame(const CGRect& frame,
                                            const std::optional<std::string>& titleText,
                                            const std::optional<std::string>& imageName,
                                            bool sfSymbol);

    // Starts reading the handle's avatar on the default global queue and
    // returns at once; an image that arrives replaces the icon's on the main
    // queue with a 0.2-second cross-dissolve. Any failure keeps the icon.
    void fetchTwitterImageForHandle(const std::optional<std::string>& handle);

    // Lays the label and icon out by the flags and the current height.
    void layoutSubviews() override;

    Ref<UILabel> authorLabel() const { return _authorLabel; }
    void setAuthorLabel(const Ref<UILabel>& label) { _authorLabel = label; }
    Ref<UIImageView> authorIcon() const { return _authorIcon; }
    void setAuthorIcon(const Ref<UIImageView>& icon) { _authorIcon = icon; }
    bool hasText() const { return _hasText; }
    void setHasText(bool hasText) { _hasText = hasText; }
    bool hasImage() const { return _hasImage; }
    void setHasImage(bool hasImage) { _hasImage = hasImage; }
    bool imageIsSFSymbol() const { return _imageIsSFSymbol; }
    void setImageIsSFSymbol(bool isSymbol) { _imageIsSFSymbol = isSymbol; }

    const objc_class* objcClass() const override;

private:
    // What the active layout constraints were made for; a pass that finds
    // the same leaves them, any other replaces them, so that one set at most
    // is ever active.
    struct LayoutKey {
        bool image = false;
        bool text = false;
        const UIView* icon = nullptr;
        const UIView* label = nullptr;
        CGFloat height = 0;
        bool operator==(const LayoutKey&) const = default;
    };

    Ref<UILabel> _authorLabel;
    Ref<UIImageView> _authorIcon;
    bool _hasText = false;
    bool _hasImage = false;
    bool _imageIsSFSymbol = false;
    std::optional<LayoutKey> _layoutKey;
    std::vector<Ref<NSLayoutConstraint>> _layoutConstraints;
};

extern "C" __attribute__((visibility("default")))
const objc_class OBJC_CLASS_$_KLMultiPurposeButton;
