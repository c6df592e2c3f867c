#pragma once

#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <objc/NSObject.h>

class UINavigationBar;

// What a navigation bar shows for a controller on top of the stack: its
// title, the buttons at either side, and the item the next controller's back
// button shows for it (by default a back button with this item's title). A
// bar showing the item shows each change at once.
class UINavigationItem : public NSObject {
public:
    Ref<UINavigationItem> initWithTitle(const std::optional<std::string>& title) {
        _title = title;
        return self<UINavigationItem>();
    }

    const std::optional<std::string>& title() const { return _title; }
    void setTitle(const std::optional<std::string>& title);
    Ref<UIView> titleView() const { return _titleView; }
    void setTitleView(const Ref<UIView>& view);
    Ref<UIBarButtonItem> backBarButtonItem() const { return _backBarButtonItem; }
    void setBackBarButtonItem(const Ref<UIBarButtonItem>& item);
    // The back button's title when no back item is set; nil uses the title.
    const std::optional<std::string>& backButtonTitle() const { return _backButtonTitle; }
    void setBackButtonTitle(const std::optional<std::string>& title);
    bool hidesBackButton() const { return _hidesBackButton; }
    void setHidesBackButton(bool hides);
    Ref<UIBarButtonItem> leftBarButtonItem() const { return _leftBarButtonItem; }
    void setLeftBarButtonItem(const Ref<UIBarButtonItem>& item);
    Ref<UIBarButtonItem> rightBarButtonItem() const { return _rightBarButtonItem; }
    void setRightBarButtonItem(const Ref<UIBarButtonItem>& item);

private:
    friend class UINavigationBar;
    void itemDidChange();

    Weak<UINavigationBar> _bar;
    std::optional<std::string> _title;
    Ref<UIView> _titleView;
    Ref<UIBarButtonItem> _backBarButtonItem;
    std::optional<std::string> _backButtonTitle;
    bool _hidesBackButton = false;
    Ref<UIBarButtonItem> _leftBarButtonItem;
    Ref<UIBarButtonItem> _rightBarButtonItem;
};
