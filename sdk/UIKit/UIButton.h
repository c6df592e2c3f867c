#pragma once

#include <map>
#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIControl.h>

enum UIButtonType : NSInteger {
    UIButtonTypeCustom = 0,
    UIButtonTypeSystem = 1,
};

// A control showing an image and a title side by side (centred, or at the
// side its content alignment names, within its content insets), each chosen
// for the button's state (falling back to the normal state's). A system
// button shows its title and symbol images in its tint; a custom button's
// title is white unless given a colour. A tap sends
// UIControlEventTouchUpInside and UIControlEventPrimaryActionTriggered to its
// targets; a button whose menu is its primary action opens the menu instead.
class UIButton : public UIControl {
public:
    static Ref<UIButton> buttonWithType(UIButtonType type);
    Ref<UIButton> initWithFrame(const CGRect& frame);
    Ref<UIButton> init() { return initWithFrame(CGRectZero); }

    UIButtonType buttonType() const { return _buttonType; }

    std::optional<std::string> titleForState(UIControlState state) const;
    void setTitle(const std::optional<std::string>& title, UIControlState state);
    Ref<UIImage> imageForState(UIControlState state) const;
    void setImage(const Ref<UIImage>& image, UIControlState state);
    Ref<UIColor> titleColorForState(UIControlState state) const;
    void setTitleColor(const Ref<UIColor>& color, UIControlState state);
    // What the button shows now.
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    Ref<UIImage> currentImage() const { return imageForState(state()); }
    UIControlState state() const;

    Ref<UILabel> titleLabel() const { return _titleLabel; }
    Ref<UIImageView> imageView() const { return _imageView; }

    // Space kept around the image and title.
    UIEdgeInsets contentEdgeInsets() const { return _contentEdgeInsets; }
    void setContentEdgeInsets(UIEdgeInsets insets) {
        _contentEdgeInsets = insets;
        invalidateIntrinsicContentSize();
        setNeedsLayout();
    }

    Ref<UIMenu> menu() const { return _menu; }
    void setMenu(const Ref<UIMenu>& menu) { _menu = menu; }
    bool showsMenuAsPrimaryAction() const { return _showsMenuAsPrimaryAction; }
    void setShowsMenuAsPrimaryAction(bool shows) { _showsMenuAsPrimaryAction = shows; }

    void setEnabled(bool enabled) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;

    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;
    void tintColorDidChange() override;
    void touchesBegan(const Ref<UITouch>& touch) override;
    void touchesMoved(const Ref<UITouch>& touch) override;
    void touchesEnded(const Ref<UITouch>& touch) override;
    void touchesCancelled(const Ref<UITouch>& touch) override;

    // Between the image and the title.
    static constexpr CGFloat kImageTitleSpacing = 4;

private:
    // Shows what the current state calls for.
    void updateContent();

    UIButtonType _buttonType = UIButtonTypeCustom;
    std::map<UIControlState, std::string> _titles;
    std::map<UIControlState, Ref<UIImage>> _images;
    std::map<UIControlState, Ref<UIColor>> _titleColors;
    Ref<UILabel> _titleLabel;
    Ref<UIImageView> _imageView;
    UIEdgeInsets _contentEdgeInsets;
    Ref<UIMenu> _menu;
    bool _showsMenuAsPrimaryAction = false;
    // The finger now on the button is to open its menu.
    bool _menuTouch = false;
};
