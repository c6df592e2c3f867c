#include <UIKit/UITableViewCell.h>

#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITouch.h>

#include <algorithm>
#include <cmath>

Ref<UITableViewCell>
UITableViewCell::initWithStyle(UITableViewCellStyle style,
                               const std::optional<std::string>& reuseIdentifier) {
    UIView::initWithFrame(CGRectMake(0, 0, 320, 44));
    _style = style;
    _reuseIdentifier = reuseIdentifier;
    _contentView = alloc<UIView>()->initWithFrame(bounds());
    addSubview(_contentView);
    // A row's texts follow the text size: the title in Body, a value beside
    // it too, a subtitle below it in Caption 1.
    _textLabel = alloc<UILabel>()->init();
    _textLabel->setFont(
        UIFont::preferredFontForTextStyle(UIFontTextStyle::Body, traitCollection()));
    _textLabel->setAdjustsFontForContentSizeCategory(true);
    _textLabel->setHighlightedTextColor(UIColor::whiteColor());
    _contentView->addSubview(_textLabel);
    if (style != UITableViewCellStyleDefault) {
        _detailTextLabel = alloc<UILabel>()->init();
        _detailTextLabel->setAdjustsFontForContentSizeCategory(true);
        _detailTextLabel->setHighlightedTextColor(UIColor::whiteColor());
        if (style == UITableViewCellStyleSubtitle) {
            _detailTextLabel->setFont(
                UIFont::preferredFontForTextStyle(UIFontTextStyle::Caption1, traitCollection()));
        } else {
            _detailTextLabel->setFont(
                UIFont::preferredFontForTextStyle(UIFontTextStyle::Body, traitCollection()));
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

CGFloat UITableViewCell::titleLeading() const {
    if (_imageView && _imageView->image()) {
        return kLayoutMargin + _imageView->image()->size().width + kImageSpacing;
    }
    return kLayoutMargin;
}

CGFloat UITableViewCell::titleWidth(CGFloat width) const {
    const CGFloat contentWidth =
        _accessoryView ? width - kLayoutMargin - _accessoryView->frame().size.width : width;
    return std::max(0.0, contentWidth - titleLeading() - (_accessoryView ? 8 : kLayoutMargin));
}

CGFloat UITableViewCell::titleHeight(CGFloat width) const {
    // A title that may wrap is as tall as its lines at the label's width.
    CGFloat height = _textLabel->font()->lineHeight();
    if (_textLabel->numberOfLines() == 0 && _textLabel->text()) {
        height = std::max(height, NSStringDrawing::boundingSizeWithFont(
                                      *_textLabel->text(), _textLabel->font(), titleWidth(width))
                                      .height);
    }
    return height;
}

bool UITableViewCell::stacksDetail(CGFloat width) const {
    if (_style != UITableViewCellStyleValue1 || !_detailTextLabel || !_detailTextLabel->text() ||
        _detailTextLabel->text()->empty() || _textLabel->numberOfLines() != 0) {
        return false;
    }
    const CGFloat title =
        _textLabel->text()
            ? NSStringDrawing::sizeWithFont(*_textLabel->text(), _textLabel->font()).width
            : 0;
    const CGFloat detail =
        NSStringDrawing::sizeWithFont(*_detailTextLabel->text(), _detailTextLabel->font()).width;
    return title + kImageSpacing + detail > titleWidth(width);
}

CGSize UITableViewCell::sizeThatFits(CGSize size) const {
    if (stacksDetail(size.width)) {
        return CGSizeMake(size.width,
                          std::ceil(titleHeight(size.width) +
                                    _detailTextLabel->font()->lineHeight() + 2 * kTitlePadding));
    }
    if (_style == UITableViewCellStyleSubtitle && _detailTextLabel) {
        // Two lines, closer to the row's edges.
        return CGSizeMake(size.width,
                          std::ceil(titleHeight(size.width) +
                                    _detailTextLabel->font()->lineHeight() + 2 * kSubtitlePadding));
    }
    return CGSizeMake(size.width, std::ceil(titleHeight(size.width) + 2 * kTitlePadding));
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

    if (_imageView) {
        const Ref<UIImage> image = _imageView->image();
        _imageView->setHidden(!image);
        if (image) {
            const CGSize size = image->size();
            _imageView->setFrame(content.directionalRect(CGRectMake(
                kLayoutMargin, (b.size.height - size.height) / 2, size.width, size.height)));
        }
    }
    const CGFloat leading = titleLeading();
    _separatorInset.left = leading;
    const CGFloat labelWidth = titleWidth(b.size.width);
    const CGFloat textHeight = titleHeight(b.size.width);
    const bool stacked = stacksDetail(b.size.width);
    if ((_style == UITableViewCellStyleSubtitle && _detailTextLabel) || stacked) {
        const CGFloat detailHeight = _detailTextLabel->font()->lineHeight();
        const CGFloat top = (b.size.height - textHeight - detailHeight) / 2;
        _detailTextLabel->setTextAlignment(NSTextAlignmentNatural);
        _textLabel->setFrame(
            content.directionalRect(CGRectMake(leading, top, labelWidth, textHeight)));
        _detailTextLabel->setFrame(content.directionalRect(
            CGRectMake(leading, top + textHeight, labelWidth, detailHeight)));
        return;
    }
    _textLabel->setFrame(content.directionalRect(
        CGRectMake(leading, (b.size.height - textHeight) / 2, labelWidth, textHeight)));
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
