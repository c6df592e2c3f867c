#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIViewController.h>

enum UIAlertControllerStyle : NSInteger {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

// An alert or an action sheet: a title, a message, text fields (alerts only)
// and buttons in the order added. Presented, it covers the screen, dimming
// the page, with a panel in the middle holding a label for the title and the
// message, a box for each text field and a real button for each action; a
// tap on a button dismisses the alert, then runs the action's handler. The
// first text field takes the keyboard when the alert appears.
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

    // The labels, made when the alert is first shown.
    Ref<UILabel> titleLabel() const { return _titleLabel; }
    Ref<UILabel> messageLabel() const { return _messageLabel; }

    void loadView() override;
    void viewDidAppear(bool animated) override;

    static constexpr CGFloat kWidth = 270;
    static constexpr CGFloat kButtonHeight = 44;
    static constexpr CGFloat kFieldHeight = 26;
    static constexpr CGFloat kPadding = 16;
    static constexpr CGFloat kCornerRadius = 14;
    // Under an alert, the page shows dimmed by black at this opacity.
    static constexpr CGFloat kDimming = 0.2;

private:
    std::optional<std::string> _message;
    UIAlertControllerStyle _preferredStyle = UIAlertControllerStyleAlert;
    std::vector<Ref<UIAlertAction>> _actions;
    Ref<UIAlertAction> _preferredAction;
    std::vector<Ref<UITextField>> _textFields;
    // Sent by a button of the alert.
    void actionButtonTapped(const Ref<UIButton>& button);
    void layoutPanel();

    Ref<UIView> _panel;
    Ref<UILabel> _titleLabel;
    Ref<UILabel> _messageLabel;
    std::vector<Ref<UIView>> _fieldBoxes;
    std::vector<Ref<UIView>> _separators;
    std::vector<Ref<UIButton>> _buttons;
};
