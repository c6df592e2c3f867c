#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/UIMenuElement.h>

using UIMenuOptions = NSUInteger;
inline constexpr UIMenuOptions UIMenuOptionsDisplayInline = 1 << 0;
inline constexpr UIMenuOptions UIMenuOptionsDestructive = 1 << 1;

// A menu: a title, an image, an identifier and its children, actions and
// menus, in order. A child menu shows as a group of its own within its parent.
class UIMenu : public UIMenuElement {
public:
    static Ref<UIMenu> menuWithTitle(const std::optional<std::string>& title,
                                     const Ref<UIImage>& image,
                                     const std::optional<std::string>& identifier,
                                     UIMenuOptions options,
                                     std::vector<Ref<UIMenuElement>> children);
    static Ref<UIMenu> menuWithChildren(std::vector<Ref<UIMenuElement>> children) {
        return menuWithTitle("", nullptr, std::nullopt, 0, std::move(children));
    }

    const std::string& identifier() const { return _identifier; }
    UIMenuOptions options() const { return _options; }
    const std::vector<Ref<UIMenuElement>>& children() const { return _children; }
    // The same menu with other children.
    Ref<UIMenu> menuByReplacingChildren(std::vector<Ref<UIMenuElement>> children) const;

private:
    std::string _identifier;
    UIMenuOptions _options = 0;
    std::vector<Ref<UIMenuElement>> _children;
};
