#pragma once

#include <functional>
#include <optional>
#include <string>

#include <UIKit/UIMenuElement.h>

// An item of a menu: its title, image and identifier, and the handler that
// runs when the user chooses it, after the menu has closed.
class UIAction : public UIMenuElement {
public:
    using Handler = std::function<void(const Ref<UIAction>& action)>;

    // A nil identifier is given a unique one, as on the platform.
    static Ref<UIAction> actionWithTitle(const std::optional<std::string>& title,
                                         const Ref<UIImage>& image,
                                         const std::optional<std::string>& identifier,
                                         Handler handler);

    const std::string& identifier() const { return _identifier; }
    UIMenuElementAttributes attributes() const { return _attributes; }
    void setAttributes(UIMenuElementAttributes attributes) { _attributes = attributes; }
    const Handler& handler() const { return _handler; }

    // Runs the handler; what a menu does when the user chooses this action.
    void performWithSender();

private:
    std::string _identifier;
    UIMenuElementAttributes _attributes = 0;
    Handler _handler;
};
