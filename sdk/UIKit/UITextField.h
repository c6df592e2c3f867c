#pragma once

#include <optional>
#include <string>

#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIKeyInput.h>

enum UIKeyboardType : NSInteger {
    UIKeyboardTypeDefault = 0,
    UIKeyboardTypeASCIICapable = 1,
    UIKeyboardTypeNumbersAndPunctuation = 2,
    UIKeyboardTypeURL = 3,
    UIKeyboardTypeNumberPad = 4,
    UIKeyboardTypePhonePad = 5,
    UIKeyboardTypeNamePhonePad = 6,
    UIKeyboardTypeEmailAddress = 7,
    UIKeyboardTypeDecimalPad = 8,
    UIKeyboardTypeTwitter = 9,
    UIKeyboardTypeWebSearch = 10,
    UIKeyboardTypeASCIICapableNumberPad = 11,
};

// One line of editable text, with a placeholder shown while it is empty. A
// tap makes it the first responder, which the keyboard types into. Every
// edit from the keyboard sends UIControlEventEditingChanged; setting the text
// in code sends nothing.
class UITextField : public UIControl, public UIKeyInput {
public:
    Ref<UITextField> initWithFrame(const CGRect& frame) {
        UIControl::initWithFrame(frame);
        return self<UITextField>();
    }
    Ref<UITextField> init() { return initWithFrame(CGRectZero); }

    // Never nil: setting nil empties the field, as on the platform.
    const std::string& text() const { return _text; }
    void setText(const std::optional<std::string>& text) { _text = text.value_or(""); }
    const std::optional<std::string>& placeholder() const { return _placeholder; }
    void setPlaceholder(const std::optional<std::string>& placeholder) {
        _placeholder = placeholder;
    }
    Ref<UIFont> font() const { return _font; }
    // nil restores the default font.
    void setFont(const Ref<UIFont>& font) { _font = font ? font : UIFont::systemFontOfSize(17); }
    UIKeyboardType keyboardType() const { return _keyboardType; }
    void setKeyboardType(UIKeyboardType type) { _keyboardType = type; }

    // What the keyboard sends: text inserted at the end, and the delete key,
    // which removes the last character.
    bool hasText() const override { return !_text.empty(); }
    void insertText(const std::string& text) override;
    void deleteBackward() override;

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    void touchesEnded(const Ref<UITouch>& touch) override;

private:
    std::string _text;
    std::optional<std::string> _placeholder;
    Ref<UIFont> _font = UIFont::systemFontOfSize(17);
    UIKeyboardType _keyboardType = UIKeyboardTypeDefault;
};
