#include <UIKit/UILabel.h>

void UILabel::setText(const std::optional<std::string>& text) {
    _text = text;
    setNeedsLayout();
}

void UILabel::setFont(const Ref<UIFont>& font) {
    // nil restores the default font, as on the platform.
    _font = font ? font : UIFont::systemFontOfSize(17);
    setNeedsLayout();
}
