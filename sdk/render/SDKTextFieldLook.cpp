#include <render/SDKTextFieldLook.h>

#include <render/SDKViewPainter.h>

std::pair<std::string, SDKTextStyle> SDKTextFieldLook::shownText(const UITextField& field) {
    SDKTextStyle style;
    style.fontSize = field.font()->pointSize();
    style.weight = field.font()->weight();
    if (field.hasText()) {
        style.color = *UIColor::labelColor()->CGColor();
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
    description["text"] = field.text();
    description["placeholder"] = field.placeholder();
    description["fontSize"] = field.font()->pointSize();
}
