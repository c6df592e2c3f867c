#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <UIKit/UIAlertAction.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIViewController.h>

enum UIAlertControllerStyle : NSInteger {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

// An alert or an action sheet: a title, a message, text fields (alerts only)
// and buttons in the order added. It is presented and dismissed like any view
// controller; a tap on a button dismisses it, then runs the button's handler.
class UIAlertController : public UIViewController {
public:
    using TextFieldConfiguration = std::function<void(const Ref<UITextField>& textField)>;

    static Ref<UIAlertController>
    alertControllerWithTitle(const std::optional<std::string>& title,
                             const std::optional<std::string>& message,
                             UIAlertControllerStyle preferredStyle);

    const std::optional<std::string>& message() const { return _message; }
    void setMessage(const std::optional<std::string>& message) { _message = message; }
    UIAlertControllerStyle preferredStyle() const { return _preferredStyle; }

    // Raises NSInternalInconsistencyException for a second cancel-style action.
    void addAction(const Ref<UIAlertAction>& action);
    const std::vector<Ref<UIAlertAction>>& actions() const { return _actions; }
    Ref<UIAlertAction> preferredAction() const { return _preferredAction; }
    // Raises NSInternalInconsistencyException for an action not among actions().
    void setPreferredAction(const Ref<UIAlertAction>& action);

    // Adds a field and runs the handler with it at once. Raises
    // NSInternalInconsistencyException on an action sheet.
    void addTextFieldWithConfigurationHandler(const TextFieldConfiguration& configurationHandler);
    const std::vector<Ref<UITextField>>& textFields() const { return _textFields; }

    // The user taps a button of the alert on screen: the alert is dismissed,
    // then the button's handler runs with it. Answers NO, doing nothing, when
    // the alert is not presented, there is no such button or it is disabled.
    bool tapActionAtIndex(size_t index);
    // The first button with this title.
    bool tapActionWithTitle(const std::string& title);

private:
    std::optional<std::string> _message;
    UIAlertControllerStyle _preferredStyle = UIAlertControllerStyleAlert;
    std::vector<Ref<UIAlertAction>> _actions;
    Ref<UIAlertAction> _preferredAction;
    std::vector<Ref<UITextField>> _textFields;
};
