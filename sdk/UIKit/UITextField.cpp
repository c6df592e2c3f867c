#include <UIKit/UITextField.h>

#include <Foundation/Unicode.h>

void UITextField::insertText(const std::string& text) {
    if (text == "\n") {
        sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
        return;
    }
    _text += text;
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::deleteBackward() {
    if (_text.empty()) {
        return;
    }
    size_t last = 0;
    for (size_t offset = 0; offset < _text.size();) {
        last = offset;
        offset += Unicode::decode(_text, offset).size;
    }
    _text.erase(last);
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::touchesEnded(const Ref<UITouch>& touch) {
    UIControl::touchesEnded(touch);
    if (isTouchInside()) {
        becomeFirstResponder();
    }
}

bool UITextField::becomeFirstResponder() {
    const bool wasEditing = isFirstResponder();
    if (!UIView::becomeFirstResponder()) {
        return false;
    }
    if (!wasEditing) {
        sendActionsForControlEvents(UIControlEventEditingDidBegin);
    }
    return true;
}

bool UITextField::resignFirstResponder() {
    const bool wasEditing = isFirstResponder();
    UIView::resignFirstResponder();
    if (wasEditing) {
        sendActionsForControlEvents(UIControlEventEditingDidEnd);
    }
    return true;
}
