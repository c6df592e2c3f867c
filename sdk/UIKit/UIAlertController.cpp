#include <UIKit/UIAlertController.h>

#include <algorithm>

#include <Foundation/NSException.h>

Ref<UIAlertController>
UIAlertController::alertControllerWithTitle(const std::optional<std::string>& title,
                                            const std::optional<std::string>& message,
                                            UIAlertControllerStyle preferredStyle) {
    Ref<UIAlertController> alert = alloc<UIAlertController>();
    alert->init();
    alert->setTitle(title);
    alert->_message = message;
    alert->_preferredStyle = preferredStyle;
    return alert;
}

void UIAlertController::addAction(const Ref<UIAlertAction>& action) {
    if (!action) {
        return;
    }
    if (action->style() == UIAlertActionStyleCancel &&
        std::any_of(_actions.begin(), _actions.end(), [](const Ref<UIAlertAction>& other) {
            return other->style() == UIAlertActionStyleCancel;
        })) {
        throw NSException(
            NSInternalInconsistencyException,
            "UIAlertController can only have one action with a style of UIAlertActionStyleCancel");
    }
    _actions.push_back(action);
}

void UIAlertController::setPreferredAction(const Ref<UIAlertAction>& action) {
    if (action && std::find(_actions.begin(), _actions.end(), action) == _actions.end()) {
        throw NSException(NSInternalInconsistencyException,
                          "The preferredAction of an alert controller must be one of its actions");
    }
    _preferredAction = action;
}

void UIAlertController::addTextFieldWithConfigurationHandler(
    const TextFieldConfiguration& configurationHandler) {
    if (_preferredStyle != UIAlertControllerStyleAlert) {
        throw NSException(NSInternalInconsistencyException,
                          "Text fields can only be added to an alert controller of style "
                          "UIAlertControllerStyleAlert");
    }
    Ref<UITextField> field = alloc<UITextField>()->init();
    _textFields.push_back(field);
    if (configurationHandler) {
        configurationHandler(field);
    }
}

bool UIAlertController::tapActionAtIndex(size_t index) {
    if (!presentingViewController() || index >= _actions.size() || !_actions[index]->isEnabled()) {
        return false;
    }
    // The alert and its button outlive the dismissal, whoever else lets go of them.
    Ref<UIAlertController> alert = self<UIAlertController>();
    Ref<UIAlertAction> action = _actions[index];
    dismissViewControllerAnimated(true, [action] {
        if (action->handler()) {
            action->handler()(action);
        }
    });
    return true;
}

bool UIAlertController::tapActionWithTitle(const std::string& title) {
    for (size_t index = 0; index < _actions.size(); ++index) {
        if (_actions[index]->title() == title) {
            return tapActionAtIndex(index);
        }
    }
    return false;
}
