#pragma once

#include <optional>
#include <string>

#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIView.h>

// A line of text in a font and colour, aligned in its bounds; shrinks its
// font to fit the width when asked to.
class UILabel : public UIView {
public:
    Ref<UILabel> initWithFrame(const CGRect& frame);
    Ref<UILabel> init() { return initWithFrame(CGRectZero); }

    const std::optional<std::string>& text() const { return _text; }
    void setText(const std::optional<std::string>& text);
    Ref<UIFont> font() const { return _font; }
    void setFont(const Ref<UIFont>& font);
    Ref<UIColor> textColor() const { return _textColor; }
    void setTextColor(const Ref<UIColor>& color) {
        _textColor = color ? color : UIColor::labelColor();
    }
    Ref<UIColor> highlightedTextColor() const { return _highlightedTextColor; }
    void setHighlightedTextColor(const Ref<UIColor>& color) { _highlightedTextColor = color; }
    bool isHighlighted() const { return _highlighted; }
    void setHighlighted(bool highlighted) { _highlighted = highlighted; }
    NSTextAlignment textAlignment() const { return _textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { _textAlignment = alignment; }
    NSInteger numberOfLines() const { return _numberOfLines; }
    void setNumberOfLines(NSInteger lines);
    bool adjustsFontSizeToFitWidth() const { return _adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { _adjustsFontSizeToFitWidth = adjusts; }
    CGFloat minimumScaleFactor() const { return _minimumScaleFactor; }
    void setMinimumScaleFactor(CGFloat factor) { _minimumScaleFactor = factor; }
    // A font made for a text style is made again at the new text size when
    // the label's traits change.
    bool adjustsFontForContentSizeCategory() const { return _adjustsFontForContentSizeCategory; }
    void setAdjustsFontForContentSizeCategory(bool adjusts) {
        _adjustsFontForContentSizeCategory = adjusts;
    }
    void traitCollectionDidChange(const Ref<UITraitCollection>& previous) override;

    // The text's width on one line in the font, by the line height; zero
    // without text.
    CGSize intrinsicContentSize() const override;

private:
    std::optional<std::string> _text;
    Ref<UIFont> _font = UIFont::systemFontOfSize(17);
    Ref<UIColor> _textColor = UIColor::labelColor();
    Ref<UIColor> _highlightedTextColor;
    bool _highlighted = false;
    NSTextAlignment _textAlignment = NSTextAlignmentNatural;
    NSInteger _numberOfLines = 1;
    bool _adjustsFontSizeToFitWidth = false;
    CGFloat _minimumScaleFactor = 0;
    bool _adjustsFontForContentSizeCategory = false;
};
