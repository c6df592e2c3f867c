#pragma once

#include <UIKit/UITextField.h>
#include <render/Forward.h>
#include <render/SDKTypedViewLook.h>

// A text field's text in its font, or its placeholder in the placeholder
// grey while it is empty, on one line centred vertically.
class SDKTextFieldLook : public SDKTypedViewLook<UITextField> {
public:
    // The text or placeholder shown and the style it is set in.
    static std::pair<std::string, SDKTextStyle> shownText(const UITextField& field);

protected:
    void draw(const UITextField& field, SDKViewPainter& painter) const override;
    void describeView(const UITextField& field, Value::Dictionary& description) const override;
};
