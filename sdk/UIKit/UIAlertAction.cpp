#include <UIKit/UIAlertAction.h>

Ref<UIAlertAction> UIAlertAction::actionWithTitle(const std::optional<std::string>& title,
                                                  UIAlertActionStyle style, Handler handler) {
    Ref<UIAlertAction> action = alloc<UIAlertAction>();
    action->_title = title;
    action->_style = style;
    action->_handler = std::move(handler);
    return action;
}
