#include <UIKit/UIAlertAction.h>

#include <UIKit/UIControl.h>

Ref<UIAlertAction> UIAlertAction::actionWithTitle(const std::optional<std::string>& title,
                                                  UIAlertActionStyle style, Handler handler) {
    Ref<UIAlertAction> action = alloc<UIAlertAction>();
    action->_title = title;
    action->_style = style;
    action->_handler = std::move(handler);
    return action;
}

void UIAlertAction::setEnabled(bool enabled) {
    _enabled = enabled;
    if (Ref<UIControl> button = _button.lock()) {
        button->setEnabled(enabled);
    }
}
