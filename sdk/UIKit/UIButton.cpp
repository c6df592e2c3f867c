#include <UIKit/UIButton.h>

#include <algorithm>

#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITouch.h>

Ref<UIButton> UIButton::buttonWithType(UIButtonType type) {
    Ref<UIButton> button = alloc<UIButton>()->init();
    button->_buttonType = type;
    button->updateContent();
    return button;
}

Ref<UIButton> UIButton::initWithFrame(const CGRect& frame) {
    UIControl::initWithFrame(frame);
    _imageView = alloc<UIImageView>()->init();
    _titleLabel = alloc<UILabel>()->init();
    _titleLabel->setFont(UIFont::systemFontOfSize(17));
    _titleLabel->setTextAlignment(NSTextAlignmentCenter);
    addSubview(_imageView);
    addSubview(_titleLabel);
    updateContent();
    return self<UIButton>();
}

UIControlState UIButton::state() const {
    UIControlState state = UIControlStateNormal;
    if (isHighlighted()) {
        state |= UIControlStateHighlighted;
    }
    if (!isEnabled()) {
        state |= UIControlStateDisabled;
    }
    if (isSelected()) {
        state |= UIControlStateSelected;
    }
    return state;
}

namespace {

// The value for the state, else the normal state's.
template <class Map>
const typename Map::mapped_type* forState(const Map& values, UIControlState state) {
    auto found = values.find(state);
    if (found == values.end()) {
        found = values.find(UIControlStateNormal);
    }
    return found == values.end() ? nullptr : &found->second;
}

} // namespace

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    const std::string* title = forState(_titles, state);
    return title ? std::optional<std::string>(*title) : std::nullopt;
}

void UIButton::setTitle(const std::optional<std::string>& title, UIControlState state) {
    if (title) {
        _titles[state] = *title;
    } else {
        _titles.erase(state);
    }
    updateContent();
}

Ref<UIImage> UIButton::imageForState(UIControlState state) const {
    const Ref<UIImage>* image = forState(_images, state);
    return image ? *image : nullptr;
}

void UIButton::setImage(const Ref<UIImage>& image, UIControlState state) {
    if (image) {
        _images[state] = image;
    } else {
        _images.erase(state);
    }
    updateContent();
}

Ref<UIColor> UIButton::titleColorForState(UIControlState state) const {
    if (const Ref<UIColor>* color = forState(_titleColors, state)) {
        return *color;
    }
    if (!isEnabled() && _buttonType == UIButtonTypeSystem) {
        return UIColor::tertiaryLabelColor();
    }
    return _buttonType == UIButtonTypeSystem ? tintColor() : UIColor::whiteColor();
}

void UIButton::setTitleColor(const Ref<UIColor>& color, UIControlState state) {
    if (color) {
        _titleColors[state] = color;
    } else {
        _titleColors.erase(state);
    }
    updateContent();
}

void UIButton::setEnabled(bool enabled) {
    UIControl::setEnabled(enabled);
    updateContent();
}

void UIButton::setSelected(bool selected) {
    UIControl::setSelected(selected);
    updateContent();
}

void UIButton::setHighlighted(bool highlighted) {
    UIControl::setHighlighted(highlighted);
    updateContent();
}

void UIButton::updateContent() {
    if (!_titleLabel) {
        return;
    }
    const UIControlState now = state();
    _titleLabel->setText(titleForState(now));
    _titleLabel->setTextColor(titleColorForState(now));
    _imageView->setImage(imageForState(now));
    // A system button dims while the finger is on it.
    const bool dimmed = _buttonType == UIButtonTypeSystem && isHighlighted();
    _titleLabel->setAlpha(dimmed ? 0.2 : 1);
    _imageView->setAlpha(dimmed ? 0.2 : 1);
    invalidateIntrinsicContentSize();
    setNeedsLayout();
}

CGSize UIButton::intrinsicContentSize() const {
    const CGSize image = _imageView->image() ? _imageView->image()->size() : CGSizeMake(0, 0);
    const CGSize title =
        _titleLabel->text() ? _titleLabel->intrinsicContentSize() : CGSizeMake(0, 0);
    const CGFloat spacing = image.width > 0 && title.width > 0 ? kImageTitleSpacing : 0;
    const UIEdgeInsets& insets = _contentEdgeInsets;
    return CGSizeMake(insets.left + image.width + spacing + title.width + insets.right,
                      insets.top + std::max({image.height, title.height, 0.0}) + insets.bottom);
}

CGSize UIButton::sizeThatFits(CGSize) const {
    return intrinsicContentSize();
}

void UIButton::layoutSubviews() {
    const CGSize image = _imageView->image() ? _imageView->image()->size() : CGSizeMake(0, 0);
    const CGFloat titleWidth = _titleLabel->text() ? _titleLabel->intrinsicContentSize().width : 0;
    const CGFloat spacing = image.width > 0 && titleWidth > 0 ? kImageTitleSpacing : 0;
    const UIEdgeInsets& insets = _contentEdgeInsets;
    const CGRect content = CGRectMake(
        insets.left, insets.top, std::max(0.0, bounds().size.width - insets.left - insets.right),
        std::max(0.0, bounds().size.height - insets.top - insets.bottom));
    // The title gets what room is left beside the image.
    const CGFloat shownTitle =
        std::min(titleWidth, std::max(0.0, content.size.width - image.width - spacing));
    const CGFloat used = image.width + spacing + shownTitle;
    CGFloat x;
    switch (contentHorizontalAlignment()) {
    case UIControlContentHorizontalAlignmentLeft:
        x = content.origin.x;
        break;
    case UIControlContentHorizontalAlignmentRight:
        x = CGRectGetMaxX(content) - used;
        break;
    default:
        x = CGRectGetMidX(content) - used / 2;
        break;
    }
    // The image leads the title: at its right, right to left.
    const bool rightToLeft =
        effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft;
    const CGFloat imageX = rightToLeft ? x + shownTitle + spacing : x;
    const CGFloat titleX = rightToLeft ? x : x + image.width + spacing;
    _imageView->setFrame(
        CGRectMake(imageX, CGRectGetMidY(content) - image.height / 2, image.width, image.height));
    _titleLabel->setFrame(CGRectMake(titleX, content.origin.y, shownTitle, content.size.height));
}

void UIButton::tintColorDidChange() {
    updateContent();
}

void UIButton::touchesBegan(const Ref<UITouch>& touch) {
    // A button whose menu is its primary action sends no control events: the
    // finger lifting on it opens the menu.
    _menuTouch = _menu && _showsMenuAsPrimaryAction && isEnabled();
    if (_menuTouch) {
        setHighlighted(true);
    } else {
        UIControl::touchesBegan(touch);
    }
    updateContent();
}

void UIButton::touchesMoved(const Ref<UITouch>& touch) {
    if (_menuTouch) {
        setHighlighted(pointInside(touch->locationInView(self<UIView>())));
    } else {
        UIControl::touchesMoved(touch);
    }
    updateContent();
}

void UIButton::touchesEnded(const Ref<UITouch>& touch) {
    if (_menuTouch) {
        _menuTouch = false;
        setHighlighted(false);
        updateContent();
        if (pointInside(touch->locationInView(self<UIView>()))) {
            SDKMenuViewController::presentMenu(_menu, self<UIView>());
        }
        return;
    }
    const bool tracked = isEnabled() && isHighlighted();
    UIControl::touchesEnded(touch);
    updateContent();
    if (tracked && isTouchInside()) {
        sendActionsForControlEvents(UIControlEventPrimaryActionTriggered);
    }
}

void UIButton::touchesCancelled(const Ref<UITouch>& touch) {
    if (_menuTouch) {
        _menuTouch = false;
        setHighlighted(false);
    } else {
        UIControl::touchesCancelled(touch);
    }
    updateContent();
}
