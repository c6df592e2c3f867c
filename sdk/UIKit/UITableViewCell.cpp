#include <UIKit/UITableViewCell.h>

#include <UIKit/UITableView.h>
#include <UIKit/UITouch.h>

#include <algorithm>

Ref<UITableViewCell>
UITableViewCell::initWithStyle(UITableViewCellStyle style,
                               const std::optional<std::string>& reuseIdentifier) {
    UIView::initWithFrame(CGRectMake(0, 0, 320, 44));
    _style = style;
    _reuseIdentifier = reuseIdentifier;
    _contentView = alloc<UIView>()->initWithFrame(bounds());
    addSubview(_contentView);
    _textLabel = alloc<UILabel>()->init();
    _textLabel->setHighlightedTextColor(UIColor::whiteColor());
    _contentView->addSubview(_textLabel);
    if (style != UITableViewCellStyleDefault) {
        _detailTextLabel = alloc<UILabel>()->init();
        _detailTextLabel->setHighlightedTextColor(UIColor::whiteColor());
        if (style == UITableViewCellStyleSubtitle) {
            _detailTextLabel->setFont(UIFont::systemFontOfSize(12));
        } else {
            _detailTextLabel->setTextColor(UIColor::secondaryLabelColor());
        }
        _contentView->addSubview(_detailTextLabel);
    }
    setBackgroundColor(UIColor::secondarySystemGroupedBackgroundColor());
    return self<UITableViewCell>();
}

Ref<UITableViewCell> UITableViewCell::initWithFrame(const CGRect& frame) {
    if (!initWithStyle(UITableViewCellStyleDefault, std::nullopt)) {
        return nullptr;
    }
    setFrame(frame);
    return self<UITableViewCell>();
}

Ref<UIImageView> UITableViewCell::imageView() {
    if (!_imageView) {
        _imageView = alloc<UIImageView>()->init();
        _contentView->addSubview(_imageView);
        setNeedsLayout();
    }
    return _imageView;
}

void UITableViewCell::setAccessoryView(const Ref<UIView>& view) {
    if (_accessoryView == view) {
        return;
    }
    if (_accessoryView) {
        _accessoryView->removeFromSuperview();
    }
    _accessoryView = view;
    if (view) {
        addSubview(view);
    }
    setNeedsLayout();
}

void UITableViewCell::setSelected(bool selected, bool) {
    _selected = selected;
    _textLabel->setHighlighted(selected || _highlighted);
    if (_detailTextLabel) {
        _detailTextLabel->setHighlighted(selected || _highlighted);
    }
}

void UITableViewCell::setHighlighted(bool highlighted, bool) {
    _highlighted = highlighted;
    _textLabel->setHighlighted(highlighted || _selected);
    if (_detailTextLabel) {
        _detailTextLabel->setHighlighted(highlighted || _selected);
    }
}

void UITableViewCell::touchesBegan(const Ref<UITouch>&) {
    setHighlighted(_selectionStyle != UITableViewCellSelectionStyleNone, false);
}

void UITableViewCell::touchesMoved(const Ref<UITouch>& touch) {
    setHighlighted(_selectionStyle != UITableViewCellSelectionStyleNone &&
                       pointInside(touch->locationInView(self<UIView>())),
                   false);
}

void UITableViewCell::touchesEnded(const Ref<UITouch>& touch) {
    setHighlighted(false, false);
    if (!pointInside(touch->locationInView(self<UIView>()))) {
        return;
    }
    if (auto table = objc_cast<UITableView>(superview())) {
        table->cellWasTapped(self<UITableViewCell>());
    }
}

void UITableViewCell::touchesCancelled(const Ref<UITouch>&) {
    setHighlighted(false, false);
}

// Worked out left to right; right to left, the accessory is at the left and
// the content mirrored inside its view.
void UITableViewCell::layoutSubviews() {
    const CGRect b = bounds();
    CGFloat contentWidth = b.size.width;
    if (_accessoryView) {
        const CGSize size = _accessoryView->frame().size;
        const CGFloat x = b.size.width - kLayoutMargin - size.width;
        _accessoryView->setFrame(directionalRect(
            CGRectMake(x, (b.size.height - size.height) / 2, size.width, size.height)));
        contentWidth = x;
    }
    _contentView->setFrame(directionalRect(CGRectMake(0, 0, contentWidth, b.size.height)));
    const UIView& content = *_contentView;

    CGFloat leading = kLayoutMargin;
    if (_imageView) {
        const Ref<UIImage> image = _imageView->image();
        _imageView->setHidden(!image);
        if (image) {
            const CGSize size = image->size();
            _imageView->setFrame(content.directionalRect(CGRectMake(
                kLayoutMargin, (b.size.height - size.height) / 2, size.width, size.height)));
            leading += size.width + kImageSpacing;
        }
    }
    _separatorInset.left = leading;
    const CGFloat labelWidth =
        std::max(0.0, contentWidth - leading - (_accessoryView ? 8 : kLayoutMargin));
    const CGFloat titleHeight = _textLabel->font()->lineHeight();
    if (_style == UITableViewCellStyleSubtitle && _detailTextLabel) {
        const CGFloat detailHeight = _detailTextLabel->font()->lineHeight();
        const CGFloat top = (b.size.height - titleHeight - detailHeight) / 2;
        _textLabel->setFrame(
            content.directionalRect(CGRectMake(leading, top, labelWidth, titleHeight)));
        _detailTextLabel->setFrame(content.directionalRect(
            CGRectMake(leading, top + titleHeight, labelWidth, detailHeight)));
        return;
    }
    _textLabel->setFrame(content.directionalRect(
        CGRectMake(leading, (b.size.height - titleHeight) / 2, labelWidth, titleHeight)));
    if (_detailTextLabel) {
        const CGFloat detailHeight = _detailTextLabel->font()->lineHeight();
        _detailTextLabel->setFrame(content.directionalRect(
            CGRectMake(leading, (b.size.height - detailHeight) / 2, labelWidth, detailHeight)));
        // The value sits at the trailing end.
        _detailTextLabel->setTextAlignment(effectiveUserInterfaceLayoutDirection() ==
                                                   UIUserInterfaceLayoutDirectionRightToLeft
                                               ? NSTextAlignmentLeft
                                               : NSTextAlignmentRight);
    }
}
