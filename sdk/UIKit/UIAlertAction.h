#pragma once

#include <functional>
#include <optional>
#include <string>

#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

class UIControl;

enum UIAlertActionStyle : NSInteger {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

// A button of an alert: its title, its style and what it does when tapped.
class UIAlertAction : public NSObject {
public:
    using Handler = std::function<void(const Ref<UIAlertAction>& action)>;

    static Ref<UIAlertAction> actionWithTitle(const std::optional<std::string>& title,
                                              UIAlertActionStyle style, Handler handler);

    const std::optional<std::string>& title() const { return _title; }
    UIAlertActionStyle style() const { return _style; }
    bool isEnabled() const { return _enabled; }
    // The alert's button for the action follows.
    void setEnabled(bool enabled);
    // nil when the action only closes its alert.
    const Handler& handler() const { return _handler; }

private:
    friend class UIAlertController;

    std::optional<std::string> _title;
    UIAlertActionStyle _style = UIAlertActionStyleDefault;
    bool _enabled = true;
    Handler _handler;
    Weak<UIControl> _button;
};
