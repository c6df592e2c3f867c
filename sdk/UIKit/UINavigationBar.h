#pragma once

#include <functional>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

// The bar at the top of a navigation controller's screen. It shows the top
// item of its stack: the title in the middle, the item's right button at the
// right, and at the left the item's left button or else a back button titled
// for the item below (with a chevron), which asks the bar's back handler to
// go back. Every button is a real button in the bar.
class UINavigationBar : public UIView {
public:
    Ref<UINavigationBar> initWithFrame(const CGRect& frame);
    Ref<UINavigationBar> init() { return initWithFrame(CGRectZero); }

    const std::vector<Ref<UINavigationItem>>& items() const { return _items; }
    void setItems(std::vector<Ref<UINavigationItem>> items);
    Ref<UINavigationItem> topItem() const { return _items.empty() ? nullptr : _items.back(); }
    Ref<UINavigationItem> backItem() const {
        return _items.size() < 2 ? nullptr : _items[_items.size() - 2];
    }
    // What a tap on the back button does; the navigation controller pops.
    void setBackHandler(std::function<void()> handler) { _backHandler = std::move(handler); }

    // The label showing the top item's title; nil when it has a title view.
    Ref<UILabel> titleLabel() const { return _titleLabel; }

    // Makes the views for the top item anew.
    void showItems();
    void layoutSubviews() override;

    static constexpr CGFloat kHeight = 44;
    // The gap between a bar button and the bar's edge.
    static constexpr CGFloat kMargin = 16;

private:
    // A button showing the item, or the item's own view.
    Ref<UIView> viewForItem(const Ref<UIBarButtonItem>& item);
    void backTapped();

    std::vector<Ref<UINavigationItem>> _items;
    std::function<void()> _backHandler;
    Ref<UILabel> _titleLabel;
    Ref<UIView> _titleView;
    Ref<UIButton> _backButton;
    Ref<UIView> _leftButton;
    Ref<UIView> _rightButton;
};
