#include <UIKit/UIBarButtonItem.h>

Ref<UIBarButtonItem> UIBarButtonItem::initWithImage(const Ref<UIImage>& image,
                                                    UIBarButtonItemStyle style, Action action) {
    _image = image;
    _style = style;
    _action = std::move(action);
    return self<UIBarButtonItem>();
}

Ref<UIBarButtonItem> UIBarButtonItem::initWithTitle(const std::optional<std::string>& title,
                                                    UIBarButtonItemStyle style, Action action) {
    _title = title;
    _style = style;
    _action = std::move(action);
    return self<UIBarButtonItem>();
}

Ref<UIBarButtonItem> UIBarButtonItem::initWithImage(const Ref<UIImage>& image,
                                                    const Ref<UIMenu>& menu) {
    _image = image;
    _menu = menu;
    return self<UIBarButtonItem>();
}

Ref<UIBarButtonItem> UIBarButtonItem::initWithCustomView(const Ref<UIView>& view) {
    _customView = view;
    return self<UIBarButtonItem>();
}

void UIBarButtonItem::sendAction() {
    if (_action && _enabled) {
        Action action = _action;
        action(self<UIBarButtonItem>());
    }
}
