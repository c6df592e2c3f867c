#include <UIKit/UIMenu.h>

#include <algorithm>
#include <atomic>

Ref<UIMenu> UIMenu::menuWithTitle(const std::optional<std::string>& title,
                                  const Ref<UIImage>& image,
                                  const std::optional<std::string>& identifier,
                                  UIMenuOptions options, std::vector<Ref<UIMenuElement>> children) {
    static std::atomic<unsigned long> made{0};
    Ref<UIMenu> menu = alloc<UIMenu>();
    menu->setElementTitle(title);
    menu->setElementImage(image);
    menu->_identifier =
        identifier ? *identifier : "com.apple.menu.dynamic." + std::to_string(++made);
    menu->_options = options;
    // A nil child is left out, as an array cannot hold one.
    std::erase(children, nullptr);
    menu->_children = std::move(children);
    return menu;
}

Ref<UIMenu> UIMenu::menuByReplacingChildren(std::vector<Ref<UIMenuElement>> children) const {
    return menuWithTitle(title(), image(), _identifier, _options, std::move(children));
}
