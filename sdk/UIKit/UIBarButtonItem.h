#pragma once

#include <functional>
#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>
#include <objc/Forward.h>

enum UIBarButtonItemStyle : NSInteger {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

// A button in a navigation bar: an image or a title in a style, sending its
// action to its target (held weakly) when tapped, or opening its menu when it
// has one and no action; or a view of the caller's own. The bar makes the
// button's view and shows it.
class UIBarButtonItem : public NSObject {
public:
    using Action = std::function<void(const Ref<UIBarButtonItem>& sender)>;

    template <class Target>
    Ref<UIBarButtonItem> initWithImage(const Ref<UIImage>& image, UIBarButtonItemStyle style,
                                       const Ref<Target>& target,
                                       void (Target::*action)(const Ref<UIBarButtonItem>&)) {
        return initWithImage(image, style, bind(target, action));
    }
    template <class Target>
    Ref<UIBarButtonItem> initWithTitle(const std::optional<std::string>& title,
                                       UIBarButtonItemStyle style, const Ref<Target>& target,
                                       void (Target::*action)(const Ref<UIBarButtonItem>&)) {
        return initWithTitle(title, style, bind(target, action));
    }
    Ref<UIBarButtonItem> initWithImage(const Ref<UIImage>& image, UIBarButtonItemStyle style,
                                       Action action);
    Ref<UIBarButtonItem> initWithTitle(const std::optional<std::string>& title,
                                       UIBarButtonItemStyle style, Action action);
    // An item whose menu opens when it is tapped.
    Ref<UIBarButtonItem> initWithImage(const Ref<UIImage>& image, const Ref<UIMenu>& menu);
    Ref<UIBarButtonItem> initWithCustomView(const Ref<UIView>& view);

    const std::optional<std::string>& title() const { return _title; }
    void setTitle(const std::optional<std::string>& title) { _title = title; }
    Ref<UIImage> image() const { return _image; }
    void setImage(const Ref<UIImage>& image) { _image = image; }
    UIBarButtonItemStyle style() const { return _style; }
    void setStyle(UIBarButtonItemStyle style) { _style = style; }
    Ref<UIMenu> menu() const { return _menu; }
    void setMenu(const Ref<UIMenu>& menu) { _menu = menu; }
    Ref<UIView> customView() const { return _customView; }
    void setCustomView(const Ref<UIView>& view) { _customView = view; }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    Ref<UIColor> tintColor() const { return _tintColor; }
    void setTintColor(const Ref<UIColor>& color) { _tintColor = color; }
    bool hasAction() const { return static_cast<bool>(_action); }
    // Sends the action to its target, as a tap on the item's button does.
    void sendAction();

private:
    template <class Target>
    static Action bind(const Ref<Target>& target,
                       void (Target::*action)(const Ref<UIBarButtonItem>&)) {
        Weak<Target> weakTarget = target;
        return [weakTarget, action](const Ref<UIBarButtonItem>& sender) {
            if (Ref<Target> strong = weakTarget.lock()) {
                ((*strong).*action)(sender);
            }
        };
    }

    std::optional<std::string> _title;
    Ref<UIImage> _image;
    UIBarButtonItemStyle _style = UIBarButtonItemStylePlain;
    Ref<UIMenu> _menu;
    Ref<UIView> _customView;
    Ref<UIColor> _tintColor;
    bool _enabled = true;
    Action _action;
};
