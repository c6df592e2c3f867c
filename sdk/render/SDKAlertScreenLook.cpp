#include <render/SDKAlertScreenLook.h>

#include <algorithm>

#include <render/SDKTextFieldLook.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr CGFloat kPadding = 16;
constexpr CGFloat kCornerRadius = 14;
const CGColor kPanel{0.95, 0.95, 0.95, 1};

const char* styleName(UIAlertActionStyle style) {
    switch (style) {
    case UIAlertActionStyleCancel:
        return "cancel";
    case UIAlertActionStyleDestructive:
        return "destructive";
    default:
        return "default";
    }
}

SDKTextStyle titleStyle() {
    SDKTextStyle style;
    style.weight = UIFont::Weight::Bold;
    style.alignment = NSTextAlignmentCenter;
    style.numberOfLines = 0;
    style.centresVertically = false;
    return style;
}

SDKTextStyle messageStyle() {
    SDKTextStyle style = titleStyle();
    style.fontSize = 13;
    style.weight = UIFont::Weight::Regular;
    return style;
}

SDKTextStyle buttonStyle(const UIAlertController& alert, const UIAlertAction& action) {
    SDKTextStyle style;
    style.alignment = NSTextAlignmentCenter;
    style.shrinksToFit = true;
    style.minimumScaleFactor = 0.7;
    const bool bold =
        action.style() == UIAlertActionStyleCancel || alert.preferredAction().get() == &action;
    style.weight = bold ? UIFont::Weight::Bold : UIFont::Weight::Regular;
    Ref<UIColor> color = !action.isEnabled() ? UIColor::tertiaryLabelColor()
                         : action.style() == UIAlertActionStyleDestructive
                             ? UIColor::systemRedColor()
                             : UIColor::systemBlueColor();
    style.color = *color->CGColor();
    return style;
}

} // namespace

bool SDKAlertScreenLook::matches(const UIViewController& controller) const {
    return dynamic_cast<const UIAlertController*>(&controller) != nullptr;
}

void SDKAlertScreenLook::draw(UIViewController& controller, SDKViewPainter& painter,
                              const CGRect& screen) const {
    auto& alert = dynamic_cast<UIAlertController&>(controller);
    SDKCanvas& canvas = painter.canvas();
    SDKTextPainter& text = painter.text();
    dim(painter, 0.2);

    const CGFloat textWidth = kWidth - 2 * kPadding;
    const std::string title = alert.title().value_or("");
    const std::string message = alert.message().value_or("");
    const CGFloat titleHeight =
        title.empty() ? 0 : text.measureText(title, titleStyle(), textWidth).height;
    const CGFloat messageHeight =
        message.empty() ? 0 : text.measureText(message, messageStyle(), textWidth).height;
    const auto& fields = alert.textFields();
    const auto& actions = alert.actions();
    const bool sideBySide = actions.size() == 2;
    const CGFloat buttonsHeight =
        actions.empty() ? 0
                        : kButtonHeight * (sideBySide ? 1 : static_cast<CGFloat>(actions.size()));
    CGFloat contentHeight = 20 + titleHeight + (messageHeight > 0 ? 2 + messageHeight : 0);
    contentHeight += fields.empty() ? 0 : 12 + fields.size() * kFieldHeight;
    contentHeight += 20;
    const CGFloat height = contentHeight + buttonsHeight;

    const CGRect panel = CGRectMake(
        CGRectGetMidX(screen) - kWidth / 2,
        std::max(screen.origin.y + 20, CGRectGetMidY(screen) - height / 2), kWidth, height);
    SDKCanvas::State state(canvas);
    canvas.clipToRoundedRect(panel, kCornerRadius);
    canvas.fillRect(panel, kPanel);

    CGFloat y = panel.origin.y + 20;
    if (!title.empty()) {
        text.drawText(title, titleStyle(),
                      CGRectMake(panel.origin.x + kPadding, y, textWidth, titleHeight));
        y += titleHeight;
    }
    if (!message.empty()) {
        y += 2;
        text.drawText(message, messageStyle(),
                      CGRectMake(panel.origin.x + kPadding, y, textWidth, messageHeight));
        y += messageHeight;
    }
    if (!fields.empty()) {
        y += 12;
        for (const Ref<UITextField>& field : fields) {
            const CGRect box = CGRectMake(panel.origin.x + kPadding, y, textWidth, kFieldHeight);
            canvas.fillRoundedRect(box, 6, CGColor{1, 1, 1, 1});
            canvas.fillInnerBorder(box, 6, canvas.hairline(),
                                   *UIColor::opaqueSeparatorColor()->CGColor());
            auto [shown, style] = SDKTextFieldLook::shownText(*field);
            style.fontSize = 13;
            text.drawText(
                shown, style,
                CGRectMake(box.origin.x + 6, box.origin.y, box.size.width - 12, box.size.height));
            y += kFieldHeight;
        }
    }
    y = panel.origin.y + contentHeight;
    const CGColor separator = *UIColor::separatorColor()->CGColor();
    for (size_t i = 0; i < actions.size(); ++i) {
        const CGFloat width = sideBySide ? kWidth / 2 : kWidth;
        const CGRect button =
            sideBySide ? CGRectMake(panel.origin.x + i * width, y, width, kButtonHeight)
                       : CGRectMake(panel.origin.x, y + i * kButtonHeight, width, kButtonHeight);
        canvas.fillRect(
            CGRectMake(button.origin.x, button.origin.y, button.size.width, canvas.hairline()),
            separator);
        if (sideBySide && i == 1) {
            canvas.fillRect(
                CGRectMake(button.origin.x, button.origin.y, canvas.hairline(), kButtonHeight),
                separator);
        }
        text.drawText(actions[i]->title().value_or(""), buttonStyle(alert, *actions[i]),
                      CGRectMake(button.origin.x + 8, button.origin.y, button.size.width - 16,
                                 kButtonHeight));
    }
}

void SDKAlertScreenLook::describe(UIViewController& controller,
                                  Value::Dictionary& description) const {
    auto& alert = dynamic_cast<UIAlertController&>(controller);
    description["kind"] =
        alert.preferredStyle() == UIAlertControllerStyleAlert ? "alert" : "actionSheet";
    description["title"] = alert.title();
    description["message"] = alert.message();
    Value::Array fields;
    for (const Ref<UITextField>& field : alert.textFields()) {
        fields.emplace_back(
            Value::Dictionary{{"text", field->text()}, {"placeholder", field->placeholder()}});
    }
    description["textFields"] = std::move(fields);
    Value::Array actions;
    for (const Ref<UIAlertAction>& action : alert.actions()) {
        actions.emplace_back(Value::Dictionary{{"title", action->title()},
                                               {"style", styleName(action->style())},
                                               {"enabled", action->isEnabled()},
                                               {"preferred", alert.preferredAction() == action}});
    }
    description["actions"] = std::move(actions);
}
