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

enum UITextAutocorrectionType : NSInteger {
    UITextAutocorrectionTypeDefault = 0,
    UITextAutocorrectionTypeNo = 1,
    UITextAutocorrectionTypeYes = 2,
};

enum UITextAutocapitalizationType : NSInteger {
    UITextAutocapitalizationTypeNone = 0,
    UITextAutocapitalizationTypeWords = 1,
    UITextAutocapitalizationTypeSentences = 2,
    UITextAutocapitalizationTypeAllCharacters = 3,
};

// One line of editable text, with a placeholder shown while it is empty. A
// tap makes it the first responder, which the keyboard types into, and sends
// UIControlEventEditingDidBegin; giving that up sends
// UIControlEventEditingDidEnd. Every edit from the keyboard sends
// UIControlEventEditingChanged; its return key sends
// UIControlEventEditingDidEndOnExit and adds nothing. Setting the text in
// code sends nothing. Secure entry shows a bullet for each character.
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
    bool isSecureTextEntry() const { return _secureTextEntry; }
    void setSecureTextEntry(bool secure) { _secureTextEntry = secure; }
    UITextAutocorrectionType autocorrectionType() const { return _autocorrectionType; }
    void setAutocorrectionType(UITextAutocorrectionType type) { _autocorrectionType = type; }
    UITextAutocapitalizationType autocapitalizationType() const { return _autocapitalizationType; }
    void setAutocapitalizationType(UITextAutocapitalizationType type) {
        _autocapitalizationType = type;
    }
    NSTextAlignment textAlignment() const { return _textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { _textAlignment = alignment; }

    // What the keyboard sends: text inserted at the end, and the delete key,
    // which removes the last character.
    bool hasText() const override { return !_text.empty(); }
    void insertText(const std::string& text) override;
    void deleteBackward() override;

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void touchesEnded(const Ref<UITouch>& touch) override;

private:
    std::string _text;
    std::optional<std::string> _placeholder;
    Ref<UIFont> _font = UIFont::systemFontOfSize(17);
    UIKeyboardType _keyboardType = UIKeyboardTypeDefault;
    bool _secureTextEntry = false;
    UITextAutocorrectionType _autocorrectionType = UITextAutocorrectionTypeDefault;
    UITextAutocapitalizationType _autocapitalizationType = UITextAutocapitalizationTypeSentences;
    NSTextAlignment _textAlignment = NSTextAlignmentNatural;
};
