#include <render/SDKTextFieldLook.h>

#include <Foundation/Unicode.h>
#include <UIKit/UIColor.h>
#include <UIKit/UITextField.h>
#include <render/SDKViewPainter.h>

std::pair<std::string, SDKTextStyle> SDKTextFieldLook::shownText(const UITextField& field) {
    SDKTextStyle style;
    style.fontSize = field.font()->pointSize();
    style.weight = field.font()->weight();
    style.alignment = field.textAlignment();
    style.layoutDirection = field.effectiveUserInterfaceLayoutDirection();
    if (field.hasText()) {
        style.color = *UIColor::labelColor()->CGColor();
        if (field.isSecureTextEntry()) {
            std::string bullets;
            for (size_t offset = 0; offset < field.text().size();) {
                offset += Unicode::decode(field.text(), offset).size;
                bullets += "\u2022";
            }
            return {bullets, style};
        }
        return {field.text(), style};
    }
    style.color = *UIColor::tertiaryLabelColor()->CGColor();
    return {field.placeholder().value_or(""), style};
}

void SDKTextFieldLook::draw(const UITextField& field, SDKViewPainter& painter) const {
    const auto [text, style] = shownText(field);
    painter.text().drawText(text, style, field.bounds());
}

void SDKTextFieldLook::describeView(const UITextField& field,
                                    Value::Dictionary& description) const {
    // A secure field shows its bullets, never the text.
    description["text"] =
        field.isSecureTextEntry() && field.hasText() ? shownText(field).first : field.text();
    description["placeholder"] = field.placeholder();
    description["fontSize"] = field.font()->pointSize();
    if (field.isSecureTextEntry()) {
        description["secure"] = true;
    }
}
