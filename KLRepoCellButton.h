#pragma once

#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIControl.h>
#include <objc/Forward.h>

// The tappable area of the repository row: a package-box symbol with a
// one-line caption under it, both in the same muted blue-gray. It has no
// action of its own; whoever creates it registers for its touches.
class KLRepoCellButton : public UIControl {
public:
    // The icon is sized from the frame's height now and keeps that size.
    Ref<KLRepoCellButton> initWithFrame(const CGRect& frame,
                                        const std::optional<std::string>& title);

    Ref<UIImageView> iconView() const { return _iconView; }
    void setIconView(const Ref<UIImageView>& iconView) { _iconView = iconView; }
    Ref<UILabel> labelView() const { return _labelView; }
    void setLabelView(const Ref<UILabel>& labelView) { _labelView = labelView; }
    // An address the button's users may keep on it; the button never reads it.
    const std::optional<std::string>& link() const { return _link; }
    void setLink(const std::optional<std::string>& link) { _link = link; }

    const objc_class* objcClass() const override;

private:
    Ref<UIImageView> _iconView;
    Ref<UILabel> _labelView;
    std::optional<std::string> _link;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLRepoCellButton;
