#include <UIKit/UILabel.h>

#include <UIKit/NSStringDrawing.h>
#include <UIKit/SDKMainThreadChecker.h>

Ref<UILabel> UILabel::initWithFrame(const CGRect& frame) {
    const SDKMainThreadChecker::Entry entry("-[UILabel initWithFrame:]");
    UIView::initWithFrame(frame);
    setUserInteractionEnabled(false);
    return self<UILabel>();
}

void UILabel::setText(const std::optional<std::string>& text) {
    const SDKMainThreadChecker::Entry entry("-[UILabel setText:]");
    if (text == _text) {
        return;
    }
    _text = text;
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void UILabel::setFont(const Ref<UIFont>& font) {
    const SDKMainThreadChecker::Entry entry("-[UILabel setFont:]");
    // nil restores the default font, as on the platform.
    _font = font ? font : UIFont::systemFontOfSize(17);
    setNeedsLayout();
    invalidateIntrinsicContentSize();
}

void UILabel::setNumberOfLines(NSInteger lines) {
    const SDKMainThreadChecker::Entry entry("-[UILabel setNumberOfLines:]");
    _numberOfLines = lines;
}

void UILabel::traitCollectionDidChange(const Ref<UITraitCollection>& previous) {
    const Ref<UITraitCollection> traits = traitCollection();
    if (_adjustsFontForContentSizeCategory && _font->textStyle() &&
        (!previous ||
         previous->preferredContentSizeCategory() != traits->preferredContentSizeCategory())) {
        setFont(UIFont::preferredFontForTextStyle(*_font->textStyle(), traits));
    }
}

CGSize UILabel::intrinsicContentSize() const {
    if (!_text || _text->empty()) {
        return CGSizeMake(0, 0);
    }
    return NSStringDrawing::sizeWithFont(*_text, _font);
}
