#include <UIKit/UINavigationItem.h>

#include <UIKit/UINavigationBar.h>

void UINavigationItem::setTitle(const std::optional<std::string>& title) {
    _title = title;
    itemDidChange();
}

void UINavigationItem::setTitleView(const Ref<UIView>& view) {
    _titleView = view;
    itemDidChange();
}

void UINavigationItem::setBackBarButtonItem(const Ref<UIBarButtonItem>& item) {
    _backBarButtonItem = item;
    itemDidChange();
}

void UINavigationItem::setBackButtonTitle(const std::optional<std::string>& title) {
    _backButtonTitle = title;
    itemDidChange();
}

void UINavigationItem::setHidesBackButton(bool hides) {
    _hidesBackButton = hides;
    itemDidChange();
}

void UINavigationItem::setLeftBarButtonItem(const Ref<UIBarButtonItem>& item) {
    _leftBarButtonItem = item;
    itemDidChange();
}

void UINavigationItem::setRightBarButtonItem(const Ref<UIBarButtonItem>& item) {
    _rightBarButtonItem = item;
    itemDidChange();
}

void UINavigationItem::itemDidChange() {
    if (Ref<UINavigationBar> bar = _bar.lock()) {
        bar->showItems();
    }
}
